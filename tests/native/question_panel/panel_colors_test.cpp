#include <gtest/gtest.h>

#include "question_panel/panel_colors.h"
#include "support/fake_drawing_objects.h"

namespace kelvo {
namespace {

TEST(PanelColors, ByIdentifierAndVerdict) {
    testing::FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    quiz.questionCount = 3;
    quiz.answersPerQuestion = 2;
    struct Case { int id; const char* text; PanelBrush brush; bool transparent; } cases[] = {
        {5001, "BRAVO", PanelBrush::Right, false},
        {5006, "FAUX", PanelBrush::Wrong, false},
        {5002, "Anagramme", PanelBrush::Anagram, false},
        {5003, "Trop long", PanelBrush::Close, false},
        {5003, "bravo", PanelBrush::Close, false},       // compared exactly, case included
        {5004, "?", PanelBrush::None, false},
        {5007, "BRAVO", PanelBrush::None, false},        // beyond the answer slots
        {3000, "prompt", PanelBrush::Prompt, false},
        {153, "1.", PanelBrush::Back, true},
        {156, "caption", PanelBrush::Back, true},
        {8006, "reveal", PanelBrush::Back, true},
        {9901, "", PanelBrush::None, false},             // picture boxes keep the defaults
    };
    for (const auto& test : cases) {
        StaticColors colors = colorsForStatic(quiz, test.id, test.text);
        EXPECT_EQ(colors.brush, test.brush) << test.id << " " << test.text;
        EXPECT_EQ(colors.transparentText, test.transparent) << test.id;
    }
    EXPECT_EQ(brushHandle(quiz, PanelBrush::Right), quiz.rightBrush);
    EXPECT_EQ(brushHandle(quiz, PanelBrush::None), nullptr);
}

TEST(PanelColors, WhiteTextOnlyOnDarkQuizColours) {
    testing::FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    struct { int red, green; std::uint32_t text; } cases[] = {
        {69, 69, 0xffffff}, {70, 0, 0x000000}, {0, 70, 0x000000}, {0, 0, 0xffffff}, {255, 255, 0x000000},
    };
    for (const auto& test : cases) {
        quiz.setColor(test.red, test.green, 200);
        EXPECT_EQ(labelTextColor(quiz), test.text) << test.red << "," << test.green;
    }
}

}  // namespace
}  // namespace kelvo
