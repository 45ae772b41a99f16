#pragma once
#include "acquisition/ReceiveThread.h"
#include "acquisition/SocketAddress.h"
#include "acquisition/SocketApi.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

// A TCP client connection with a receive thread of its own.  Open while it
// holds a socket, receiving while a receive thread exists (also after the
// thread has ended on a lost connection, until Stop).
class CSocketLinkBase
{
public:
    CSocketLinkBase();
    virtual ~CSocketLinkBase();
    CSocketLinkBase(const CSocketLinkBase&) = delete;
    CSocketLinkBase& operator=(const CSocketLinkBase&) = delete;

    // Opens a stream socket and connects it (blocking); false when open
    // already or when any step fails.
    bool Connect(const char* host, const char* service);
    // Runs ReceiveLoop on a new thread; false unless connected and idle.
    bool StartReceiving();
    // Ends the receive thread, which finishes by itself, and closes.
    void Stop();
    bool IsOpen() const { return m_socket != SocketApi::kInvalid; }
    bool IsReceiving() const { return m_thread.Exists(); }
    bool GetPeerAddress(SocketAddress& address) const;

    // Bytes received (> 0); 0 when nothing came within the time-out or the
    // wait failed; -1 when the peer closed or the receive failed.
    int ReadChunk(char* buffer, int size, unsigned timeoutMs);

    virtual void OnFrame(const char* text, int length, const SocketAddress& sender);
    virtual void OnLinkEvent(int code);
    virtual void ReceiveLoop();

    // A dotted address or a host name (null: this host) in host byte
    // order; 255.255.255.255 when nothing resolves.
    static uint32_t ResolveHost(const char* host);
    // A port number or a service name; 0 for an unknown service.
    static uint16_t ResolveService(const char* service);
    static bool GetLocalHostName(char* buffer, size_t size);
    // True when the address or the port is non-zero.
    static bool MakeAddress(SocketAddress& address, const char* host, const char* service,
                            uint16_t family);

protected:
    // Set while Stop waits for the receive thread.
    bool IsStopping() const { return m_stopping.load(); }

private:
    // Written only while no receive thread runs.
    SocketApi::Handle m_socket;
    CReceiveThread m_thread;
    std::atomic<bool> m_stopping{false};
};
