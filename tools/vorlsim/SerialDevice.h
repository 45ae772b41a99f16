#pragma once
#include "tools/vorlsim/ByteSink.h"
#include "tools/vorlsim/SimOptions.h"

#include <cstdint>
#include <string>

// A serial device (or pseudo-terminal) opened for writing with the line
// settings of the command line.
class CSerialDevice : public CByteSink
{
public:
    CSerialDevice();
    ~CSerialDevice() override;
    CSerialDevice(const CSerialDevice&) = delete;
    CSerialDevice& operator=(const CSerialDevice&) = delete;

    bool Open(const CSimOptions& options, std::string& error);
    bool Write(const char* data, size_t size) override;

private:
    std::intptr_t m_handle;
};
