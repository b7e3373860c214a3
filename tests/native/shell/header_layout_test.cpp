#include "shell/header_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/header_ids.h"
#include "shell/shell_texts.h"
#include "support/fake_drawing_objects.h"

namespace kelvo {
namespace {

using namespace HeaderLayout;

const Control* find(const std::array<Control, ControlCount>& all, int id) {
    for (const Control& control : all)
        if (control.id == id) return &control;
    return nullptr;
}

const Placement* find(const std::array<Placement, PlacementCount>& all, int id) {
    for (const Placement& placement : all)
        if (placement.id == id) return &placement;
    return nullptr;
}

TEST(HeaderLayout, ControlsTakeTheirTextsFromTheQuiz) {
    testing::FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    copyText(quiz.title, "Capitales");
    copyText(quiz.author, "Ana\xEFs");
    copyText(quiz.explanation, "Trouvez la capitale");
    quiz.questionCount = 12;
    const auto all = controls(quiz);

    EXPECT_EQ(find(all, HeaderIds::Title)->text, "Capitales");
    EXPECT_EQ(find(all, HeaderIds::Author)->text, "Ana\xEFs");
    EXPECT_EQ(find(all, HeaderIds::Explanation)->text, "Trouvez la capitale");
    EXPECT_EQ(find(all, HeaderIds::ScoreLabel)->text, " 0 / 12");
    EXPECT_EQ(find(all, HeaderIds::Link)->text, displayedWebAddress(ShellTexts::MakerWebAddress));
    EXPECT_EQ(find(all, HeaderIds::CodeBox)->text, "");
}

TEST(HeaderLayout, LinkShowsTheAddressWithoutSchemeAndFinalSlash) {
    EXPECT_EQ(displayedWebAddress("https://kelvo.example.org/"), "kelvo.example.org");
    EXPECT_EQ(displayedWebAddress("http://example.org/quiz/"), "example.org/quiz");
    EXPECT_EQ(displayedWebAddress("www.example.org"), "www.example.org");
    EXPECT_EQ(displayedWebAddress(""), "");
}

TEST(HeaderLayout, ControlsAreMadeInTheirOrderWithTheirKindsAndFonts) {
    testing::FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    const auto all = controls(quiz);
    using namespace HeaderIds;
    const int order[] = {Link, ByLabel, Author, SaveButton, Explanation, Title, CodeLabel, ScoreLabel, CodeBox,
                         ScoreRule, LeftRule, RightRule};
    for (int i = 0; i < ControlCount; ++i) EXPECT_EQ(all[i].id, order[i]) << "position " << i;

    EXPECT_EQ(find(all, Link)->style, 0x50000100u);
    EXPECT_EQ(find(all, Link)->font, ControlFont::Link);
    EXPECT_EQ(std::string(find(all, SaveButton)->className), "button");
    EXPECT_EQ(std::string(find(all, CodeBox)->className), "edit");
    EXPECT_EQ(find(all, CodeBox)->style, 0x50000800u);
    EXPECT_EQ(find(all, ScoreLabel)->style, 0x50000001u);
    EXPECT_EQ(find(all, ScoreLabel)->font, ControlFont::QuizScore);
    EXPECT_EQ(find(all, Title)->font, ControlFont::QuizTitle);
    for (int rule : {ScoreRule, LeftRule, RightRule}) {
        EXPECT_EQ(find(all, rule)->style, 0x50800000u);
        EXPECT_EQ(find(all, rule)->font, ControlFont::None);
    }
}

TEST(HeaderLayout, RightHandControlsFollowTheRightEdge) {
    using namespace HeaderIds;
    struct Case {
        int width;
        int explanationWidth;
        const char* why;
    };
    const Case cases[] = {
        {517, 193, "the panel as the main window opens"},
        {1000, 676, "a wide window"},
        {325, 1, "one pixel of explanation left"},
        {324, 0, "the explanation disappears"},
        {200, 0, "narrower still: no negative width, the right side slides over the title"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const int w = c.width;
        const auto all = placements(w);
        EXPECT_EQ(find(all, Link)->rect, (Rect{w - 134, 0, 115, 18}));
        EXPECT_EQ(find(all, ByLabel)->rect, (Rect{w - 134, 25, 26, 18}));
        EXPECT_EQ(find(all, Author)->rect, (Rect{w - 107, 25, 105, 18}));
        EXPECT_EQ(find(all, SaveButton)->rect, (Rect{w - 204, 25, 55, 18}));
        EXPECT_EQ(find(all, Explanation)->rect, (Rect{110, 19, c.explanationWidth, 28}));
        EXPECT_EQ(find(all, RightRule)->rect, (Rect{w - 145, 0, 1, 50}));
    }
    // The labels whose text can change repaint; the link and "Par :" do not.
    const auto all = placements(600);
    for (const Placement& placement : all)
        EXPECT_EQ(placement.invalidate, placement.id != Link && placement.id != ByLabel) << placement.id;
}

TEST(HeaderLayout, LinkFontHeightIsThreeQuartersOfTheLinkRoundedTowardZero) {
    EXPECT_EQ(linkFontHeight(18), -13);
    EXPECT_EQ(linkFontHeight(20), -15);
    EXPECT_EQ(linkFontHeight(1), 0);
}

TEST(HeaderLayout, ColoursByControl) {
    using namespace HeaderIds;
    EXPECT_EQ(coloringFor(Link), Coloring::Link);
    for (int id : {20, ByLabel, Author, Explanation, Title, CodeBox, CodeLabel, ScoreLabel})
        EXPECT_EQ(coloringFor(id), Coloring::PanelColour) << id;
    for (int id : {19, 33, ScoreRule, LeftRule, RightRule}) EXPECT_EQ(coloringFor(id), Coloring::Default) << id;
}

}  // namespace
}  // namespace kelvo
