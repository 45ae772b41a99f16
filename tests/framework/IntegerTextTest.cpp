// Numbers typed into edits: what data exchange accepts as an integer.
#include "framework/IntegerText.h"

#include <gtest/gtest.h>

TEST(IntegerTextTest, AcceptsSignedNumbersWithSurroundingBlanks)
{
    int value = 0;
    EXPECT_TRUE(IntegerText::Parse(" 49 ", value));
    EXPECT_EQ(49, value);
    EXPECT_TRUE(IntegerText::Parse("-7", value));
    EXPECT_EQ(-7, value);
    EXPECT_TRUE(IntegerText::Parse("+0", value));
    EXPECT_EQ(0, value);
    EXPECT_TRUE(IntegerText::Parse("-2147483648", value));
    EXPECT_EQ(-2147483647 - 1, value);
}

TEST(IntegerTextTest, RefusesEverythingElseAndLeavesTheValue)
{
    int value = 5;
    for (const char* text : {"", " ", "-", "12a", "a12", "1 2", "1.5", "2147483648",
                             "-2147483649", "99999999999999999999"}) {
        EXPECT_FALSE(IntegerText::Parse(text, value)) << text;
        EXPECT_EQ(5, value) << text;
    }
}

TEST(IntegerTextTest, PromptsNameTheLimits)
{
    EXPECT_EQ("Please enter an integer between 0 and 100.", IntegerText::RangePrompt(0, 100));
    EXPECT_EQ("Please enter no more than 20 characters.", IntegerText::LengthPrompt(20));
}
