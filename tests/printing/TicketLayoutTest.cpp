#include "printing/TicketLayout.h"

#include <gtest/gtest.h>

// Lines of 41 units, 60 to a page: each page starts like the first, below
// the top margin (a negative one counts as none).
TEST(TicketLayoutTest, EveryPageHoldsTheFullNumberOfLinesAndStartsLikeTheFirst)
{
    struct Case { int topMargin, line, page, y; bool startsPage; };
    const Case cases[] = {
        {0, 0, 0, 0, false},      {3, 0, 0, -123, false},        {-2, 0, 0, 0, false},
        {3, 1, 0, -164, false},   {0, 59, 0, -59 * 41, false},   {3, 59, 0, -123 - 59 * 41, false},
        {0, 60, 1, 0, true},      {3, 60, 1, -123, true},        {3, 119, 1, -123 - 59 * 41, false},
        {0, 120, 2, 0, true},
    };
    for (const Case& c : cases)
    {
        const CTicketLayout layout(41, c.topMargin, 60);
        EXPECT_EQ(c.page, layout.Place(c.line).page) << c.line;
        EXPECT_EQ(c.y, layout.Place(c.line).y) << c.line;
        EXPECT_EQ(c.startsPage, layout.StartsNewPage(c.line)) << c.line;
    }
    // Pages are only begun for lines to draw.
    const std::pair<int, int> pages[] = {{0, 1}, {1, 1}, {60, 1}, {61, 2}, {120, 2}, {121, 3}};
    for (const auto& p : pages)
        EXPECT_EQ(p.second, CTicketLayout(41, 0, 60).PageCount(p.first)) << p.first;
}
