#include "acquisition/SerialLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Feeds the bytes one by one and collects every frame the link completes.
std::vector<std::string> Feed(CSerialLink& link, const std::string& bytes)
{
    std::vector<std::string> frames;
    for (char c : bytes)
        if (link.AddChar(c))
            frames.emplace_back(link.FrameText());
    return frames;
}

using Frames = std::vector<std::string>;

class SerialLinkTest : public ::testing::Test
{
protected:
    CTempDir m_dir;  // the link's "Serial.cfg" stays out of the build tree
    CSerialLink m_link;
};
}

TEST_F(SerialLinkTest, CrLfEndsOneFrameAndTheLfIsSwallowed)
{
    EXPECT_EQ(Frames{"ABC"}, Feed(m_link, "ABC\r\n"));
    EXPECT_EQ(Frames{"DE"}, Feed(m_link, "DE\r\n"));
    EXPECT_EQ(Frames({"F", "G"}), Feed(m_link, "F\rG\n"));
}

TEST_F(SerialLinkTest, StxIsNeverStoredAndEtxEndsTheFrame)
{
    EXPECT_EQ(Frames{"AB"}, Feed(m_link, "\x02" "AB\x03"));
    EXPECT_EQ(Frames{"CD"}, Feed(m_link, "C\x02" "D\x03"));
}

TEST_F(SerialLinkTest, CrAfterLfStartsTheNextFrame)
{
    EXPECT_EQ(Frames({"AB", "\rD"}), Feed(m_link, "AB\n\rD\n"));
}

TEST_F(SerialLinkTest, TerminatorOpeningAFrameIsStored)
{
    EXPECT_EQ(Frames{"\r"}, Feed(m_link, "\r\n"));
    EXPECT_EQ(Frames{"\n"}, Feed(m_link, "\n\n"));
}

TEST_F(SerialLinkTest, LongFrameIsCutAt511Characters)
{
    std::string bytes;
    for (int i = 0; i < 600; ++i)
        bytes += static_cast<char>('a' + i % 26);
    const Frames frames = Feed(m_link, bytes);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(bytes.substr(0, 511), frames[0]);
    // Byte 512 ended the frame and was dropped; byte 513 opened the next one.
    EXPECT_EQ(Frames{bytes.substr(512)}, Feed(m_link, "\n"));
}

TEST_F(SerialLinkTest, FrameTextStaysUntilTheNextFrameStarts)
{
    Feed(m_link, "first\r");
    EXPECT_STREQ("first", m_link.FrameText());
    m_link.AddChar('\n');
    EXPECT_STREQ("first", m_link.FrameText());
    m_link.AddChar('x');
    EXPECT_STREQ("x", m_link.FrameText());
    m_link.Reset();
    EXPECT_STREQ("", m_link.FrameText());
    EXPECT_EQ(Frames{"y"}, Feed(m_link, "y\n"));
}

TEST_F(SerialLinkTest, PollWithoutAnOpenPortFails)
{
    int length = -1;
    EXPECT_FALSE(m_link.Poll(length));
    EXPECT_EQ(-1, length);
}
