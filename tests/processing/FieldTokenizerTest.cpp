#include "processing/FieldTokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> Fields(const std::string& text, const std::string& separators = ";",
                                char quote = '"')
{
    CFieldTokenizer tokenizer(nullptr, text, separators, quote);
    std::vector<std::string> fields;
    for (size_t i = 0; i < tokenizer.Count(); ++i)
        fields.push_back(tokenizer.GetAt(i));
    return fields;
}

using Strings = std::vector<std::string>;
}

TEST(FieldTokenizer, EmptyFieldsComeFromAdjacentSeparatorsButNotFromAFinalOne)
{
    EXPECT_EQ(Fields("A;B;C"), (Strings{"A", "B", "C"}));
    EXPECT_EQ(Fields("A;;C"), (Strings{"A", "", "C"}));
    EXPECT_EQ(Fields(";A;B"), (Strings{"", "A", "B"}));
    EXPECT_EQ(Fields("A;B;C;"), (Strings{"A", "B", "C"}));
    EXPECT_EQ(Fields(";;"), (Strings{"", ""}));
    EXPECT_TRUE(Fields("").empty());
    EXPECT_TRUE(Fields("   ").empty());
}

TEST(FieldTokenizer, LeadingBlanksAreSkippedUnlessTheyAreTheSeparator)
{
    EXPECT_EQ(Fields("A ;  B;C"), (Strings{"A ", "B", "C"}));
    EXPECT_EQ(Fields("\t A;\tB"), (Strings{"A", "B"}));
    EXPECT_EQ(Fields("A\t\tC", "\t"), (Strings{"A", "", "C"}));
    EXPECT_EQ(Fields("  A\t  B", "\t"), (Strings{"A", "B"}));
    EXPECT_EQ(Fields("A  B C", " "), (Strings{"A", "", "B", "C"}));
    EXPECT_EQ(Fields("\tA \t\tB", " "), (Strings{"A", "B"}));
    EXPECT_EQ(Fields("A;   ;C"), (Strings{"A", "", "C"}));
}

TEST(FieldTokenizer, QuotedFieldsHoldSeparatorsAndDoubledQuotes)
{
    EXPECT_EQ(Fields("\"x;y\";B;C"), (Strings{"x;y", "B", "C"}));
    EXPECT_EQ(Fields("\"a\"\"b\";B;C"), (Strings{"a\"b", "B", "C"}));
    EXPECT_EQ(Fields("\"ab\"cd;B;C"), (Strings{"\"ab\" cd", "B", "C"}));
    EXPECT_EQ(Fields("\"ab\"  ;B"), (Strings{"ab", "B"}));
    EXPECT_EQ(Fields("\"\";B"), (Strings{"", "B"}));
    EXPECT_EQ(Fields("A;\"B"), (Strings{"A", "B"}));
    EXPECT_EQ(Fields("A;\"x;y"), (Strings{"A", "x;y"}));
    EXPECT_EQ(Fields("a\"b;c"), (Strings{"a\"b", "c"}));
    EXPECT_EQ(Fields("\"a\"\"\";b"), (Strings{"a\"", "b"}));
}

TEST(FieldTokenizer, StrayBytesAndLongFramesSplitWithoutLoss)
{
    const std::string withNul("A\0B;C", 5);
    EXPECT_EQ(Fields(withNul), (Strings{std::string("A\0B", 3), "C"}));
    EXPECT_EQ(Fields("\xff;\x80\x02"), (Strings{"\xff", "\x80\x02"}));

    std::string manyFields;
    for (int i = 0; i < 70000; ++i)
        manyFields += ";";
    EXPECT_EQ(Fields(manyFields).size(), 70000u);
}

// Count and GetAt split the whole text without moving the cursor or the target.
TEST(FieldTokenizer, NextTokenFeedsTheTargetAndEmptiesItAtTheEnd)
{
    std::string target = "old";
    CFieldTokenizer tokenizer(&target, "one;two;three", ";", '"');
    std::string out;
    ASSERT_TRUE(tokenizer.NextToken(&out));
    EXPECT_EQ(out, "one");
    EXPECT_EQ(tokenizer.Count(), 3u);
    EXPECT_EQ(target, "one");
    ASSERT_TRUE(tokenizer.NextToken());
    EXPECT_EQ(target, "two");
    EXPECT_EQ(tokenizer.GetAt(2), "three");
    EXPECT_EQ(tokenizer.GetAt(3), "");
    EXPECT_EQ(tokenizer.GetAt(static_cast<size_t>(-1)), "");
    ASSERT_TRUE(tokenizer.NextToken(&out));
    EXPECT_EQ(out, "three");
    EXPECT_FALSE(tokenizer.NextToken(&out));
    EXPECT_EQ(out, "");
    EXPECT_EQ(target, "");
    EXPECT_FALSE(tokenizer.NextToken(&out));

    tokenizer.Rewind();
    ASSERT_TRUE(tokenizer.NextToken(&out));
    EXPECT_EQ(out, "one");
}

TEST(FieldTokenizer, BlanksAreKeptWhenTheyAreTheQuote)
{
    CFieldTokenizer spaceQuote(nullptr, "x", ";", ' ');
    EXPECT_FALSE(spaceQuote.IsSkippableBlank(' '));
    EXPECT_TRUE(spaceQuote.IsSkippableBlank('\t'));
    CFieldTokenizer tabQuote(nullptr, "x", ";", '\t');
    EXPECT_TRUE(tabQuote.IsSkippableBlank(' '));
    EXPECT_FALSE(tabQuote.IsSkippableBlank('\t'));
    CFieldTokenizer twoSeparators(nullptr, "x", " \t", '"');
    EXPECT_TRUE(twoSeparators.IsSkippableBlank(' '));
    EXPECT_FALSE(twoSeparators.IsSkippableBlank('x'));
}
