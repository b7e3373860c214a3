#include "shell/header_layout.h"

#include <gtest/gtest.h>

#include "shell/header_ids.h"
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
    const struct {
        int width, explanationWidth;
        const char* why;
    } cases[] = {
        {517, 193, "the panel as the main window opens"},
        {325, 1, "one pixel of explanation left"},
        {324, 0, "the explanation disappears"},
        {200, 0, "narrower still: no negative width, the right side slides over the title"},
    };
    for (const auto& c : cases) {
        const int w = c.width;
        const Rect expected[] = {{w - 134, 0, 115, 18}, {w - 134, 25, 26, 18}, {w - 107, 25, 105, 18},
                                 {w - 204, 25, 55, 18}, {110, 19, c.explanationWidth, 28}, {w - 145, 0, 1, 50}};
        const int ids[] = {Link, ByLabel, Author, SaveButton, Explanation, RightRule};
        const auto all = placements(w);
        for (int i = 0; i < PlacementCount; ++i) {
            EXPECT_EQ(all[i].id, ids[i]) << c.why;
            EXPECT_EQ(all[i].rect, expected[i]) << c.why << ", control " << ids[i];
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
