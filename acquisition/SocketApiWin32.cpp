#include "acquisition/SocketApi.h"

#include <winsock2.h>
#include <mstcpip.h>
#include <windows.h>

#include <cstring>

namespace SocketApi
{
namespace
{
SOCKET Sock(Handle socket)
{
    return static_cast<SOCKET>(socket);
}

sockaddr_in ToSystem(const SocketAddress& address)
{
    sockaddr_in system{};
    std::memcpy(&system, &address, sizeof system);
    return system;
}
}

bool Startup()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void Cleanup()
{
    WSACleanup();
}

Handle OpenStream()
{
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    return socket == INVALID_SOCKET ? kInvalid : static_cast<Handle>(socket);
}

void Close(Handle socket)
{
    closesocket(Sock(socket));
}

// Windows sends ten probes, a number it does not let a program change.
bool EnableKeepAlive(Handle socket, unsigned idleMs, unsigned intervalMs)
{
    tcp_keepalive values{1, idleMs, intervalMs};
    DWORD returned = 0;
    return WSAIoctl(Sock(socket), SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned,
                    nullptr, nullptr) == 0;
}

void Shutdown(Handle socket)
{
    shutdown(Sock(socket), SD_BOTH);
}

int StartConnect(Handle socket, const SocketAddress& remote)
{
    u_long nonBlocking = 1;
    ioctlsocket(Sock(socket), FIONBIO, &nonBlocking);
    const sockaddr_in address = ToSystem(remote);
    // Reads wait with select first, so the socket may stay non-blocking.
    if (connect(Sock(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return 1;
    return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

int WaitConnected(Handle socket, unsigned timeoutMs)
{
    // Winsock reports a failed connection in the exception set.
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(Sock(socket), &writable);
    FD_SET(Sock(socket), &failed);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
    const int result = select(0, nullptr, &writable, &failed, &timeout);
    if (result == 0)
        return 0;
    if (result == SOCKET_ERROR || FD_ISSET(Sock(socket), &failed))
        return -1;
    int error = 0;
    int length = sizeof error;
    if (getsockopt(Sock(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
        return -1;
    return error == 0 ? 1 : -1;
}

int WaitReadable(Handle socket, unsigned timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Sock(socket), &readable);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
    const int result = select(0, &readable, nullptr, nullptr, timeoutMs == kWaitForever ? nullptr : &timeout);
    return result == SOCKET_ERROR ? -1 : result > 0 ? 1 : 0;
}

int Receive(Handle socket, char* buffer, int size)
{
    return recv(Sock(socket), buffer, size, 0);
}

bool PeerName(Handle socket, SocketAddress& peer)
{
    sockaddr_in address{};
    int length = sizeof address;
    if (getpeername(Sock(socket), reinterpret_cast<sockaddr*>(&address), &length) == SOCKET_ERROR)
        return false;
    std::memcpy(static_cast<void*>(&peer), &address, sizeof peer);
    return true;
}

uint32_t DottedToAddress(const char* text)
{
    return inet_addr(text);
}

bool LookupHost(const char* name, uint32_t& address)
{
    const hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || !host->h_addr_list[0])
        return false;
    std::memcpy(&address, host->h_addr_list[0], sizeof address);
    return true;
}

bool LookupService(const char* name, uint16_t& port)
{
    const servent* entry = getservbyname(name, nullptr);
    if (!entry)
        return false;
    port = static_cast<uint16_t>(entry->s_port);
    return true;
}

bool LocalHostName(std::string& name)
{
    char buffer[260] = {};
    if (gethostname(buffer, sizeof buffer - 1) == SOCKET_ERROR)
        return false;
    const hostent* host = gethostbyname(buffer);
    name = host && host->h_name ? host->h_name : buffer;
    return true;
}

void SetLastFailure(Failure failure)
{
    SetLastError(failure == Failure::InvalidParameter ? ERROR_INVALID_PARAMETER
                                                      : ERROR_INSUFFICIENT_BUFFER);
}
}
