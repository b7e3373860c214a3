#include "shell/picture_fit.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

struct FitCase {
    int width, height;
    FittedSize expected;
    const char* why;
};

TEST(FitWithin, KeepsProportionsInTheSquareBox) {
    const FitCase cases[] = {
        {640, 480, {260, 195}, "landscape 4:3 reduced"},
        {1024, 768, {260, 195}, "larger 4:3 gives the same size"},
        {800, 600, {260, 195}, "another 4:3"},
        {300, 200, {260, 173}, "173.33 truncated"},
        {200, 300, {173, 260}, "portrait: the height decides"},
        {100, 50, {260, 130}, "small pictures are enlarged"},
        {100, 100, {260, 260}, "square enlarged to the box"},
        {260, 260, {260, 260}, "already fitting keeps its size"},
        {260, 1, {260, 1}, "a thin line stays one pixel high"},
    };
    for (const FitCase& c : cases)
        EXPECT_EQ(fitWithin(c.width, c.height, PictureBoxSide, PictureBoxSide), c.expected) << c.why;
}

TEST(FitWithin, NothingWithoutArea) {
    EXPECT_EQ(fitWithin(0, 100, 260, 260), FittedSize{});
    EXPECT_EQ(fitWithin(100, -3, 260, 260), FittedSize{});
    EXPECT_EQ(fitWithin(100, 100, 0, 260), FittedSize{});
}

TEST(FitWithin, ExtremeProportionsTruncateToNothing) {
    // 10000:1 leaves less than a pixel across: the caller gets no picture.
    EXPECT_EQ(fitWithin(10000, 1, 260, 260).height, 0);
}

}  // namespace
}  // namespace kelvo
