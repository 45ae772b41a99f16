#include "framework/WorkerThread.h"

#include <utility>

CWorkerThread::CWorkerThread() : m_stopEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CWorkerThread::~CWorkerThread()
{
    Stop();
    if (m_stopEvent)
        ::CloseHandle(m_stopEvent);
}

bool CWorkerThread::Start(Body body)
{
    if (m_thread || !m_stopEvent)
        return false;
    ::ResetEvent(m_stopEvent);
    m_body = std::move(body);
    m_thread = ::CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    return m_thread != nullptr;
}

bool CWorkerThread::Stop(DWORD timeoutMs)
{
    if (!m_thread)
        return true;
    ::SetEvent(m_stopEvent);
    if (WaitDispatchingSentMessages(m_thread, timeoutMs) != WAIT_OBJECT_0)
        return false;
    ::CloseHandle(m_thread);
    m_thread = nullptr;
    return true;
}

bool CWorkerThread::IsRunning() const
{
    return m_thread && ::WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

DWORD WINAPI CWorkerThread::ThreadMain(void* parameter)
{
    auto* self = static_cast<CWorkerThread*>(parameter);
    self->m_body(self->m_stopEvent);
    return 0;
}

DWORD CWorkerThread::WaitDispatchingSentMessages(HANDLE handle, DWORD timeoutMs)
{
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        DWORD remaining = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG elapsed = ::GetTickCount64() - start;
            remaining = elapsed >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - elapsed);
        }
        // MWMO_INPUTAVAILABLE: a message sent before this wait began (and
        // already seen by a queue-status check) must wake it too.
        const DWORD status = ::MsgWaitForMultipleObjectsEx(1, &handle, remaining, QS_SENDMESSAGE,
                                                           MWMO_INPUTAVAILABLE);
        if (status != WAIT_OBJECT_0 + 1)
            return status;
        MSG message;
        // Peeking delivers the messages sent to this thread; nothing is removed.
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
