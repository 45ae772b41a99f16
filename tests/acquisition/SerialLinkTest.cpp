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
}

// The terminator rules are compared with a reference by the fuzz target;
// here the frame text between frames and the length limit.  Byte 512 of a
// long frame ends it and is dropped; byte 513 opens the next.
TEST(SerialLinkTest, FrameTextStaysUntilTheNextFrameStartsAndALongFrameIsCutAt511)
{
    CTempDir dir;  // the link's "Serial.cfg" stays out of the build tree
    // A new link has no text, whatever its memory held before.
    alignas(CSerialLink) unsigned char storage[sizeof(CSerialLink)];
    std::memset(storage, 'x', sizeof storage);
    CSerialLink* fresh = new (storage) CSerialLink;
    EXPECT_STREQ("", fresh->FrameText());
    fresh->~CSerialLink();

    CSerialLink link;
    EXPECT_EQ(Frames({"first", "AB", "\rD"}), Feed(link, "\x02" "first\r\n" "AB\n\rD\x03"));
    EXPECT_STREQ("\rD", link.FrameText());
    link.AddChar('x');
    EXPECT_STREQ("x", link.FrameText());
    link.Reset();
    EXPECT_STREQ("", link.FrameText());
    std::string bytes;
    for (int i = 0; i < 600; ++i)
        bytes += static_cast<char>('a' + i % 26);
    EXPECT_EQ(Frames({bytes.substr(0, 511), bytes.substr(512)}), Feed(link, bytes + "\n"));
    int length = -1;
    EXPECT_FALSE(link.Poll(length));  // no port open
    EXPECT_EQ(-1, length);
}
