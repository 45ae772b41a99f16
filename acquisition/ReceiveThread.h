#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// The thread of a link: it runs one body, which looks at Stopping() and
// whose waits end at once when asked to stop.  The body never waits for
// the thread that stops it (it only posts to windows), so Stop returns
// within one of the body's waits.
class CReceiveThread
{
public:
    CReceiveThread();
    ~CReceiveThread();
    CReceiveThread(const CReceiveThread&) = delete;
    CReceiveThread& operator=(const CReceiveThread&) = delete;

    // False when a thread exists already or could not be created.
    bool Start(std::function<void()> body);
    // True from Start until Stop, even after the body has returned.
    bool Exists() const { return m_native != nullptr; }
    // Asks the body to stop, wakes its wait, waits for it to return and
    // releases the thread; the next Start begins unstopped.
    void Stop();

    // For the body: true once Stop has been called.
    bool Stopping() const { return m_stopping; }
    const std::atomic<bool>& StopFlag() const { return m_stopping; }
    // For the body: waits the time, or until Stop or Wake.
    void Wait(std::chrono::milliseconds time);
    // Ends the body's current or next Wait early (there is new work).
    void Wake();
    // For the body: waits until Stop.
    void WaitForStop();

private:
    void Join();

    struct Native;
    std::unique_ptr<Native> m_native;
    std::function<void()> m_body;
    std::atomic<bool> m_stopping{false};
    bool m_woken = false;
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
};
