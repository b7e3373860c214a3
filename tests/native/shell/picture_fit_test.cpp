#include "platform/picture_fit.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(FitWithin, KeepsProportionsInTheBox) {
    const struct { int width, height, boxSide; FittedSize expected; const char* why; } cases[] = {
        {640, 480, 260, {260, 195}, "landscape 4:3 reduced"},
        {300, 200, 260, {260, 173}, "173.33 truncated"},
        {200, 300, 260, {173, 260}, "portrait: the height decides"},
        {100, 50, 260, {260, 130}, "small pictures are enlarged"},
        {260, 1, 260, {260, 1}, "a thin line stays one pixel high"},
        {10000, 1, 260, {260, 0}, "less than a pixel across truncates to nothing"},
        {0, 100, 260, {}, "a picture without area"},
        {100, -3, 260, {}, "a negative side"},
        {100, 100, 0, {}, "a box without area"},
    };
    for (const auto& c : cases) EXPECT_EQ(fitWithin(c.width, c.height, c.boxSide, c.boxSide), c.expected) << c.why;
}

}  // namespace
}  // namespace kelvo
