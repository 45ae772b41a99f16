#include "printing/TicketLayout.h"

#include <gtest/gtest.h>

TEST(TicketLayoutTest, FirstLineStartsBelowTheTopMargin)
{
    EXPECT_EQ(0, CTicketLayout(41, 0, 60).Place(0).y);
    EXPECT_EQ(-123, CTicketLayout(41, 3, 60).Place(0).y);
    EXPECT_EQ(0, CTicketLayout(41, -2, 60).Place(0).y);
    EXPECT_EQ(-123 - 41, CTicketLayout(41, 3, 60).Place(1).y);
}

TEST(TicketLayoutTest, EveryPageHoldsTheFullNumberOfLinesAndStartsLikeTheFirst)
{
    for (int topMargin : {0, 3})
    {
        const CTicketLayout layout(41, topMargin, 60);
        const LinePlacement lastOfFirst = layout.Place(59);
        const LinePlacement firstOfSecond = layout.Place(60);
        EXPECT_EQ(0, lastOfFirst.page);
        EXPECT_EQ(layout.Place(0).y - 59 * 41, lastOfFirst.y);
        EXPECT_FALSE(layout.StartsNewPage(59));
        EXPECT_EQ(1, firstOfSecond.page);
        EXPECT_EQ(layout.Place(0).y, firstOfSecond.y);
        EXPECT_TRUE(layout.StartsNewPage(60));
        EXPECT_EQ(1, layout.Place(119).page);
        EXPECT_EQ(2, layout.Place(120).page);
    }
    EXPECT_FALSE(CTicketLayout(41, 0, 60).StartsNewPage(0));
}

TEST(TicketLayoutTest, PagesAreOnlyBegunForLinesToDraw)
{
    const CTicketLayout layout(41, 0, 60);
    EXPECT_EQ(1, layout.PageCount(0));
    EXPECT_EQ(1, layout.PageCount(1));
    EXPECT_EQ(1, layout.PageCount(60));
    EXPECT_EQ(2, layout.PageCount(61));
    EXPECT_EQ(2, layout.PageCount(120));
    EXPECT_EQ(3, layout.PageCount(121));
}
