#pragma once
#include "acquisition/SocketAddress.h"
#include "acquisition/SocketApi.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

// A TCP client connection: its socket and the address helpers.  Open while
// it holds a socket.  It runs no thread, so nothing of a derived object is
// ever called after that object has gone.
class CSocketLinkBase
{
public:
    CSocketLinkBase();
    virtual ~CSocketLinkBase();
    CSocketLinkBase(const CSocketLinkBase&) = delete;
    CSocketLinkBase& operator=(const CSocketLinkBase&) = delete;

    // Opens a stream socket and connects it, waiting until the system has
    // connected or given up, or until `cancel` (when given) turns true;
    // false when open already or when any step fails or is cancelled.
    bool Connect(const char* host, const char* service, const std::atomic<bool>* cancel = nullptr);
    // How soon a connection that has gone silent without closing is found
    // dead: idle time before the first probe, then the time between ten
    // probes (the defaults: about a minute).
    void SetKeepAlive(unsigned idleMs, unsigned intervalMs);
    bool IsOpen() const { return m_socket != SocketApi::kInvalid; }
    bool GetPeerAddress(SocketAddress& address) const;

    // Bytes received (> 0); 0 when nothing came within the time-out; -1
    // when the peer closed, the wait or the receive failed, or keep-alive
    // found the connection dead.
    int ReadChunk(char* buffer, int size, unsigned timeoutMs);

    // A dotted address or a host name (null: this host) in host byte
    // order; 255.255.255.255 when nothing resolves.
    static uint32_t ResolveHost(const char* host);
    // ResolveHost on a thread of its own, so that `cancel` turning true
    // ends the wait for a slow name server at once.
    static uint32_t ResolveHost(const char* host, const std::atomic<bool>* cancel);
    // A port number or a service name; 0 for an unknown service.
    static uint16_t ResolveService(const char* service);
    static bool GetLocalHostName(char* buffer, size_t size);
    // True when the address or the port is non-zero; a look-up of the host
    // name gives up when `cancel` (when given) turns true.
    static bool MakeAddress(SocketAddress& address, const char* host, const char* service,
                            uint16_t family, const std::atomic<bool>* cancel = nullptr);

protected:
    void Close();

private:
    static bool ConnectSocket(SocketApi::Handle socket, const SocketAddress& remote,
                              const std::atomic<bool>* cancel);

    // Written by whichever thread connects; read by the owner's IsOpen.
    std::atomic<SocketApi::Handle> m_socket;
    unsigned m_keepAliveIdleMs = 20000;
    unsigned m_keepAliveIntervalMs = 4000;
};
