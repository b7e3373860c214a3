#include "checking/evaluation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "checking/answer_slots.h"
#include "checking/verdicts.h"
#include "question_panel/control_ids.h"
#include "shell/header_ids.h"
#include "support/fake_drawing_objects.h"
#include "support/in_memory_panel.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using testing::InMemoryPanel;

constexpr char SixBlanks[] = "      ";

class Evaluation : public ::testing::Test {
protected:
    // Question n expects "REPONSE n" (and "SECONDE n"); code k is "CODE k".
    void makeQuiz(int kind, int answersPerQuestion, int revealMode, int questionCount) {
        quiz.kind = kind;
        quiz.answersPerQuestion = answersPerQuestion;
        quiz.revealMode = revealMode;
        quiz.questionCount = questionCount;
        for (int n = 1; n <= questionCount; ++n) {
            const std::string second = answersPerQuestion == 2 ? "Seconde " + std::to_string(n) : "";
            quiz.addQuestion(("Reponse " + std::to_string(n)).c_str(), second.c_str(), "");
            copyText(quiz.codes[n - 1], ("CODE " + std::to_string(n)).c_str());
        }
        panel.buildFor(quiz);
    }
    static std::string right(int n) { return "reponse " + std::to_string(n); }
    static std::string second(int n) { return "seconde " + std::to_string(n); }

    void answer(int boxId, const std::string& text) {
        panel.type(boxId, text);
        evaluateAnswer(quiz, panel, boxId);
    }
    std::string score() { return panel.header.at(HeaderIds::ScoreLabel); }
    std::string code() { return panel.header.at(HeaderIds::CodeBox); }

    kelvo::testing::FakeDrawingObjects drawing;
    Quiz quiz{drawing};
    InMemoryPanel panel;
};

TEST_F(Evaluation, ScoreAndCodeFollowTheNumberOfRightQuestions) {
    makeQuiz(QuizKind::Text, 1, RevealMode::None, 10);
    answer(4001, "faux");
    EXPECT_EQ(score(), " 0 / 10");
    EXPECT_EQ(code(), SixBlanks);

    answer(4002, right(2));
    answer(4005, right(5));
    answer(4009, right(9));
    EXPECT_EQ(panel.verdict(4009), Verdicts::Right);
    EXPECT_EQ(score(), " 3 / 10");
    EXPECT_EQ(code(), "CODE 3");  // the third code, whichever questions are right

    answer(4005, "");
    EXPECT_EQ(panel.verdict(4005), Verdicts::Empty);
    EXPECT_EQ(score(), " 2 / 10");
    EXPECT_EQ(code(), "CODE 2");
}

TEST_F(Evaluation, EmptyQuizScoresZeroOfZero) {
    makeQuiz(QuizKind::Text, 1, RevealMode::None, 0);
    updateScore(quiz, panel);
    EXPECT_EQ(score(), " 0 / 0");
    EXPECT_EQ(code(), SixBlanks);
}

TEST_F(Evaluation, TwoAnswerGridPairsBoxesAndCountsAQuestionOnlyWhenBothAreRight) {
    makeQuiz(QuizKind::Picture, 2, RevealMode::None, 3);
    answer(4003, right(2));   // question 2, slot 1
    answer(4004, second(2));  // question 2, slot 2
    answer(4005, right(3));
    EXPECT_EQ(panel.verdict(4003), Verdicts::Right);
    EXPECT_EQ(panel.verdict(4004), Verdicts::Right);
    EXPECT_EQ(score(), " 1 / 3");
    EXPECT_EQ(code(), "CODE 1");

    answer(4006, right(3));  // the first answer typed into the second slot
    EXPECT_NE(panel.verdict(4006), Verdicts::Right);
    EXPECT_EQ(score(), " 1 / 3");
}

TEST_F(Evaluation, TextQuizWithTwoAnswersChecksEveryBoxAgainstItsOwnQuestion) {
    makeQuiz(QuizKind::Text, 2, RevealMode::None, 3);
    EXPECT_EQ(answerBoxCount(quiz), 3);
    answer(4002, second(1));  // what the two-by-two pairing would have expected
    EXPECT_NE(panel.verdict(4002), Verdicts::Right);
    answer(4002, right(2));
    EXPECT_EQ(panel.verdict(4002), Verdicts::Right);
    EXPECT_EQ(score(), " 1 / 3");

    answer(4001, right(1));
    answer(4003, right(3));
    EXPECT_EQ(score(), " 3 / 3");
    EXPECT_EQ(code(), "CODE 3");
}

TEST_F(Evaluation, TextQuizWithTwoAnswersRevealsAllOnOneBoxPerQuestion) {
    makeQuiz(QuizKind::Text, 2, RevealMode::AllAtEnd, 2);
    panel.add(PanelIds::revealLabel(1), "", false);
    panel.add(PanelIds::revealLabel(2), "", false);
    answer(4001, right(1));
    answer(4002, right(2));
    EXPECT_EQ(quiz.allCorrect, 1);
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(1)));
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(2)));
}

TEST_F(Evaluation, TextRevealFollowsTheQuestionBothWays) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Text, 2);
    answer(4002, "  Reponse 2 ");  // case and blanks around do not matter
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(2)));
    EXPECT_FALSE(panel.visible(PanelIds::revealLabel(1)));

    answer(4002, "");
    EXPECT_FALSE(panel.visible(PanelIds::revealLabel(2)));
    EXPECT_EQ(panel.picture(PanelIds::pictureBox(2)), PanelIds::PictureResourceBase + 2);  // mode 2 swaps nothing
}

TEST_F(Evaluation, LowerCaseRightAnswerCompletesTheQuestion) {
    makeQuiz(QuizKind::Video, 2, RevealMode::Text, 1);
    answer(4001, "reponse 1");
    answer(4002, "  SeConDe 1");
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(1)));
}

TEST_F(Evaluation, TwoSlotQuestionRevealsOnlyWhenBothBoxesHoldTheRightText) {
    makeQuiz(QuizKind::Picture, 2, RevealMode::Text, 2);
    answer(4002, second(1));
    EXPECT_EQ(panel.verdict(4002), Verdicts::Right);
    EXPECT_FALSE(panel.visible(PanelIds::revealLabel(1)));

    answer(4001, right(1));
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(1)));

    // A wrong verdict on either slot takes the reveal back.
    answer(4002, "seconde");
    EXPECT_FALSE(panel.visible(PanelIds::revealLabel(1)));
}

TEST_F(Evaluation, CompletenessReadsTheBoxesNotTheirLabels) {
    makeQuiz(QuizKind::Audio, 2, RevealMode::Text, 1);
    panel.type(4002, second(1));  // typed but not yet evaluated: its label still reads "?"
    answer(4001, right(1));
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(1)));
    EXPECT_EQ(panel.verdict(4002), Verdicts::Empty);
    EXPECT_EQ(score(), " 0 / 1");
}

TEST_F(Evaluation, PictureRevealIsOneWay) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Picture, 3);
    const int box = PanelIds::pictureBox(3);
    answer(4003, right(3));
    EXPECT_EQ(panel.picture(box), PanelIds::RevealPictureBase + 3);

    answer(4003, "faux");
    EXPECT_EQ(panel.picture(box), PanelIds::RevealPictureBase + 3);
    EXPECT_EQ(panel.picture(PanelIds::pictureBox(1)), PanelIds::PictureResourceBase + 1);
}

TEST_F(Evaluation, MissingRevealPictureKeepsTheOldOneAndTheVerdict) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Picture, 1);
    panel.missingPictures.insert(PanelIds::RevealPictureBase + 1);
    answer(4001, right(1));
    EXPECT_EQ(panel.verdict(4001), Verdicts::Right);
    EXPECT_EQ(panel.picture(PanelIds::pictureBox(1)), PanelIds::PictureResourceBase + 1);
}

TEST_F(Evaluation, NoPictureSwapWithoutAPictureBox) {
    for (int kind : {QuizKind::Text, QuizKind::Audio, QuizKind::Video}) {
        InMemoryPanel fresh;
        panel = fresh;
        Quiz other{drawing};
        other.kind = kind;
        other.revealMode = RevealMode::TextAndPicture;
        other.questionCount = 1;
        other.addQuestion("Oui", "", "");
        panel.buildFor(other);
        panel.type(4001, "oui");
        evaluateAnswer(other, panel, 4001);
        EXPECT_EQ(panel.verdict(4001), Verdicts::Right) << kind;
        for (const std::string& entry : panel.log) EXPECT_EQ(entry.rfind("swap", 0), std::string::npos) << kind;
    }
}

TEST_F(Evaluation, TextAndPictureShowsTheLabelThenSwaps) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::TextAndPicture, 1);
    answer(4001, right(1));
    EXPECT_THAT(panel.log, ElementsAre("show 8001", "swap 9901 10401", "text 5001 BRAVO",
                                       "header 32  1 / 1", "header 30 CODE 1"));
}

TEST_F(Evaluation, WrongAnswerHidesBeforeTheVerdictAndScoresLast) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Text, 2);
    answer(4002, "non");
    EXPECT_THAT(panel.log, ElementsAre("hide 8002", "text 5002 FAUX", "header 32  0 / 2",
                                       std::string("header 30 ") + SixBlanks));
}

TEST_F(Evaluation, AllAtEndRevealsEveryLabelOnceEverySlotIsRight) {
    makeQuiz(QuizKind::Picture, 2, RevealMode::AllAtEnd, 3);
    const std::vector<std::pair<int, std::string>> answers = {
        {4001, right(1)}, {4002, second(1)}, {4003, right(2)}, {4004, second(2)}, {4005, right(3)}};
    for (const auto& [box, text] : answers) answer(box, text);
    EXPECT_EQ(quiz.allCorrect, 0);  // one label short
    for (int n = 1; n <= 3; ++n) EXPECT_FALSE(panel.visible(PanelIds::revealLabel(n)));

    panel.log.clear();
    answer(4006, second(3));
    EXPECT_EQ(quiz.allCorrect, 1);
    EXPECT_THAT(panel.log, ElementsAre("text 5006 BRAVO", "show 8001", "show 8002", "show 8003",
                                       "header 32  3 / 3", "header 30 CODE 3"));

    // While the full reveal stands, a right answer shows nothing again.
    panel.log.clear();
    answer(4001, right(1));
    EXPECT_THAT(panel.log, ElementsAre("text 5001 BRAVO", "header 32  3 / 3", "header 30 CODE 3"));
}

TEST_F(Evaluation, AllAtEndWrongAnswerHidesOnlyItsOwnQuestion) {
    makeQuiz(QuizKind::Audio, 1, RevealMode::AllAtEnd, 3);
    for (int n = 1; n <= 3; ++n) answer(4000 + n, right(n));
    EXPECT_EQ(quiz.allCorrect, 1);

    answer(4002, "faux");
    EXPECT_EQ(quiz.allCorrect, 0);
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(1)));
    EXPECT_FALSE(panel.visible(PanelIds::revealLabel(2)));
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(3)));

    answer(4002, right(2));
    EXPECT_EQ(quiz.allCorrect, 1);
    EXPECT_TRUE(panel.visible(PanelIds::revealLabel(2)));
}

TEST_F(Evaluation, AnyWrongVerdictClearsAllCorrectInEveryMode) {
    makeQuiz(QuizKind::Text, 1, RevealMode::None, 2);
    quiz.allCorrect = 1;
    answer(4001, "");
    EXPECT_EQ(quiz.allCorrect, 0);
}

TEST_F(Evaluation, MissingControlsSkipTheirStepOnly) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Text, 2);
    panel.controls.erase(PanelIds::verdictLabel(4001));
    panel.controls.erase(PanelIds::revealLabel(1));
    answer(4001, right(1));
    EXPECT_FALSE(panel.exists(PanelIds::verdictLabel(4001)));
    EXPECT_EQ(score(), " 0 / 2");  // the score reads labels, and this one is missing
    EXPECT_EQ(code(), SixBlanks);
}

TEST_F(Evaluation, IdentifiersOutsideTheBoxesChangeNothing) {
    makeQuiz(QuizKind::Text, 1, RevealMode::Text, 2);
    for (int id : {4000, 4003, 3000, 5001}) evaluateAnswer(quiz, panel, id);
    EXPECT_TRUE(panel.log.empty());
}

TEST_F(Evaluation, UnknownKindHasNoBoxes) {
    makeQuiz(7, 1, RevealMode::None, 2);
    panel.add(4001, right(1));
    panel.add(5001, "?");
    evaluateAnswer(quiz, panel, 4001);
    EXPECT_TRUE(panel.log.empty());
}

TEST_F(Evaluation, ShortQuestionListRepeatsTheLastQuestion) {
    makeQuiz(QuizKind::Text, 1, RevealMode::None, 2);
    quiz.questionCount = 4;
    panel.buildFor(quiz);
    answer(4004, right(2));
    EXPECT_EQ(panel.verdict(4004), Verdicts::Right);
    EXPECT_EQ(score(), " 1 / 4");
}

TEST_F(Evaluation, EmptyQuestionListComparesWithEmptyAnswers) {
    makeQuiz(QuizKind::Picture, 2, RevealMode::Text, 0);
    quiz.questionCount = 2;
    panel.buildFor(quiz);
    answer(4003, "a");
    EXPECT_EQ(panel.verdict(4003), Verdicts::AlmostRight);
    answer(4004, "abc");
    EXPECT_EQ(panel.verdict(4004), Verdicts::Wrong);
}

TEST(AnswerSlots, BoxCountsFollowTheKindAndAnswersPerQuestion) {
    kelvo::testing::FakeDrawingObjects drawing;
    Quiz quiz{drawing};
    const struct {
        int kind, answers, questions, boxes, slots;
        const char* why;
    } rows[] = {
        {QuizKind::Text, 1, 5, 5, 1, "one box per question"},
        {QuizKind::Text, 2, 5, 5, 1, "a text quiz shows one box even with two answers"},
        {QuizKind::Picture, 2, 5, 10, 2, "grids pair the boxes"},
        {QuizKind::Video, 1, 96, 96, 1, "the largest quiz"},
        {QuizKind::Audio, 2, 0, 0, 2, "no questions"},
        {QuizKind::Picture, 3, 5, 0, 3, "the panel builds no boxes for three answers"},
        {4, 1, 5, 0, 1, "unknown kind"},
        {-1, 1, 5, 0, 1, "unknown kind"},
        {QuizKind::Text, 1, 200, 96, 1, "never more questions than the codes table holds"},
    };
    for (const auto& row : rows) {
        quiz.kind = row.kind;
        quiz.answersPerQuestion = row.answers;
        quiz.questionCount = row.questions;
        EXPECT_EQ(answerBoxCount(quiz), row.boxes) << row.why;
        EXPECT_EQ(slotsPerQuestion(quiz), row.slots) << row.why;
    }
}

TEST(AnswerSlots, BoxesMapToQuestionAndSlotAndBack) {
    kelvo::testing::FakeDrawingObjects drawing;
    Quiz quiz{drawing};
    quiz.questionCount = 3;
    quiz.answersPerQuestion = 2;
    quiz.kind = QuizKind::Picture;
    const struct {
        int box, questionIndex, slot;
    } rows[] = {{4001, 0, 1}, {4002, 0, 2}, {4003, 1, 1}, {4004, 1, 2}, {4006, 2, 2}};
    for (const auto& row : rows) {
        const auto slot = slotForBox(quiz, row.box);
        ASSERT_TRUE(slot.has_value()) << row.box;
        EXPECT_EQ(slot->questionIndex, row.questionIndex) << row.box;
        EXPECT_EQ(slot->slot, row.slot) << row.box;
        EXPECT_EQ(answerBoxId(quiz, row.questionIndex, row.slot), row.box);
    }
    EXPECT_FALSE(slotForBox(quiz, 4000).has_value());
    EXPECT_FALSE(slotForBox(quiz, 4007).has_value());

    quiz.kind = QuizKind::Text;
    const auto textSlot = slotForBox(quiz, 4003);
    ASSERT_TRUE(textSlot.has_value());
    EXPECT_EQ(textSlot->questionIndex, 2);
    EXPECT_EQ(textSlot->slot, 1);
    EXPECT_FALSE(slotForBox(quiz, 4004).has_value());
}

}  // namespace
}  // namespace kelvo
