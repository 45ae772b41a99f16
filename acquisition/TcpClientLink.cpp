#include "acquisition/TcpClientLink.h"

#include "acquisition/LinkMessages.h"

#include <algorithm>
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

void CTcpClientLink::Stop()
{
    m_stopping = true;
    Shutdown();
    m_thread.Join();
    Close();
    m_stopping = false;
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
    // The unfinished frame of an earlier connection would be joined to the
    // first bytes of this one: a frame that was never sent.
    m_ring.Clear();
    m_extractor.Reset();
    const auto onFrame = [this](const char* text, int length) { OnFrame(text, length); };
    while (!m_stopping)
    {
        // Never more than the ring can take whole: what does not fit stays
        // with TCP until the frames held have been cut out.
        const int room = std::min(kReceiveBufferSize, m_ring.FreeSpace() - 1);
        const int received = ReadChunk(m_receiveBuffer, room, 100);
        if (received < 0)
        {
            if (!m_stopping)
                OnLinkEvent(kLinkEventConnectionLost);
            return;
        }
        if (received > 0)
        {
            m_ring.Append(m_receiveBuffer, received);
            m_extractor.ExtractFrames(m_ring, onFrame);
        }
        std::this_thread::yield();
    }
}
