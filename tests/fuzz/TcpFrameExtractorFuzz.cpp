// fuzz-libs: quorbel_acquisition
// Feeds arbitrary chunks to the TCP link's ring and frame cutting the way
// the receive loop does, and checks what must hold for any stream: every
// chunk is stored whole, the ring never holds more than 2048 bytes, and
// each frame is non-empty, free of NUL, without trailing CR or LF, and a
// piece of what was sent.
#include "acquisition/ByteRing.h"
#include "acquisition/FrameExtractor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{
void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}
}

// Input layout: chunks of one length byte followed by that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteRing ring;
    CFrameExtractor extractor;
    std::string sent;
    size_t used = 0;
    while (used < size)
    {
        const size_t wanted = data[used++] * size_t{9};
        const int room = std::min(2048, ring.FreeSpace() - 1);
        const int length = static_cast<int>(std::min({wanted, size - used, static_cast<size_t>(room)}));
        Check(room >= 1);
        const char* chunk = reinterpret_cast<const char*>(data + used);
        Check(ring.Append(chunk, length));
        sent.append(chunk, static_cast<size_t>(length));
        used += static_cast<size_t>(length);
        extractor.ExtractFrames(ring, [&](const char* text, int textLength) {
            Check(textLength > 0);
            Check(std::strlen(text) == static_cast<size_t>(textLength));
            Check(text[textLength - 1] != '\r' && text[textLength - 1] != '\n');
            Check(sent.find(std::string(text, static_cast<size_t>(textLength))) != std::string::npos);
        });
        Check(ring.Count() < CByteRing::kMaxHeld);
    }
    return 0;
}
