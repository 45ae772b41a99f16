#include "acquisition/ByteRing.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string Bytes(int n, char fill)
{
    return std::string(static_cast<size_t>(n), fill);
}

bool AppendText(CByteRing& ring, const std::string& text)
{
    return ring.Append(text.data(), static_cast<int>(text.size()));
}

std::string ReadAll(CByteRing& ring)
{
    std::string out(static_cast<size_t>(ring.Count()), '\0');
    EXPECT_TRUE(ring.Read(&out[0], ring.Count()));
    return out;
}
}

TEST(ByteRing, StoresAChunkOnlyWhenStrictlySmallerThanTheFreeSpace)
{
    CByteRing ring;
    EXPECT_TRUE(AppendText(ring, ""));
    ASSERT_TRUE(AppendText(ring, Bytes(2000, 'a')));
    EXPECT_FALSE(AppendText(ring, Bytes(100, 'b')));
    EXPECT_EQ(2000, ring.Count());
    EXPECT_TRUE(AppendText(ring, Bytes(48, 'c')));
    EXPECT_EQ(CByteRing::kMaxHeld, ring.Count());
    EXPECT_FALSE(AppendText(ring, "d"));
    EXPECT_EQ(Bytes(2000, 'a') + Bytes(48, 'c'), ReadAll(ring));
    EXPECT_EQ(0, ring.Count());
}

TEST(ByteRing, KeepsOrderAcrossTheWrap)
{
    CByteRing ring;
    std::string expected;
    std::string got;
    // Chunk sizes that do not divide the capacity move the indices round
    // the end of the storage many times.
    for (int round = 0; round < 50; ++round)
    {
        const std::string chunk = Bytes(700 + round, static_cast<char>('A' + round % 26)) + "#";
        ASSERT_TRUE(AppendText(ring, chunk)) << round;
        expected += chunk;
        got += ReadAll(ring);
        if (round % 3 == 0)
        {
            ASSERT_TRUE(AppendText(ring, "xy"));
            expected += "xy";
        }
    }
    got += ReadAll(ring);
    EXPECT_EQ(expected, got);
}

TEST(ByteRing, FindsTheFirstMatchingByteOnEitherSideOfTheWrap)
{
    CByteRing ring;
    ASSERT_TRUE(AppendText(ring, Bytes(2045, '.')));
    char sink[2045];
    ASSERT_TRUE(ring.Read(sink, 2040));
    // "ab\nc" fills the end of the storage, "d\nef" its start.
    ASSERT_TRUE(AppendText(ring, "ab\ncd\nef"));
    int offset = -1;
    ASSERT_TRUE(ring.Find('\n', offset));
    EXPECT_EQ(7, offset);
    ASSERT_TRUE(ring.Find('.', offset));
    EXPECT_EQ(0, offset);
    ASSERT_TRUE(ring.Find('f', offset));
    EXPECT_EQ(12, offset);
    EXPECT_FALSE(ring.Find('z', offset));
    ASSERT_TRUE(ring.Read(sink, 8));
    ASSERT_TRUE(ring.Find('\n', offset));
    EXPECT_EQ(2, offset);
    // Bytes already read are not found again.
    EXPECT_FALSE(ring.Find('.', offset));
}

TEST(ByteRing, PeekAndReadRefuseWhatIsNotHeld)
{
    CByteRing ring;
    char byte = 0;
    EXPECT_FALSE(ring.PeekAt(0, byte));
    ASSERT_TRUE(AppendText(ring, "xyz"));
    ASSERT_TRUE(ring.PeekAt(2, byte));
    EXPECT_EQ('z', byte);
    EXPECT_FALSE(ring.PeekAt(3, byte));
    EXPECT_FALSE(ring.PeekAt(-1, byte));
    char out[8] = {};
    EXPECT_FALSE(ring.Read(out, 4));
    EXPECT_EQ(3, ring.Count());
    EXPECT_TRUE(ring.Read(out, 2));
    EXPECT_EQ(std::string("xy"), std::string(out));
    EXPECT_EQ(1, ring.Count());
    ring.Clear();
    EXPECT_EQ(0, ring.Count());
}
