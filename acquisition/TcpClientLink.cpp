#include "acquisition/TcpClientLink.h"

#include "acquisition/LinkMessages.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

CTcpClientLink::CTcpClientLink(std::unique_ptr<CLinkSink> sink) : m_sink(std::move(sink))
{
}

CTcpClientLink::~CTcpClientLink()
{
    // The receive thread uses the members and the sink: end it while they
    // are still whole.
    Stop();
}

bool CTcpClientLink::StartReceiving()
{
    if (IsReceiving() || !IsOpen())
        return false;
    return m_thread.Start([this] { ReceiveLoop(); });
}

bool CTcpClientLink::StartConnecting(const std::string& host, const std::string& service, bool retry)
{
    if (IsReceiving() || IsOpen())
        return false;
    m_host = host;
    m_service = service;
    m_retry = retry;
    return m_thread.Start([this] { ConnectLoop(); });
}

void CTcpClientLink::Stop()
{
    // Every wait of the receive thread is at most 100 ms long.
    m_thread.Stop();
    Close();
}

void CTcpClientLink::ConnectLoop()
{
    bool firstAttempt = true;
    while (!m_thread.Stopping())
    {
        if (Connect(m_host.c_str(), m_service.c_str(), &m_thread.StopFlag()))
        {
            OnLinkEvent(kLinkEventConnected);
            ReceiveLoop();
        }
        else if (firstAttempt && !m_thread.Stopping())
        {
            OnLinkEvent(kLinkEventConnectFailed);
        }
        firstAttempt = false;
        if (!m_retry)
            return;
        Close();
        WaitBeforeRetry();
    }
}

void CTcpClientLink::WaitBeforeRetry()
{
    m_thread.Wait(std::chrono::milliseconds(m_retryIntervalMs));
}

std::string CTcpClientLink::StatusLine(int code) const
{
    switch (code)
    {
    case kLinkEventConnected:
        return "Connection established with server: " + m_host + " on port " + m_service + "\r\n";
    case kLinkEventConnectionLost:
        return "Connection Abandonned\r\n";
    case kLinkEventConnectFailed:
        return " -> failed !!!";
    default:
        return std::string();
    }
}

void CTcpClientLink::OnFrame(const char* text, int length)
{
    if (m_sink)
        m_sink->OnFrame(text, length, m_peer);
    else
        DeliverFrame(text, length);
}

void CTcpClientLink::OnLinkEvent(int code)
{
    if (m_sink)
        m_sink->OnLinkEvent(code);
    else
        ReportEventToWindows(code);
}

void CTcpClientLink::DeliverFrame(const char* text, int length)
{
    char frame[kMaxFrameText + 1] = {};
    const int kept = std::min(length, kMaxFrameText);
    std::memcpy(frame, text, static_cast<size_t>(kept));
    SendFrameToWindow(frame, kept);
}

void CTcpClientLink::ReceiveLoop()
{
    GetPeerAddress(m_peer);
    m_connected = true;
    // The unfinished frame of an earlier connection would be joined to the
    // first bytes of this one: a frame that was never sent.
    m_ring.Clear();
    m_extractor.Reset();
    while (!m_thread.Stopping())
    {
        if (ReceiveChunk(100) < 0)
        {
            m_connected = false;
            if (!m_thread.Stopping())
                OnLinkEvent(kLinkEventConnectionLost);
            return;
        }
        std::this_thread::yield();
    }
    DeliverWhatHasArrived();
    m_connected = false;
}

// The instrument counts a frame as sent once the station's system has it:
// the frames already there are taken before the link closes.  Bounded, for
// an instrument that never pauses.
void CTcpClientLink::DeliverWhatHasArrived()
{
    for (int chunk = 0; chunk < kMaxChunksAtStop && ReceiveChunk(0) > 0; ++chunk)
    {
    }
}

int CTcpClientLink::ReceiveChunk(unsigned timeoutMs)
{
    // Never more than the ring can take whole: what does not fit stays
    // with TCP until the frames held have been cut out.
    const int room = std::min(kReceiveBufferSize, m_ring.FreeSpace() - 1);
    const int received = ReadChunk(m_receiveBuffer, room, timeoutMs);
    if (received > 0)
    {
        m_ring.Append(m_receiveBuffer, received);
        m_extractor.ExtractFrames(m_ring, [this](const char* text, int length) { OnFrame(text, length); });
    }
    return received;
}
