#pragma once
#include "tools/vorlsim/ByteSink.h"

#include <cstdint>
#include <string>

// The listening side of vorlsim's TCP mode: one client at a time.
class CTcpServer : public CByteSink
{
public:
    CTcpServer();
    ~CTcpServer() override;
    CTcpServer(const CTcpServer&) = delete;
    CTcpServer& operator=(const CTcpServer&) = delete;

    // Port 0 lets the system pick one; Port() tells which.
    bool Listen(const std::string& host, int port, std::string& error);
    int Port() const { return m_port; }

    // Waits for the next client.  False when the listener failed.
    bool Accept();
    // Ends the connection gracefully, after every written byte.
    void CloseClient();

    bool Write(const char* data, size_t size) override;

private:
    std::intptr_t m_listener;
    std::intptr_t m_client;
    int m_port = 0;
};
