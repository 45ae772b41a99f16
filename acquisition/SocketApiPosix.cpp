#include "acquisition/SocketApi.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace SocketApi
{
namespace
{
int Fd(Handle socket)
{
    return static_cast<int>(socket);
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
    return true;
}

void Cleanup()
{
}

Handle OpenStream()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    return fd < 0 ? kInvalid : fd;
}

void Close(Handle socket)
{
    close(Fd(socket));
}

// Ten probes, as Windows sends.
bool EnableKeepAlive(Handle socket, unsigned idleMs, unsigned intervalMs)
{
    const int fd = static_cast<int>(socket);
    const int on = 1;
    const int probes = 10;
    const int idle = static_cast<int>(std::max(1u, idleMs / 1000));
    const int interval = static_cast<int>(std::max(1u, intervalMs / 1000));
    return setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) == 0 &&
           setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) == 0 &&
           setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) == 0 &&
           setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes) == 0;
}

void Shutdown(Handle socket)
{
    shutdown(Fd(socket), SHUT_RDWR);
}

int StartConnect(Handle socket, const SocketAddress& remote)
{
    const int flags = fcntl(Fd(socket), F_GETFL, 0);
    fcntl(Fd(socket), F_SETFL, flags | O_NONBLOCK);
    const sockaddr_in address = ToSystem(remote);
    const int result = connect(Fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // Reads wait with poll first, so the socket may stay non-blocking.
    if (result == 0)
        return 1;
    return errno == EINPROGRESS || errno == EINTR ? 0 : -1;
}

int WaitConnected(Handle socket, unsigned timeoutMs)
{
    pollfd entry{Fd(socket), POLLOUT, 0};
    const int ready = poll(&entry, 1, static_cast<int>(timeoutMs > INT_MAX ? INT_MAX : timeoutMs));
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return 0;
    int error = 0;
    socklen_t length = sizeof error;
    if (ready < 0 || getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return -1;
    return error == 0 ? 1 : -1;
}

int WaitReadable(Handle socket, unsigned timeoutMs)
{
    pollfd entry{Fd(socket), POLLIN, 0};
    const int timeout = timeoutMs == kWaitForever ? -1 : static_cast<int>(timeoutMs > INT_MAX ? INT_MAX : timeoutMs);
    const int result = poll(&entry, 1, timeout);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

int Receive(Handle socket, char* buffer, int size)
{
    ssize_t received;
    do
        received = recv(Fd(socket), buffer, static_cast<size_t>(size), 0);
    while (received < 0 && errno == EINTR);
    return static_cast<int>(received);
}

bool PeerName(Handle socket, SocketAddress& peer)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getpeername(Fd(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0)
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
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
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
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return false;
    name = buffer;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (getaddrinfo(buffer, nullptr, &hints, &found) == 0 && found)
    {
        if (found->ai_canonname)
            name = found->ai_canonname;
        freeaddrinfo(found);
    }
    return true;
}

void SetLastFailure(Failure failure)
{
    errno = failure == Failure::InvalidParameter ? EINVAL : ENOBUFS;
}
}
