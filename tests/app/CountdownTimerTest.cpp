#include "app/CountdownTimer.h"

#include <gtest/gtest.h>

TEST(CountdownTimer, CountsDownInItsUnit)
{
    struct Case { int unitMode; int64_t frequency; int units; int64_t elapsedCounts; int remaining; };
    const Case cases[] = {
        {0, 1000000, 1000, 999000, 1},
        {0, 1000000, 1000, 1001000, 0},
        {1, 1000000, 5, 25000, 3},
        {0, 500, 10, 4, 6},                        // slower than 1 kHz
        {0, 1000000, 10, -5000, 10},               // a counter that steps back
        {0, 1000, 1000, (int64_t(1) << 32) + 5, 0},  // weeks later
        {0, 1000000, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        int64_t now = 7;
        CCountdownTimer timer([&now] { return now; }, [&c] { return c.frequency; });
        timer.SetUnit(c.unitMode);
        timer.Start(c.units);
        now += c.elapsedCounts;
        EXPECT_EQ(timer.Remaining(), c.remaining) << c.elapsedCounts;
        now -= c.elapsedCounts;
        EXPECT_EQ(timer.Remaining(), c.remaining == 0 ? 0 : c.units) << "stays stopped";
    }
}
