#include "acquisition/ReceiveThread.h"

void CReceiveThread::Stop()
{
    {
        const std::lock_guard<std::mutex> lock(m_wakeMutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    Join();
    m_stopping = false;
}

void CReceiveThread::Wait(std::chrono::milliseconds time)
{
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    m_wake.wait_for(lock, time, [this] { return m_stopping.load() || m_woken; });
    m_woken = false;
}

void CReceiveThread::Wake()
{
    {
        const std::lock_guard<std::mutex> lock(m_wakeMutex);
        m_woken = true;
    }
    m_wake.notify_all();
}

void CReceiveThread::WaitForStop()
{
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    m_wake.wait(lock, [this] { return m_stopping.load(); });
}
