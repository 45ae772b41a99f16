#pragma once
#include "acquisition/ByteRing.h"
#include "acquisition/FrameExtractor.h"
#include "acquisition/LinkSink.h"
#include "acquisition/ReceiveThread.h"
#include "acquisition/SocketLinkBase.h"

#include <atomic>
#include <string>
#include <vector>

// The link to an instrument that serves its result frames on a TCP port.
// The receive thread cuts the stream into frames and hands the frames of
// each read to its sink together, and reports connections made and lost.
// Nothing is ever sent to the instrument.  Started with StartConnecting, the link connects on its
// own thread, and may connect again by itself after a failed attempt or a
// lost connection.
//
// Receiving while a receive thread exists (also after the thread has ended
// on a lost connection, until Stop).  The thread calls nothing but this
// object's own members and its sink; the destructor ends the thread before
// any member goes, and no derived class can add anything for it to call.
class CTcpClientLink final : public CSocketLinkBase
{
public:
    // A longer frame is cut to its first kMaxFrameText characters.
    static constexpr int kMaxFrameText = 259;
    static constexpr int kReceiveBufferSize = 2048;
    static constexpr unsigned kRetryIntervalMs = 5000;
    static constexpr int kMaxChunksAtStop = 64;

    explicit CTcpClientLink(CLinkSink& sink);
    ~CTcpClientLink() override;

    // Runs the receive loop on a new thread; false unless connected and idle.
    bool StartReceiving();
    // Connects and receives on a new thread, which reports each connection
    // made, each loss and the first failed attempt if it comes before any
    // connection (later ones would only repeat the loss).  With
    // `retry` it tries again every retry interval after a failure or a loss
    // until Stop; without, it ends after one attempt or at the loss.  False
    // unless closed and idle.
    bool StartConnecting(const std::string& host, const std::string& service, bool retry);
    void SetRetryInterval(unsigned ms) { m_retryIntervalMs = ms; }
    // Ends the receive thread, also in the middle of a connection attempt
    // or a wait before the next one, and closes; the complete frames that
    // have already arrived are delivered first.
    void Stop();
    bool IsReceiving() const { return m_thread.Exists(); }
    // True while a connection is up and read: not after its loss.
    bool IsConnected() const { return m_connected; }

private:
    // The list line of a link event; empty for an unknown code.
    std::string StatusLine(int code) const;
    void ReportEvent(int code);
    void ConnectLoop();
    void WaitBeforeRetry();
    void ReceiveLoop();
    void DeliverWhatHasArrived();
    // Reads what has come within the time-out and delivers the frames it
    // completes; ReadChunk's result.
    int ReceiveChunk(unsigned timeoutMs);

    CLinkSink& m_sink;
    CByteRing m_ring;
    CFrameExtractor m_extractor;
    SocketAddress m_peer;
    char m_receiveBuffer[kReceiveBufferSize] = {};
    std::vector<std::string> m_frames;
    std::string m_host;
    std::string m_service;
    bool m_retry = false;
    unsigned m_retryIntervalMs = kRetryIntervalMs;
    std::atomic<bool> m_connected{false};
    CReceiveThread m_thread;
};
