#pragma once
#include <functional>
#include <memory>

// The TCP link's receive thread.  Waiting for its end never blocks the
// waiting thread's windows: on Windows the wait keeps handling messages
// sent to that thread, so a frame the thread is delivering to one of its
// windows is handled and the thread ends by itself.
class CReceiveThread
{
public:
    CReceiveThread();
    ~CReceiveThread();
    CReceiveThread(const CReceiveThread&) = delete;
    CReceiveThread& operator=(const CReceiveThread&) = delete;

    // False when a thread exists already or could not be created.
    bool Start(std::function<void()> body);
    // True from Start until Join, even after the body has returned.
    bool Exists() const { return m_native != nullptr; }
    // Waits for the body to return and releases the thread.
    void Join();

private:
    struct Native;
    std::unique_ptr<Native> m_native;
    std::function<void()> m_body;
};
