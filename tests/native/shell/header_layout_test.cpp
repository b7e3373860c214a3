#include "shell/header_layout.h"

#include <gtest/gtest.h>

#include "resources/header_ids.h"
#include "shell/shell_texts.h"

namespace kelvo {
namespace {

using namespace HeaderLayout;
using namespace HeaderIds;

TEST(HeaderLayout, LinkShowsTheAddressWithoutSchemeAndFinalSlash) {
    EXPECT_EQ(displayedWebAddress("https://kelvo.example.org/"), "kelvo.example.org");
    EXPECT_EQ(displayedWebAddress("http://example.org/quiz/"), "example.org/quiz");
    EXPECT_EQ(displayedWebAddress("www.example.org"), "www.example.org");
    EXPECT_EQ(displayedWebAddress(""), "");
    EXPECT_EQ(linkFontHeight(18), -13);  // three quarters of the link, toward zero
    EXPECT_EQ(linkFontHeight(1), 0);
}

TEST(HeaderLayout, RightHandControlsFollowTheRightEdge) {
    const struct { int width, left, authorX, saveX, ruleX, explanationWidth; const char* why; } rows[] = {
        {517, 383, 410, 313, 372, 193, "the panel as the main window opens"},
        {325, 191, 218, 121, 180, 1, "one pixel of explanation left"},
        {324, 190, 217, 120, 179, 0, "the explanation disappears"},
        {200, 66, 93, -4, 55, 0, "narrower still: no negative width, the right side slides over the title"},
    };
    for (const auto& row : rows) {
        const Rect expected[] = {{row.left, 0, 115, 18},    {row.left, 25, 26, 18},
                                 {row.authorX, 25, 105, 18}, {row.saveX, 25, 55, 18},
                                 {110, 19, row.explanationWidth, 28}, {row.ruleX, 0, 1, 50}};
        const int ids[] = {Link, ByLabel, Author, SaveButton, Explanation, RightRule};
        const auto all = placements(row.width);
        for (int i = 0; i < PlacementCount; ++i) {
            EXPECT_EQ(all[i].id, ids[i]) << row.why;
            EXPECT_EQ(all[i].rect, expected[i]) << row.why << ", control " << ids[i];
        }
    }
}

TEST(HeaderLayout, ColoursByControl) {
    EXPECT_EQ(coloringFor(Link), Coloring::Link);
    for (int id : {20, ByLabel, Author, Explanation, Title, CodeBox, CodeLabel, ScoreLabel})
        EXPECT_EQ(coloringFor(id), Coloring::PanelColour) << id;
    for (int id : {19, 33, ScoreRule, LeftRule, RightRule}) EXPECT_EQ(coloringFor(id), Coloring::Default) << id;
}

}  // namespace
}  // namespace kelvo
