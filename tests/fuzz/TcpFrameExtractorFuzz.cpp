// fuzz-libs: quorbel_acquisition
// Feeds arbitrary chunks to the TCP link's ring and frame cutting the way
// the receive loop does, and compares the frames with those of a plain
// line splitter over the same chunks: every chunk is stored whole, and the
// frames come out in order, none lost, none added.
#include "FuzzReference.h"
#include "acquisition/ByteRing.h"
#include "acquisition/FrameExtractor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
using FuzzReference::Check;

// Cuts the held bytes at the first LF, or at the first CR when no LF is
// held; drops a line that reaches 2048 bytes without an end, up to its end.
struct LineSplitter
{
    std::string held;
    bool dropping = false;
    std::vector<std::string> frames;

    size_t LineEnd() const
    {
        const size_t lf = held.find('\n');
        return lf != std::string::npos ? lf : held.find('\r');
    }

    void Add(const std::string& chunk)
    {
        held += chunk;
        for (size_t end = LineEnd(); end != std::string::npos; end = LineEnd())
        {
            std::string text = held.substr(0, end + 1).c_str();
            held.erase(0, end + 1);
            text.erase(text.find_last_not_of("\r\n") + 1);
            if (!dropping && !text.empty())
                frames.push_back(text);
            dropping = false;
        }
        if (held.size() >= CByteRing::kMaxHeld)
        {
            held.clear();
            dropping = true;
        }
    }
};
}

// Input layout (once expanded): chunks of one length byte followed by that
// many bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string stream = FuzzReference::Expanded(data, size);
    CByteRing ring;
    CFrameExtractor extractor;
    LineSplitter reference;
    std::vector<std::string> frames;
    size_t used = 0;
    while (used < stream.size())
    {
        const size_t wanted = static_cast<uint8_t>(stream[used++]) * size_t{9};
        const int room = std::min(2048, ring.FreeSpace() - 1);
        const int length = static_cast<int>(std::min({wanted, stream.size() - used, static_cast<size_t>(room)}));
        Check(room >= 1);
        const std::string chunk = stream.substr(used, static_cast<size_t>(length));
        Check(ring.Append(chunk.data(), length));
        reference.Add(chunk);
        used += chunk.size();
        extractor.ExtractFrames(ring, [&](const char* text, int n) { frames.emplace_back(text, n); });
        Check(ring.Count() < CByteRing::kMaxHeld);
    }
    Check(frames == reference.frames);
    return 0;
}
