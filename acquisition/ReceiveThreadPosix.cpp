#include "acquisition/ReceiveThread.h"

#include <system_error>
#include <thread>
#include <utility>

struct CReceiveThread::Native
{
    std::thread thread;
};

// Defined here, where Native is complete.
CReceiveThread::CReceiveThread() = default;

CReceiveThread::~CReceiveThread()
{
    Stop();
}

bool CReceiveThread::Start(std::function<void()> body)
{
    if (m_native)
        return false;
    m_body = std::move(body);
    auto native = std::make_unique<Native>();
    try
    {
        native->thread = std::thread(m_body);
    }
    catch (const std::system_error&)
    {
        return false;
    }
    m_native = std::move(native);
    return true;
}

void CReceiveThread::Join()
{
    if (!m_native)
        return;
    m_native->thread.join();
    m_native.reset();
}
