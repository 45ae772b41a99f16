#pragma once
#include <windows.h>

#include <functional>

// A thread that runs one body until asked to stop.  The body gets the stop
// event and should return soon after it is set.  Stopping waits for the
// thread while still answering messages sent to this thread's windows, so a
// body blocked in SendMessage to one of them cannot deadlock the stop.
class CWorkerThread
{
public:
    using Body = std::function<void(HANDLE stopEvent)>;

    CWorkerThread();
    virtual ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // False when a thread is already running or could not be created.
    bool Start(Body body);
    // True when the thread has ended (or none ran) within the timeout.
    bool Stop(DWORD timeoutMs = INFINITE);
    bool IsRunning() const;

    // Waits for `handle` and dispatches messages sent to this thread
    // meanwhile; WAIT_OBJECT_0 or WAIT_TIMEOUT (WAIT_FAILED on error).
    static DWORD WaitDispatchingSentMessages(HANDLE handle, DWORD timeoutMs);

private:
    static DWORD WINAPI ThreadMain(void* parameter);

    HANDLE m_stopEvent;
    HANDLE m_thread = nullptr;
    Body m_body;
};
