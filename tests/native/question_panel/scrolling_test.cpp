#include <gtest/gtest.h>

#include "resources/control_ids.h"
#include "question_panel/scrolling.h"

namespace kelvo {
namespace {

// The platform stops the bar at maximum - page + 1: content minus visible.
TEST(ScrollRanges, LargestPositionIsContentMinusVisible) {
    const struct { int content, visible, maximum, page; bool reset; const char* why; } rows[] = {
        {1000, 500, 998, 499, false, "a 500-pixel panel over 1000 pixels"},
        {300, 500, 298, 299, true, "content that fits: a page past the range disables the bar"},
        {500, 500, 498, 499, true, "content exactly as high as the panel fits"},
        {0, 500, 0, 1, true, "nothing built"},
    };
    for (const auto& row : rows) {
        const ScrollRange range = scrollRangeFor(row.content, row.visible);
        EXPECT_EQ(range.maximum, row.maximum) << row.why;
        EXPECT_EQ(range.page, row.page) << row.why;
        EXPECT_EQ(range.resetPosition, row.reset) << row.why;
    }
}

TEST(ScrollRequests, VerticalTable) {
    const ScrollBarState bar{480, 499, 998, 123};
    struct { int request; int expected; } cases[] = {
        {0, 170}, {1, 790}, {2, -19}, {3, 979}, {4, 480} /* thumb position: no change */,
        {5, 123}, {6, 0}, {7, 998}, {8, 480} /* end scroll */,
        {PanelIds::ScrollDown50, 530}, {PanelIds::ScrollUp50, 430}, {PanelIds::ScrollToTarget, 77}, {503, 480},
    };
    for (const auto& test : cases)
        EXPECT_EQ(verticalScrollPosition(test.request, bar, 77), test.expected) << test.request;
}

TEST(ScrollRequests, HorizontalTableMovesOnePixelPerLine) {
    const ScrollBarState bar{40, 300, 900, 7};
    struct { int request; int expected; } cases[] = {
        {0, 39}, {1, 41}, {2, -260}, {3, 340}, {4, 40}, {5, 7}, {6, 40}, {7, 40},
    };
    for (const auto& test : cases) EXPECT_EQ(horizontalScrollPosition(test.request, bar), test.expected) << test.request;
}

TEST(Wheel, OnlySingleNotchesScroll) {
    const struct { int delta, request; } rows[] = {
        {120, PanelIds::ScrollUp50}, {-120, PanelIds::ScrollDown50}, {240, 0}, {-240, 0}, {30, 0}, {-60, 0}, {0, 0}, {119, 0}};
    for (const auto& row : rows) EXPECT_EQ(wheelRequest(row.delta), row.request) << row.delta;
}

TEST(TabScrolling, TargetIsInContentCoordinatesAndOnlyBoxesNotWhollyShownScroll) {
    // A box 700 pixels down the client area of a panel scrolled to 300 lies
    // at 1000 in the content; the target keeps it 40 pixels below the top.
    EXPECT_EQ(tabScrollTarget(300, 700), 960);
    EXPECT_EQ(tabScrollTarget(0, -50), -90);
    const struct { int top, bottom; bool outside; } boxes[] = {
        {10, 30, false}, {0, 20, false}, {280, 300, false}, {290, 310, true}, {-1, 19, true},
    };
    for (const auto& box : boxes) EXPECT_EQ(boxOutsideClient(box.top, box.bottom, 300), box.outside) << box.top;
}

}  // namespace
}  // namespace kelvo
