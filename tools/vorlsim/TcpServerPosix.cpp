#include "tools/vorlsim/TcpServer.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace
{
constexpr std::intptr_t kNoSocket = -1;
}

CTcpServer::CTcpServer() : m_listener(kNoSocket), m_client(kNoSocket)
{
}

CTcpServer::~CTcpServer()
{
    CloseClient();
    if (m_listener != kNoSocket)
        close(static_cast<int>(m_listener));
}

bool CTcpServer::Listen(const std::string& host, int port, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
    {
        error = "cannot resolve host " + host;
        return false;
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(static_cast<uint16_t>(port));

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    m_listener = listener;
    const int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0)
    {
        error = "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    return true;
}

bool CTcpServer::Accept()
{
    CloseClient();
    int client;
    do
        client = accept(static_cast<int>(m_listener), nullptr, nullptr);
    while (client < 0 && errno == EINTR);
    m_client = client;
    return client >= 0;
}

void CTcpServer::CloseClient()
{
    if (m_client == kNoSocket)
        return;
    shutdown(static_cast<int>(m_client), SHUT_WR);
    close(static_cast<int>(m_client));
    m_client = kNoSocket;
}

bool CTcpServer::Write(const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t sent = send(static_cast<int>(m_client), data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}
