#pragma once
#include "acquisition/ReceiveThread.h"

#include <chrono>
#include <string>

class CSerialLink;

// Takes a serial receiver's frames and events on its thread.
class ISerialSink
{
public:
    enum class Event
    {
        Lost,      // the port has gone (its USB adapter unplugged) and was closed
        Reopened,  // a port that had gone, or had not opened, is open again
    };

    virtual ~ISerialSink() = default;
    virtual void OnSerialFrame(const std::string& frame) = 0;
    virtual void OnSerialEvent(Event event) = 0;
};

// Reads the frames of a serial link on a thread of its own.  While the
// port is open it polls it; a port whose reads fail, or whose name no
// longer opens, is closed and reported once.  With reopening wanted a
// closed port is opened again, quietly, at most once a second; without,
// the thread sleeps until Stop.  While the receiver runs it alone opens
// and closes the port.
class CSerialReceiver final
{
public:
    static constexpr std::chrono::milliseconds kRetryInterval{1000};

    CSerialReceiver(CSerialLink& link, ISerialSink& sink);
    ~CSerialReceiver();
    CSerialReceiver(const CSerialReceiver&) = delete;
    CSerialReceiver& operator=(const CSerialReceiver&) = delete;

    // False when already running.
    bool Start(bool reopen);
    // Ends the thread, also in the middle of a read (a read waits at most
    // about 60 ms) or of a wait before the next attempt.
    void Stop();
    bool IsRunning() const { return m_thread.Exists(); }

private:
    void Run();
    bool PortVanished();
    void CloseVanishedPort();
    void ReopenPort();
    // Waits a retry interval, or until Stop; without reopening, until Stop.
    void WaitWhileClosed();

    CSerialLink& m_link;
    ISerialSink& m_sink;
    bool m_reopen = false;
    std::chrono::steady_clock::time_point m_lastCheck{};
    CReceiveThread m_thread;
};
