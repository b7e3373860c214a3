#include <gtest/gtest.h>

#include "question_panel/control_ids.h"
#include "question_panel/scrolling.h"

namespace kelvo {
namespace {

// The bar limits a position to maximum - page + 1, as the platform does.
int settle(int position, const ScrollRange& range) {
    int highest = range.maximum - range.page + 1;
    if (position > highest) position = highest;
    return position < 0 ? 0 : position;
}

TEST(ScrollRanges, LargestPositionIsContentMinusVisible) {
    ScrollRange range = scrollRangeFor(1000, 500);
    EXPECT_EQ(range.maximum, 998);
    EXPECT_EQ(range.page, 499);
    EXPECT_FALSE(range.resetPosition);
    EXPECT_EQ(settle(100000, range), 500);

    ScrollRange fits = scrollRangeFor(300, 500);
    EXPECT_TRUE(fits.resetPosition);
    EXPECT_GT(fits.page, fits.maximum);  // page larger than the range: bar disabled
    EXPECT_EQ(settle(310, fits), 0);
}

TEST(ScrollRequests, VerticalTable) {
    const ScrollBarState bar{480, 499, 998, 123};
    struct { int request; int expected; } cases[] = {
        {0, 480 - 310}, {1, 480 + 310}, {2, 480 - 499}, {3, 480 + 499}, {4, 480} /* thumb position: no change */,
        {5, 123}, {6, 0}, {7, 998}, {8, 480} /* end scroll */,
        {PanelIds::ScrollDown50, 530}, {PanelIds::ScrollUp50, 430}, {PanelIds::ScrollToTarget, 77}, {503, 480},
    };
    for (const auto& test : cases)
        EXPECT_EQ(verticalScrollPosition(test.request, bar, 77), test.expected) << test.request;
    // Request 500 from 480 on a 500-pixel panel over 1000 pixels stops at 500.
    EXPECT_EQ(settle(verticalScrollPosition(PanelIds::ScrollDown50, bar, 0), scrollRangeFor(1000, 500)), 500);
}

TEST(ScrollRequests, HorizontalTableMovesOnePixelPerLine) {
    const ScrollBarState bar{40, 300, 900, 7};
    struct { int request; int expected; } cases[] = {
        {0, 39}, {1, 41}, {2, -260}, {3, 340}, {4, 40}, {5, 7}, {6, 40}, {7, 40},
    };
    for (const auto& test : cases) EXPECT_EQ(horizontalScrollPosition(test.request, bar), test.expected) << test.request;
}

TEST(Wheel, OnlySingleNotchesScroll) {
    EXPECT_EQ(wheelRequest(120), PanelIds::ScrollUp50);
    EXPECT_EQ(wheelRequest(-120), PanelIds::ScrollDown50);
    for (int delta : {240, -240, 30, -30, 0, 119}) EXPECT_EQ(wheelRequest(delta), 0) << delta;
}

TEST(TabScrolling, TargetIsInContentCoordinates) {
    // A box 700 pixels down the client area of a panel scrolled to 300 lies
    // at 1000 in the content; the target keeps it near the top.
    EXPECT_EQ(tabScrollTarget(300, 700), 1000 - TabScrollMargin);
    EXPECT_EQ(tabScrollTarget(0, -50), -50 - TabScrollMargin);
    EXPECT_FALSE(boxOutsideClient(10, 30, 300));
    EXPECT_TRUE(boxOutsideClient(290, 310, 300));
    EXPECT_TRUE(boxOutsideClient(-1, 19, 300));
}

}  // namespace
}  // namespace kelvo
