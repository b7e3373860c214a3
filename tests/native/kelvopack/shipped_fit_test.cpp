#include "core/shipped_fit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <numeric>
#include <string>
#include <vector>

namespace kelvo::pack {
namespace {

// Where this build evaluates in x87 extended precision (the i686 tree, -Os
// as the player is built), its own fit is the shipped player's.
constexpr bool EvaluatesAsTheShippedPlayer = FLT_EVAL_METHOD == 2;
constexpr int Side = PictureBoxSide;

std::string text(const FittedSize& size) { return std::to_string(size.width) + " x " + std::to_string(size.height); }

TEST(ShippedPlayerFit, GivesWhatTheShipped32BitPlayerShows) {
    const struct { int width, height; FittedSize shipped, inDouble; const char* why; } cases[] = {
        {4105, 3000, {260, 190}, {259, 190}, "4105 x (260 / 4105) comes to 260 in extended, just under in double"},
        {1000, 900, {260, 233}, {260, 234}, "900 x (260 / 1000) rounds to 234 in double, stays just under in extended"},
        {900, 1000, {233, 260}, {234, 260}, "held upright"},
        {124, 93, {260, 194}, {260, 195}, "a 4:3 photo's short side, one lower than in double"},
        {30, 27, {260, 234}, {260, 233}, "and one higher"},
        {8267, 8267, {259, 259}, {260, 260}, "a square the shipped player shows smaller than its box"},
        {4000, 3000, {260, 195}, {260, 195}, "a phone photo, alike in both"},
        {2147483647, 1, {260, 0}, {260, 0}, "the largest side: less than a pixel across"},
        {1, 1, {260, 260}, {260, 260}, "the largest ratio"},
        {100, -3, {}, {}, "no area"},
    };
    for (const auto& c : cases) {
        const FittedSize thisBuild = EvaluatesAsTheShippedPlayer ? c.shipped : c.inDouble;
        EXPECT_EQ(text(shippedPlayerFit(c.width, c.height, Side, Side)), text(c.shipped)) << c.why;
        EXPECT_EQ(text(fitWithin(c.width, c.height, Side, Side)), text(thisBuild)) << c.why << " (this build's fit)";
    }
}

// Every size up to 1000 x 1000, and up to 9000 x 9000 every size whose exact
// short side is whole: only there can rounding decide the truncation, and
// every disagreement of x87 and double lies there.
std::vector<std::pair<int, int>> sweptSizes() {
    std::vector<std::pair<int, int>> sizes;
    for (int width = 1; width <= 1000; ++width)
        for (int height = 1; height <= 1000; ++height) sizes.emplace_back(width, height);
    for (int longSide = 1; longSide <= 9000; ++longSide) {
        const int step = longSide / std::gcd(longSide, Side);
        for (int shortSide = step; shortSide <= longSide; shortSide += step) {
            sizes.emplace_back(longSide, shortSide);
            if (shortSide != longSide) sizes.emplace_back(shortSide, longSide);
        }
    }
    return sizes;
}

TEST(ShippedPlayerFit, IsThePlayersOwnFitOverASweep) {
    if (!EvaluatesAsTheShippedPlayer)
        GTEST_SKIP() << "this build fits in double: the sweep runs in the i686 tree, whose fit is the shipped player's";
    const std::vector<std::pair<int, int>> sizes = sweptSizes();
    int differences = 0;
    for (const auto& [width, height] : sizes) {
        const auto shown = fitWithin(width, height, Side, Side), exact = shippedPlayerFit(width, height, Side, Side);
        if (!(exact == shown) && ++differences <= 10)
            ADD_FAILURE() << width << " x " << height << ": shown " << text(shown) << ", computed " << text(exact);
    }
    EXPECT_EQ(differences, 0) << "of " << sizes.size() << " sizes";
}

}  // namespace
}  // namespace kelvo::pack
