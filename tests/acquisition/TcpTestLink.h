#pragma once
#include "acquisition/TcpClientLink.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Collects a TCP link's frames and events, with bounded waits for them.
class CLinkRecorder : public CLinkSink
{
public:
    void OnFrames(std::vector<std::string>& frames, const SocketAddress&) override
    {
        delivering = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.insert(m_frames.end(), frames.begin(), frames.end());
        m_changed.notify_all();
    }

    void OnLinkEvent(int code, const std::string&) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(code);
        m_changed.notify_all();
    }

    // True once `frames` frames and `events` events have come.
    bool WaitFor(size_t frames, size_t events = 0, int seconds = 10)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(seconds),
                                  [&] { return m_frames.size() >= frames && m_events.size() >= events; });
    }

    std::vector<std::string> Frames()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }

    std::vector<int> Events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }

    std::atomic<bool> delivering{false};
    int delayMs = 0;  // set before the first frame: a sink slow to take frames

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_frames;
    std::vector<int> m_events;
};

// A TCP link whose frames and events go to a recorder.
class CTcpTestLink
{
public:
    CTcpClientLink* operator->() { return &m_link; }

    CLinkRecorder recorder;

private:
    CTcpClientLink m_link{recorder};
};
