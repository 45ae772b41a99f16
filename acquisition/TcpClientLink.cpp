#include "acquisition/TcpClientLink.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

CTcpClientLink::CTcpClientLink(CLinkSink& sink) : m_sink(sink)
{
}

CTcpClientLink::~CTcpClientLink()
{
    // The receive thread uses the members: end it while they are whole.
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
            ReportEvent(kLinkEventConnected);
            ReceiveLoop();
        }
        else if (firstAttempt && !m_thread.Stopping())
        {
            ReportEvent(kLinkEventConnectFailed);
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

void CTcpClientLink::ReportEvent(int code)
{
    m_sink.OnLinkEvent(code, StatusLine(code));
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
                ReportEvent(kLinkEventConnectionLost);
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
    if (received <= 0)
        return received;
    m_ring.Append(m_receiveBuffer, received);
    m_frames.clear();
    m_extractor.ExtractFrames(m_ring, [this](const char* text, int length) {
        m_frames.emplace_back(text, static_cast<size_t>(std::min(length, kMaxFrameText)));
    });
    if (!m_frames.empty())
        m_sink.OnFrames(m_frames, m_peer);
    return received;
}
