#pragma once
#include "acquisition/ByteRing.h"
#include "acquisition/FrameExtractor.h"
#include "acquisition/LinkSink.h"
#include "acquisition/ReceiveThread.h"
#include "acquisition/SocketLinkBase.h"

#include <atomic>
#include <memory>

// The link to an instrument that serves its result frames on a TCP port.
// The receive thread cuts the stream into frames and hands each one to the
// frame window synchronously (WM_LINK_FRAME); a lost connection is shown in
// the status list and posted as WM_LINK_EVENT.  Nothing is ever sent to
// the instrument, and the link never reconnects by itself.
//
// Receiving while a receive thread exists (also after the thread has ended
// on a lost connection, until Stop).  The thread calls nothing but this
// object's own members and its sink; the destructor ends the thread before
// any of them goes, and no derived class can add anything for it to call.
class CTcpClientLink final : public CSocketLinkBase
{
public:
    // An HWND on Windows; the portable code only passes it on.
    using WindowHandle = void*;
    static constexpr int kMaxFrameText = 259;
    static constexpr int kReceiveBufferSize = 2048;

    // With a sink, frames and events go to the sink instead of the windows.
    explicit CTcpClientLink(std::unique_ptr<CLinkSink> sink = nullptr);
    ~CTcpClientLink() override;

    void SetStatusList(WindowHandle listBox) { m_statusList = listBox; }
    void SetFrameWindow(WindowHandle window) { m_frameWindow = window; }

    // Runs the receive loop on a new thread; false unless connected and idle.
    bool StartReceiving();
    // Ends the receive thread, which finishes by itself, and closes.
    void Stop();
    bool IsReceiving() const { return m_thread.Exists(); }

private:
    void ReceiveLoop();
    void OnFrame(const char* text, int length);
    void OnLinkEvent(int code);
    // Sends the frame, cut to kMaxFrameText characters, to the frame window
    // and returns once the window has handled it.
    void DeliverFrame(const char* text, int length);
    void SendFrameToWindow(const char* text, int length);
    void ReportEventToWindows(int code);

    std::unique_ptr<CLinkSink> m_sink;
    WindowHandle m_statusList = nullptr;
    WindowHandle m_frameWindow = nullptr;
    CByteRing m_ring;
    CFrameExtractor m_extractor;
    SocketAddress m_peer;
    char m_receiveBuffer[kReceiveBufferSize] = {};
    // Set while Stop waits for the receive thread.
    std::atomic<bool> m_stopping{false};
    CReceiveThread m_thread;
};
