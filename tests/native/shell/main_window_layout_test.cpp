#include "shell/main_window_layout.h"

#include <gtest/gtest.h>


namespace kelvo {
namespace {

using namespace MainWindowGeometry;

TEST(MainWindowLayout, PanelsShareTheirBorderRowAndTheLabelHugsTheLowerRightCorner) {
    const struct { int width, height; Rect questionPanel, headerPanel, versionLabel; const char* why; } cases[] = {
        {528, 336, {5, 50, 517, 268}, {5, 2, 517, 49}, {383, 320, 140, 15}, "the client area of the window as it opens"},
        {1000, 700, {5, 50, 989, 632}, {5, 2, 989, 49}, {855, 684, 140, 15}, "a larger window stretches both panels"},
        {5, 10, {5, 50, -6, -58}, {5, 2, -6, 49}, {-140, -6, 140, 15}, "smaller than the margins: the platform clamps"},
    };
    for (const auto& c : cases) {
        const Layout layout = MainWindowGeometry::layout(c.width, c.height);
        EXPECT_EQ(layout.questionPanel, c.questionPanel) << c.why;
        EXPECT_EQ(layout.headerPanel, c.headerPanel) << c.why;
        EXPECT_EQ(layout.versionLabel, c.versionLabel) << c.why;
    }
    EXPECT_EQ(versionLabelAtCreation(336), (Rect{725, 320, 130, 15}));
}

TEST(MainWindowLayout, CentringHalvesTheSpareRoomRoundingTowardZero) {
    const struct { Edges desktop, window; Point expected; const char* why; } cases[] = {
        {{0, 0, 1280, 1024}, {0, 0, 544, 375}, {368, 324}, "odd spare height rounds down"},
        {{0, 0, 1024, 768}, {100, 100, 644, 475}, {240, 196}, "the window's own position does not matter"},
        {{-1280, 0, 0, 1024}, {0, 0, 544, 375}, {-912, 324}, "a desktop left of the origin"},
        {{0, 0, 400, 300}, {0, 0, 544, 375}, {-72, -37}, "a window larger than the desktop: -75 / 2 is -37, not -38"},
    };
    for (const auto& c : cases) EXPECT_EQ(centredOrigin(c.desktop, c.window), c.expected) << c.why;
}

}  // namespace
}  // namespace kelvo
