#pragma once
#include "acquisition/ByteRing.h"
#include "acquisition/FrameExtractor.h"
#include "acquisition/SocketLinkBase.h"

// The link to an instrument that serves its result frames on a TCP port.
// The receive thread cuts the stream into frames and hands each one to the
// frame window synchronously (WM_LINK_FRAME); a lost connection is shown in
// the status list and posted as WM_LINK_EVENT.  Nothing is ever sent to
// the instrument, and the link never reconnects by itself.
class CTcpClientLink : public CSocketLinkBase
{
public:
    // An HWND on Windows; the portable code only passes it on.
    using WindowHandle = void*;
    static constexpr int kMaxFrameText = 259;
    static constexpr int kReceiveBufferSize = 2048;

    CTcpClientLink() = default;
    ~CTcpClientLink() override;

    void SetStatusList(WindowHandle listBox) { m_statusList = listBox; }
    void SetFrameWindow(WindowHandle window) { m_frameWindow = window; }

    void OnFrame(const char* text, int length, const SocketAddress& sender) override;
    void OnLinkEvent(int code) override;
    void ReceiveLoop() override;

protected:
    // Sends the frame, cut to kMaxFrameText characters, to the frame window
    // and returns once the window has handled it.
    void DeliverFrame(const char* text, int length);

private:
    void SendFrameToWindow(const char* text, int length);

    WindowHandle m_statusList = nullptr;
    WindowHandle m_frameWindow = nullptr;
    CByteRing m_ring;
    CFrameExtractor m_extractor;
    SocketAddress m_peer;
    char m_receiveBuffer[kReceiveBufferSize] = {};
};
