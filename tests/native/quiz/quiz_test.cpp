#include <gtest/gtest.h>

#include <string>

#include "quiz/quiz.h"
#include "support/fake_drawing_objects.h"

namespace kelvo {
namespace {

using testing::FakeDrawingObjects;

// The brushes colour the panel and the verdicts, and the colour components
// are stored red, blue, green while the colour itself is red, green, blue.
TEST(QuizRecord, BrushesHaveTheirColoursAndANewQuizColourReplacesTheOldBrush) {
    FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    struct { DrawingHandle brush; std::uint32_t color; } brushes[] = {
        {quiz.backBrush, 0x965f5a},  // default components 90, 150, 95 in field order red, blue, green
        {quiz.wrongBrush, 0x0000ff}, {quiz.rightBrush, 0x00ff00}, {quiz.anagramBrush, 0x0064ff},
        {quiz.closeBrush, 0x26cbff}, {quiz.promptBrush, 0xc0ffff},
    };
    for (const auto& expected : brushes) EXPECT_EQ(drawing.colorOf(expected.brush), expected.color);

    DrawingHandle old = quiz.backBrush;
    quiz.setColor(16, 32, 48);
    EXPECT_EQ(drawing.colorOf(quiz.backBrush), 0x302010u);
    EXPECT_EQ(drawing.released, std::vector<DrawingHandle>{old});
}

TEST(QuizRecord, DestructionReleasesInOrderAndOnlyWhatWasMade) {
    for (bool withQuestionFont : {false, true}) {
        FakeDrawingObjects drawing;
        std::vector<DrawingHandle> expected;
        {
            Quiz quiz(drawing);
            quiz.addQuestion("a", "", "p");
            if (withQuestionFont) quiz.createQuestionFont();
            expected = {quiz.backBrush, quiz.wrongBrush, quiz.rightBrush, quiz.anagramBrush,
                        quiz.closeBrush, quiz.promptBrush, quiz.titleFont};
            if (withQuestionFont) expected.push_back(quiz.questionFont);
            expected.push_back(quiz.scoreFont);
        }
        EXPECT_EQ(drawing.released, expected) << "question font made: " << withQuestionFont;
        EXPECT_FALSE(drawing.releasedTwice());
    }
}

TEST(QuestionList, AppendLinksBothWaysClampsQuestionAtAndCutsTexts) {
    FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    EXPECT_EQ(quiz.questionAt(1), nullptr);
    std::string long300(300, 'x');
    quiz.addQuestion(long300.c_str(), "", std::string(259, 'p').c_str());
    quiz.addQuestion("two", "", "");
    quiz.addQuestion("three", "", "");
    EXPECT_EQ(std::string(quiz.firstQuestion()->answer), std::string(259, 'x'));
    EXPECT_EQ(std::string(quiz.firstQuestion()->prompt), std::string(259, 'p'));
    struct { int n; Question* expected; } rows[] = {
        {2, quiz.firstQuestion()->next}, {3, quiz.lastQuestion()}, {7, quiz.lastQuestion()}, {0, quiz.firstQuestion()}};
    for (const auto& row : rows) EXPECT_EQ(quiz.questionAt(row.n), row.expected) << row.n;
    EXPECT_STREQ(quiz.lastQuestion()->answer, "three");
    EXPECT_EQ(quiz.firstQuestion()->previous, nullptr);
    EXPECT_EQ(quiz.lastQuestion()->next, nullptr);
    EXPECT_EQ(quiz.lastQuestion()->previous->previous, quiz.firstQuestion());
}

}  // namespace
}  // namespace kelvo
