#include "acquisition/ByteRing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace
{
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

TEST(ByteRing, StoresAChunkOnlyWhenStrictlySmallerThanTheFreeSpaceAndReadsOnlyWhatIsHeld)
{
    CByteRing ring;
    char byte = 0;
    EXPECT_FALSE(ring.PeekAt(0, byte));
    EXPECT_TRUE(ring.Read(&byte, 0));
    EXPECT_TRUE(AppendText(ring, ""));
    ASSERT_TRUE(AppendText(ring, std::string(2000, 'a')));
    EXPECT_FALSE(AppendText(ring, std::string(100, 'b')));
    EXPECT_TRUE(AppendText(ring, std::string(48, 'c')));
    EXPECT_EQ(CByteRing::kMaxHeld, ring.Count());
    EXPECT_FALSE(AppendText(ring, "d"));
    ASSERT_TRUE(ring.PeekAt(2047, byte));
    EXPECT_EQ('c', byte);
    EXPECT_FALSE(ring.PeekAt(2048, byte));
    EXPECT_FALSE(ring.PeekAt(-1, byte));
    std::string out(2049, '\0');
    EXPECT_FALSE(ring.Read(&out[0], 2049));
    EXPECT_EQ(std::string(2000, 'a') + std::string(48, 'c'), ReadAll(ring));
    ASSERT_TRUE(AppendText(ring, "xyz"));
    ring.Clear();
    EXPECT_EQ(0, ring.Count());
}

TEST(ByteRing, KeepsOrderAndFindsTheFirstMatchingByteOnEitherSideOfTheWrap)
{
    CByteRing ring;
    ASSERT_TRUE(AppendText(ring, std::string(2045, '.')));
    char sink[2045];
    ASSERT_TRUE(ring.Read(sink, 2040));
    // "ab\nc" fills the end of the storage, "d\nef" its start.
    ASSERT_TRUE(AppendText(ring, "ab\ncd\nef"));
    const std::pair<char, int> found[] = {{'\n', 7}, {'.', 0}, {'f', 12}, {'z', -1}};
    for (const auto& wanted : found)
    {
        int offset = -1;
        EXPECT_EQ(wanted.second >= 0, ring.Find(wanted.first, offset));
        EXPECT_EQ(wanted.second, offset) << wanted.first;
    }
    ASSERT_TRUE(ring.Read(sink, 8));
    int offset = -1;
    ASSERT_TRUE(ring.Find('\n', offset));
    EXPECT_EQ(2, offset);
    // Bytes already read are not found again.
    EXPECT_FALSE(ring.Find('.', offset));
    EXPECT_EQ("cd\nef", ReadAll(ring));
}
