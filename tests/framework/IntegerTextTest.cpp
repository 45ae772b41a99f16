// Numbers typed into edits: what data exchange accepts as an integer.
#include "framework/IntegerText.h"

#include <gtest/gtest.h>

#include <climits>

TEST(IntegerTextTest, AcceptsSignedNumbersWithSurroundingBlanksAndRefusesTheRest)
{
    const struct
    {
        const char* text;
        bool accepted;
        int value;   // what the parse leaves, 5 before it
    } cases[] = {
        {" 49 ", true, 49}, {"-7", true, -7}, {"+0", true, 0}, {"-2147483648", true, INT_MIN},
        {"", false, 5}, {" ", false, 5}, {"-", false, 5}, {"12a", false, 5}, {"a12", false, 5},
        {"1 2", false, 5}, {"1.5", false, 5}, {"2147483648", false, 5}, {"-2147483649", false, 5},
        {"99999999999999999999", false, 5},
    };
    for (const auto& c : cases) {
        int value = 5;
        EXPECT_EQ(c.accepted, IntegerText::Parse(c.text, value)) << c.text;
        EXPECT_EQ(c.value, value) << c.text;
    }
}

TEST(IntegerTextTest, PromptsNameTheLimits)
{
    EXPECT_EQ("Please enter an integer between 0 and 100.", IntegerText::RangePrompt(0, 100));
    EXPECT_EQ("Please enter no more than 20 characters.", IntegerText::LengthPrompt(20));
}
