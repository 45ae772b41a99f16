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

// Waits for the thread and delivers the messages sent to this thread
// meanwhile: a thread that sends to one of this thread's windows (a frame,
// a list line) is answered and ends by itself.
void WaitDispatchingSentMessages(HANDLE thread)
{
    // MWMO_INPUTAVAILABLE: a message sent before this wait began (and
    // already seen by a queue-status check) must wake it too.
    while (::MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        // Peeking delivers the messages sent to this thread; nothing is removed.
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
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
    WaitDispatchingSentMessages(m_native->handle);
    // A message handled during the wait may have stopped the thread itself.
    if (!m_native)
        return;
    CloseHandle(m_native->handle);
    m_native.reset();
}
