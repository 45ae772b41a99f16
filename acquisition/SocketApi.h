#pragma once
#include "acquisition/SocketAddress.h"

#include <cstdint>
#include <string>

// The few stream-socket calls of the TCP link, behind one seam: Winsock in
// the Windows build, BSD sockets natively (so the link's receive loop runs
// under the sanitizers against real loopback connections).
namespace SocketApi
{
using Handle = std::intptr_t;
constexpr Handle kInvalid = -1;
constexpr uint16_t kInet = 2;                   // AF_INET on both systems
constexpr unsigned kWaitForever = 0xFFFFFFFFu;  // INFINITE
constexpr uint32_t kNoAddress = 0xFFFFFFFFu;    // INADDR_NONE

// Winsock 2.2 for the calling process (counted; natively nothing to do).
bool Startup();
void Cleanup();

Handle OpenStream();
void Close(Handle socket);
// Has the system probe an idle connection: after idleMs without traffic,
// then every intervalMs, ten probes in all; when none is answered (a
// gateway without power, a pulled cable) waits and receives fail.
bool EnableKeepAlive(Handle socket, unsigned idleMs, unsigned intervalMs);
// Ends both directions; a wait or receive on another thread then returns.
void Shutdown(Handle socket);
// Starts a connection without waiting for it: 1 connected, 0 under way
// (WaitConnected tells the outcome), -1 refused or failed.
int StartConnect(Handle socket, const SocketAddress& remote);
// 1 connected, 0 still under way after timeoutMs, -1 failed.
int WaitConnected(Handle socket, unsigned timeoutMs);
// 1 when readable, 0 on time-out, -1 when the wait failed.
int WaitReadable(Handle socket, unsigned timeoutMs);
// The receive's own result: bytes (> 0), 0 on orderly close, < 0 on error.
int Receive(Handle socket, char* buffer, int size);
bool PeerName(Handle socket, SocketAddress& peer);

// inet_addr: the dotted address in network order, or kNoAddress.
uint32_t DottedToAddress(const char* text);
// The first IPv4 address of a host name, in network order.
bool LookupHost(const char* name, uint32_t& address);
// The port of a service name (any protocol), in network order.
bool LookupService(const char* name, uint16_t& port);
// The local host's name, its official name when that resolves.
bool LocalHostName(std::string& name);

enum class Failure { InvalidParameter, InsufficientBuffer };
// Sets the thread's last error (Windows) or errno (natively).
void SetLastFailure(Failure failure);
}
