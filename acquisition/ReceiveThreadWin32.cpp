#include "acquisition/ReceiveThread.h"

#include <windows.h>
#include <process.h>

#include <utility>

struct CReceiveThread::Native
{
    HANDLE handle;
};

namespace
{
unsigned __stdcall ThreadMain(void* body)
{
    (*static_cast<std::function<void()>*>(body))();
    return 1;
}
}

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
    const uintptr_t handle = _beginthreadex(nullptr, 0, ThreadMain, &m_body, CREATE_SUSPENDED, nullptr);
    if (handle == 0)
        return false;
    m_native.reset(new Native{reinterpret_cast<HANDLE>(handle)});
    ResumeThread(m_native->handle);
    return true;
}

void CReceiveThread::Join()
{
    if (!m_native)
        return;
    WaitForSingleObject(m_native->handle, INFINITE);
    CloseHandle(m_native->handle);
    m_native.reset();
}
