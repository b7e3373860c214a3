#include "shell/main_window_layout.h"

#include <gtest/gtest.h>

#include "question_panel/control_ids.h"

namespace kelvo {
namespace {

using namespace MainWindowGeometry;

TEST(MainWindowLayout, PanelsShareTheirBorderRowAndTheLabelHugsTheLowerRightCorner) {
    struct Case {
        int width, height;
        const char* why;
    };
    const Case cases[] = {
        {528, 336, "the client area of the window as it opens"},
        {1000, 700, "a larger window stretches both panels"},
        {11, 68, "panels shrunk to nothing"},
        {5, 10, "smaller still: the arithmetic is kept, the platform clamps"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const Layout layout = MainWindowGeometry::layout(c.width, c.height);
        EXPECT_EQ(layout.questionPanel, (Rect{5, 50, c.width - 11, c.height - 68}));
        EXPECT_EQ(layout.headerPanel, (Rect{5, 2, c.width - 11, 49}));
        EXPECT_EQ(layout.headerPanel.y + layout.headerPanel.height - 1, layout.questionPanel.y);
        EXPECT_EQ(layout.versionLabel, (Rect{c.width - 145, c.height - 16, 140, 15}));
        EXPECT_EQ(c.width - (layout.versionLabel.x + layout.versionLabel.width), 5);
    }
}

TEST(MainWindowLayout, VersionLabelStartsNarrowerAndFarRight) {
    EXPECT_EQ(versionLabelAtCreation(336), (Rect{725, 320, 130, 15}));
}

TEST(MainWindowLayout, CentringHalvesTheSpareRoomRoundingTowardZero) {
    struct Case {
        Edges desktop, window;
        Point expected;
        const char* why;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, {0, 0, 544, 375}, {368, 324}, "odd spare height rounds down"},
        {{0, 0, 1024, 768}, {100, 100, 644, 475}, {240, 196}, "the window's own position does not matter"},
        {{-1280, 0, 0, 1024}, {0, 0, 544, 375}, {-912, 324}, "a desktop left of the origin"},
        {{0, 0, 400, 300}, {0, 0, 544, 375}, {-72, -37}, "a window larger than the desktop: -75 / 2 is -37, not -38"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(centredOrigin(c.desktop, c.window), c.expected);
    }
}

TEST(MainWindowLayout, OnlyASingleWheelNotchScrolls) {
    struct Case {
        int distance, request;
        const char* why;
    };
    const Case cases[] = {
        {120, PanelIds::ScrollUp50, "one notch away from the user"},
        {-120, PanelIds::ScrollDown50, "one notch toward the user"},
        {240, 0, "two notches in one message"},
        {-240, 0, "two notches toward the user"},
        {60, 0, "half a notch from a fine-grained wheel"},
        {0, 0, "no distance"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(wheelScrollRequest(c.distance), c.request);
    }
}

}  // namespace
}  // namespace kelvo
