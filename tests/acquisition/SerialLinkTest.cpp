#include "acquisition/SerialLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace
{
using Frames = std::vector<std::string>;

// Feeds the bytes one by one and collects every frame the link completes.
Frames Feed(CSerialLink& link, const std::string& bytes)
{
    Frames frames;
    for (char c : bytes)
        if (link.AddChar(c))
            frames.emplace_back(link.FrameText());
    return frames;
}

class SerialLinkTest : public ::testing::Test
{
protected:
    CTempDir m_dir;  // the link's "Serial.cfg" stays out of the build tree
    CSerialLink m_link;
};
}

TEST_F(SerialLinkTest, TerminatorRules)
{
    const struct { const char* bytes; Frames frames; } cases[] = {
        {"ABC\r\nDE\r\nF\rG\n", {"ABC", "DE", "F", "G"}},  // the LF of a CR LF is swallowed
        {"\x02" "AB\x03" "C\x02" "D\x03", {"AB", "CD"}},  // STX never stored, ETX ends
        {"AB\n\rD\n", {"AB", "\rD"}},                     // a CR after an LF starts the next frame
        {"\r\n\n\n", {"\r", "\n"}},                       // a terminator opening a frame is stored
    };
    for (const auto& c : cases)
    {
        CSerialLink link;
        EXPECT_EQ(c.frames, Feed(link, c.bytes)) << c.bytes;
    }
}

// Byte 512 of a long frame ends it and is dropped; byte 513 opens the next.
TEST_F(SerialLinkTest, FrameTextStaysUntilTheNextFrameStartsAndALongFrameIsCutAt511)
{
    // A new link has no text, whatever its memory held before.
    alignas(CSerialLink) unsigned char storage[sizeof(CSerialLink)];
    std::memset(storage, 'x', sizeof storage);
    CSerialLink* fresh = new (storage) CSerialLink;
    EXPECT_STREQ("", fresh->FrameText());
    fresh->~CSerialLink();

    Feed(m_link, "first\r\n");
    EXPECT_STREQ("first", m_link.FrameText());
    m_link.AddChar('x');
    EXPECT_STREQ("x", m_link.FrameText());
    m_link.Reset();
    EXPECT_STREQ("", m_link.FrameText());
    std::string bytes;
    for (int i = 0; i < 600; ++i)
        bytes += static_cast<char>('a' + i % 26);
    EXPECT_EQ(Frames({bytes.substr(0, 511), bytes.substr(512)}), Feed(m_link, bytes + "\n"));
    int length = -1;
    EXPECT_FALSE(m_link.Poll(length));  // no port open
    EXPECT_EQ(-1, length);
}
