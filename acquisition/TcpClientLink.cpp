#include "acquisition/TcpClientLink.h"

#include "acquisition/LinkMessages.h"

#include <algorithm>
#include <cstring>
#include <thread>

CTcpClientLink::~CTcpClientLink()
{
    // The receive thread runs this object's ReceiveLoop: end it while the
    // object is still whole.
    Stop();
}

void CTcpClientLink::OnFrame(const char* text, int length, const SocketAddress&)
{
    DeliverFrame(text, length);
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
    const auto onFrame = [this](const char* text, int length) { OnFrame(text, length, m_peer); };
    while (!IsStopping())
    {
        // Never more than the ring can take whole: what does not fit stays
        // with TCP until the frames held have been cut out.
        const int room = std::min(kReceiveBufferSize, m_ring.FreeSpace() - 1);
        const int received = ReadChunk(m_receiveBuffer, room, 100);
        if (received < 0)
        {
            if (!IsStopping())
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
