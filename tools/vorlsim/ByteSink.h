#pragma once
#include <cstddef>

// Where vorlsim's bytes go: a TCP client or a serial line.
class CByteSink
{
public:
    virtual ~CByteSink() = default;
    // Writes every byte; false once the peer or device is gone.
    virtual bool Write(const char* data, size_t size) = 0;
};
