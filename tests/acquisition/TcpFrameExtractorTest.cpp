#include "acquisition/FrameExtractor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
// A ring and its extractor fed chunk by chunk, as the receive loop does.
class FrameCutting : public ::testing::Test
{
protected:
    std::vector<std::string> Feed(const std::string& chunk)
    {
        std::vector<std::string> frames;
        EXPECT_TRUE(m_ring.Append(chunk.data(), static_cast<int>(chunk.size())));
        m_extractor.ExtractFrames(m_ring, [&](const char* text, int length) {
            EXPECT_EQ(std::strlen(text), static_cast<size_t>(length));
            frames.emplace_back(text, static_cast<size_t>(length));
        });
        return frames;
    }

    using Frames = std::vector<std::string>;
    CByteRing m_ring;
    CFrameExtractor m_extractor;
};
}

TEST_F(FrameCutting, CutsAtLineEndsAndHoldsTheUnfinishedRest)
{
    EXPECT_EQ(Frames{"ABC"}, Feed("ABC\r\n"));
    EXPECT_EQ(Frames({"ABC", "D"}), Feed("ABC\r\nD\nEF"));
    EXPECT_EQ(2, m_ring.Count());
    EXPECT_EQ(Frames(), Feed("G"));
    EXPECT_EQ(Frames{"EFGH"}, Feed("H\r\n"));
    EXPECT_EQ(0, m_ring.Count());
}

TEST_F(FrameCutting, JoinsAFrameSplitOverManyChunks)
{
    const std::string frame = "SN1;P01;PASS;1.234bar;0.01mbar/s;20.5C";
    for (char byte : frame)
        EXPECT_EQ(Frames(), Feed(std::string(1, byte)));
    EXPECT_EQ(Frames{frame}, Feed("\r\n"));
    for (char byte : frame)
        Feed(std::string(1, byte));
    // A CR that arrives alone ends the frame; its LF then ends an empty one.
    EXPECT_EQ(Frames{frame}, Feed("\r"));
    EXPECT_EQ(Frames(), Feed("\n"));
    EXPECT_EQ(0, m_ring.Count());
}

TEST_F(FrameCutting, ALineFeedWinsOverAnEarlierCarriageReturn)
{
    EXPECT_EQ(Frames{"A\rB"}, Feed("A\rB\n"));
    EXPECT_EQ(Frames{"X"}, Feed("X\n\r"));
    EXPECT_EQ(0, m_ring.Count());
    EXPECT_EQ(Frames({"P", "Q"}), Feed("P\rQ\r"));
}

TEST_F(FrameCutting, SkipsEmptyTextsAndEndsATextAtItsFirstNul)
{
    EXPECT_EQ(Frames(), Feed("\r\n"));
    EXPECT_EQ(Frames(), Feed("\n\n\r\n"));
    EXPECT_EQ(Frames{"AB"}, Feed(std::string("AB\0CD\r\n", 7)));
    EXPECT_EQ(Frames(), Feed(std::string("\0tail\n", 6)));
    EXPECT_EQ(Frames{"ok"}, Feed("ok\r\n"));
}

TEST_F(FrameCutting, KeepsTheLongestFrameTheRingCanHold)
{
    const std::string frame(CByteRing::kMaxHeld - 1, 'L');
    EXPECT_EQ(Frames(), Feed(frame));
    EXPECT_EQ(Frames{frame}, Feed("\n"));
}

TEST_F(FrameCutting, RecoversFromALineLongerThanTheRing)
{
    EXPECT_EQ(Frames(), Feed(std::string(2000, 'x')));
    EXPECT_EQ(Frames(), Feed(std::string(48, 'y')));
    // Full without a line end: emptied, so the link keeps receiving.
    EXPECT_EQ(0, m_ring.Count());
    // The rest of the over-long line is not a frame of its own.
    EXPECT_EQ(Frames{"NEXT"}, Feed("tail of the long line\r\nNEXT\r\n"));
    EXPECT_EQ(Frames{"AFTER"}, Feed("AFTER\n"));
}
