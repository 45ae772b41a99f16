#include "tools/vorlsim/TcpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace
{
constexpr std::intptr_t kNoSocket = static_cast<std::intptr_t>(INVALID_SOCKET);

SOCKET AsSocket(std::intptr_t socket)
{
    return static_cast<SOCKET>(socket);
}
}

CTcpServer::CTcpServer() : m_listener(kNoSocket), m_client(kNoSocket)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

CTcpServer::~CTcpServer()
{
    CloseClient();
    if (m_listener != kNoSocket)
        closesocket(AsSocket(m_listener));
    WSACleanup();
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
    memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(static_cast<u_short>(port));

    const SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    m_listener = static_cast<std::intptr_t>(listener);
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0)
    {
        error = "cannot listen on " + host + ":" + std::to_string(port) + ": error " +
                std::to_string(WSAGetLastError());
        return false;
    }
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    return true;
}

bool CTcpServer::Accept()
{
    CloseClient();
    m_client = static_cast<std::intptr_t>(accept(AsSocket(m_listener), nullptr, nullptr));
    return m_client != kNoSocket;
}

void CTcpServer::CloseClient()
{
    if (m_client == kNoSocket)
        return;
    shutdown(AsSocket(m_client), SD_SEND);
    closesocket(AsSocket(m_client));
    m_client = kNoSocket;
}

bool CTcpServer::Write(const char* data, size_t size)
{
    while (size > 0)
    {
        const int piece = size > 1 << 30 ? 1 << 30 : static_cast<int>(size);
        const int sent = send(AsSocket(m_client), data, piece, 0);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}
