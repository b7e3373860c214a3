#include <gtest/gtest.h>

#include <string>

#include "quiz/quiz.h"
#include "support/fake_drawing_objects.h"

namespace kelvo {
namespace {

using testing::FakeDrawingObjects;

TEST(QuizRecord, ConstructionMakesTwoFontsAndSixBrushesWithTheDefaults) {
    FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    ASSERT_EQ(drawing.createdInOrder.size(), 8u);
    EXPECT_EQ(drawing.made(quiz.scoreFont).font.height, 25);
    EXPECT_EQ(drawing.made(quiz.scoreFont).font.weight, 400);
    EXPECT_EQ(drawing.made(quiz.titleFont).font.height, -15);
    EXPECT_EQ(drawing.made(quiz.titleFont).font.weight, 700);
    EXPECT_TRUE(drawing.made(quiz.titleFont).font.italic);
    struct { DrawingHandle brush; std::uint32_t color; } brushes[] = {
        {quiz.backBrush, 0x965f5a},  // default components 90, 150, 95 in field order red, blue, green
        {quiz.wrongBrush, 0x0000ff}, {quiz.rightBrush, 0x00ff00}, {quiz.anagramBrush, 0x0064ff},
        {quiz.closeBrush, 0x26cbff}, {quiz.promptBrush, 0xc0ffff},
    };
    for (const auto& expected : brushes) EXPECT_EQ(drawing.made(expected.brush).color, expected.color);
    EXPECT_STREQ(quiz.title, "nom du kelvo");
    EXPECT_STREQ(quiz.author, " createur");
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_EQ(quiz.answersPerQuestion, 1);
    EXPECT_EQ(quiz.questionFont, nullptr);
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
        EXPECT_EQ(drawing.liveCount(), 0);
        EXPECT_FALSE(drawing.releasedTwice());
    }
}

TEST(QuizRecord, ReplacingTheColourReleasesTheOldBackBrush) {
    FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    DrawingHandle old = quiz.backBrush;
    quiz.setColor(16, 32, 48);
    EXPECT_EQ(drawing.made(quiz.backBrush).color, 0x302010u);
    EXPECT_EQ(drawing.released, std::vector<DrawingHandle>{old});
}

TEST(QuestionList, AppendLinksBothWaysAndQuestionAtClamps) {
    FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    EXPECT_EQ(quiz.questionAt(1), nullptr);
    quiz.addQuestion("one", "", "");
    EXPECT_EQ(quiz.firstQuestion(), quiz.lastQuestion());
    EXPECT_EQ(quiz.firstQuestion()->previous, nullptr);
    EXPECT_EQ(quiz.firstQuestion()->next, nullptr);
    quiz.addQuestion("two", "", "");
    quiz.addQuestion("three", "", "");
    struct { int n; const char* answer; } rows[] = {{1, "one"}, {2, "two"}, {3, "three"}, {7, "three"}, {0, "one"}};
    for (const auto& row : rows) EXPECT_STREQ(quiz.questionAt(row.n)->answer, row.answer) << row.n;
    EXPECT_EQ(quiz.lastQuestion()->previous->previous, quiz.firstQuestion());
}

TEST(QuestionList, TextsKeepAtMost259Characters) {
    FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    std::string prompt259(259, 'p');
    std::string long300(300, 'x');
    quiz.addQuestion(long300.c_str(), "", prompt259.c_str());
    EXPECT_EQ(std::string(quiz.firstQuestion()->prompt), prompt259);
    EXPECT_EQ(std::string(quiz.firstQuestion()->answer), std::string(259, 'x'));
    EXPECT_STREQ(quiz.firstQuestion()->revealText, "");
}

}  // namespace
}  // namespace kelvo
