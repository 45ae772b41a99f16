#pragma once
#include <cstdint>

// An IPv4 socket address with the layout of the system's sockaddr_in (16
// bytes; port and address in network byte order), so that the portable
// link code can keep one without the system's socket headers.
struct SocketAddress
{
    uint16_t family = 0;
    uint16_t port = 0;
    uint32_t address = 0;
    unsigned char zero[8] = {};
};

static_assert(sizeof(SocketAddress) == 16, "a SocketAddress mirrors sockaddr_in");
