#include "acquisition/FrameExtractor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using Frames = std::vector<std::string>;

// The chunks go through a ring and its extractor as the receive loop feeds
// them; every row ends on a line end, so the ring is then empty.
TEST(FrameCutting, CutsChunksAtLineEndsHoldingTheUnfinishedRest)
{
    struct Case { std::vector<std::string> chunks; Frames frames; };
    const std::string longest(CByteRing::kMaxHeld - 1, 'L');
    Case byteByByte{{}, {"SN1;P01", "SN1;P01"}};
    for (const char* end : {"\r\n", "\r"})
    {
        for (char byte : byteByByte.frames[0])
            byteByByte.chunks.emplace_back(1, byte);
        byteByByte.chunks.push_back(end);
    }
    const Case cases[] = {
        {{"ABC\r\n", "ABC\r\nD\nEF", "G", "H\r\n"}, {"ABC", "ABC", "D", "EFGH"}},
        byteByByte,
        {{"AB", "\r", "\n"}, {"AB"}},  // a CR alone ends the frame, its LF an empty one
        {{"A\rB\n", "X\n\r", "P\rQ\r"}, {"A\rB", "X", "P", "Q"}},  // LF before CR
        {{"\r\n", "\n\n\r\n", std::string("AB\0CD\r\n", 7), std::string("\0tail\n", 6), "ok\r\n"}, {"AB", "ok"}},
        {{longest, "\n"}, {longest}},
        // Full without a line end: emptied, and the rest of that line dropped.
        {{std::string(2000, 'x'), std::string(48, 'y'), "tail\r\nNEXT\r\n", "AFTER\n"}, {"NEXT", "AFTER"}},
    };
    for (const Case& c : cases)
    {
        CByteRing ring;
        CFrameExtractor extractor;
        Frames frames;
        for (const std::string& chunk : c.chunks)
        {
            EXPECT_TRUE(ring.Append(chunk.data(), static_cast<int>(chunk.size())));
            extractor.ExtractFrames(ring, [&](const char* text, int length) {
                EXPECT_EQ(std::strlen(text), static_cast<size_t>(length));
                frames.emplace_back(text, static_cast<size_t>(length));
            });
        }
        EXPECT_EQ(c.frames, frames) << c.chunks[0];
        EXPECT_EQ(0, ring.Count()) << c.chunks[0];
    }
}
