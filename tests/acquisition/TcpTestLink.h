#pragma once
#include "acquisition/TcpClientLink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

// A TCP link whose frames and events are collected instead of going to a
// window, with bounded waits for them.
class CTcpTestLink : public CTcpClientLink
{
public:
    void OnFrame(const char* text, int length, const SocketAddress&) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.emplace_back(text, static_cast<size_t>(length));
        m_changed.notify_all();
    }

    void OnLinkEvent(int code) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(code);
        m_changed.notify_all();
    }

    bool WaitForFrames(size_t count, int seconds = 10)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(seconds),
                                  [&] { return m_frames.size() >= count; });
    }

    bool WaitForEvent(int seconds = 10)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(seconds), [&] { return !m_events.empty(); });
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

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_frames;
    std::vector<int> m_events;
};
