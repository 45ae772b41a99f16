// fuzz-libs: quorbel_acquisition
// Feeds arbitrary bytes to the frame state machine and reads arbitrary
// bytes as port records, checking what every frame and description must be.
#include "acquisition/SerialLink.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// A terminator is stored only as the first character of a frame; STX never.
void CheckFrame(const char* frame)
{
    const size_t length = std::strlen(frame);
    Check(length <= static_cast<size_t>(CSerialLink::MaxFrameLength));
    Check(std::memchr(frame, 0x02, length) == nullptr);
    for (size_t i = 1; i < length; ++i)
        Check(frame[i] != '\r' && frame[i] != '\n' && frame[i] != 0x03);
}

void CheckDescription(const unsigned char* bytes)
{
    CSerialPort::SetConfig(0, SerialPortRecord::Decode(bytes));
    const std::string text = CSerialPort::Describe(0);
    Check(text.compare(0, 4, "1 : ") == 0);
    Check(std::strlen(CSerialPort::GetConfig(0)->portName) < 6);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CSerialLink link;
    link.Reset();
    for (size_t i = 0; i < size; ++i)
    {
        if (link.AddChar(static_cast<char>(data[i])))
            CheckFrame(link.FrameText());
        Check(std::strlen(link.FrameText()) <= static_cast<size_t>(CSerialLink::MaxFrameLength));
    }
    for (size_t offset = 0; offset + SerialPortRecord::Size <= size; offset += SerialPortRecord::Size)
        CheckDescription(data + offset);
    return 0;
}
