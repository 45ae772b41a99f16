#include "printing/ProgressText.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ProgressTextTest, PercentageIsRoundedAndRangesMayStartAnywhere)
{
    EXPECT_EQ(33, ProgressPercent(1, 0, 3));
    EXPECT_EQ(67, ProgressPercent(2, 0, 3));
    EXPECT_EQ(50, ProgressPercent(15, 10, 20));
    EXPECT_EQ(0, ProgressPercent(0, 0, 0));
    EXPECT_EQ(0, ProgressPercent(5, 9, 3));
    EXPECT_EQ(50, ProgressPercent(0, INT_MIN + 1, INT_MAX));
}
