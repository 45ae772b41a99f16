// fuzz-libs: quorbel_acquisition
// Feeds arbitrary bytes to the frame state machine and compares its frames
// with those of a plain STX/ETX/CR/LF splitter; reads arbitrary bytes as
// port records and checks that a record survives writing and reading.
#include "FuzzReference.h"
#include "acquisition/SerialLink.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{
using FuzzReference::Check;

// A frame ends at CR, LF or ETX, or with its 511th character (the byte
// that finds it full is lost).  STX is skipped, and so is an LF right after
// the CR that ended a frame.  The first byte of a frame is kept whatever it
// is.
std::vector<std::string> SplitFrames(const std::string& bytes)
{
    std::vector<std::string> frames;
    std::string frame;
    bool open = false;
    bool afterEndingCr = false;
    for (const char c : bytes)
    {
        const bool skipped = c == '\x02' || (c == '\n' && afterEndingCr);
        afterEndingCr = open && c == '\r';
        if (skipped)
            continue;
        const bool ends = c == '\r' || c == '\n' || c == '\x03' || frame.size() == CSerialLink::MaxFrameLength;
        if (open && ends)
            frames.push_back(frame);
        else if (open)
            frame += c;
        else
            frame.assign(1, c);
        open = !(open && ends);
    }
    return frames;
}

// Written and read again, a record is the same; its bytes are those read,
// but for the sixth byte of the name, which is always NUL.
void CheckRecord(const unsigned char* bytes)
{
    const SerialPortConfig record = SerialPortRecord::Decode(bytes);
    const uint32_t baud = record.baudRate;
    Check(baud == (bytes[6] | bytes[7] << 8 | bytes[8] << 16 | uint32_t{bytes[9]} << 24));
    unsigned char written[SerialPortRecord::Size];
    SerialPortRecord::Encode(record, written);
    Check(std::memcmp(written, bytes, 5) == 0 && written[5] == 0 && std::memcmp(written + 6, bytes + 6, 8) == 0);
    const SerialPortConfig reread = SerialPortRecord::Decode(written);
    Check(std::memcmp(&reread, &record, sizeof record) == 0);
    CSerialPort::SetConfig(0, record);
    Check(CSerialPort::Describe(0).compare(0, 4, "1 : ") == 0);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CSerialLink link;
    link.Reset();
    const std::string bytes = FuzzReference::Expanded(data, size);
    const std::vector<std::string> expected = SplitFrames(bytes);
    size_t frames = 0;
    for (const char c : bytes)
    {
        if (!link.AddChar(c))
            continue;
        // Compared with its terminating NUL, so a frame cut short or too long shows.
        Check(frames < expected.size() &&
              std::memcmp(link.FrameText(), expected[frames].c_str(), expected[frames].size() + 1) == 0);
        ++frames;
    }
    Check(frames == expected.size());
    for (size_t offset = 0; offset + SerialPortRecord::Size <= size; offset += SerialPortRecord::Size)
        CheckRecord(data + offset);
    return 0;
}
