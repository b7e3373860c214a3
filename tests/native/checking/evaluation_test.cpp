#include "checking/evaluation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "checking/answer_slots.h"
#include "checking/verdicts.h"
#include "resources/control_ids.h"
#include "resources/header_ids.h"
#include "support/fake_drawing_objects.h"
#include "support/in_memory_panel.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

constexpr char SixBlanks[] = "      ";

class Evaluation : public ::testing::Test {
protected:
    // Question n expects "Reponse n" (and "Seconde n"); code k is "CODE k".
    // A fresh quiz and panel; questionCount may exceed the questions loaded.
    void makeQuiz(int kind, int answersPerQuestion, int revealMode, int loaded, int questionCount = -1) {
        storage.emplace(drawing);
        panel = {};
        quiz.kind = kind;
        quiz.answersPerQuestion = answersPerQuestion;
        quiz.revealMode = revealMode;
        quiz.questionCount = questionCount < 0 ? loaded : questionCount;
        for (int n = 1; n <= loaded; ++n) {
            quiz.addQuestion(("Reponse " + std::to_string(n)).c_str(),
                             answersPerQuestion == 2 ? ("Seconde " + std::to_string(n)).c_str() : "", "");
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
    std::string score() { return panel.header.at(HeaderIds::ScoreLabel) + " " + panel.header.at(HeaderIds::CodeBox); }
    bool revealed(int n) { return panel.visible(PanelIds::revealLabel(n)); }

    kelvo::testing::FakeDrawingObjects drawing;
    std::optional<Quiz> storage{std::in_place, drawing};  // not assignable: emplaced afresh
    Quiz& quiz = *storage;
    kelvo::testing::InMemoryPanel panel;
};

TEST_F(Evaluation, ScoreAndCodeFollowTheNumberOfRightQuestions) {
    makeQuiz(QuizKind::Text, 1, RevealMode::None, 10);
    quiz.allCorrect = 1;
    answer(4001, "faux");
    EXPECT_EQ(score(), std::string(" 0 / 10 ") + SixBlanks);
    EXPECT_EQ(quiz.allCorrect, 0) << "any wrong verdict takes it back, whatever the mode";

    for (int box : {4002, 4005, 4009}) answer(box, right(box - 4000));
    EXPECT_EQ(panel.verdict(4009), Verdicts::Right);
    EXPECT_EQ(score(), " 3 / 10 CODE 3");  // the third code, whichever questions are right

    answer(4005, "");
    EXPECT_EQ(panel.verdict(4005), Verdicts::Empty);
    EXPECT_EQ(score(), " 2 / 10 CODE 2");

    makeQuiz(QuizKind::Text, 1, RevealMode::None, 0);
    updateScore(quiz, panel);
    EXPECT_EQ(score(), std::string(" 0 / 0 ") + SixBlanks);
}

TEST_F(Evaluation, EachBoxIsCheckedAgainstItsOwnExpectedText) {
    const struct {
        const char* why;
        int kind, answers, loaded, questionCount, box;
        std::string typed;
        const char* verdict;
    } rows[] = {
        {"the first answer in the second slot", QuizKind::Picture, 2, 3, 3, 4006, right(3), Verdicts::Wrong},
        {"a text quiz with two answers checks box n against question n", QuizKind::Text, 2, 3, 3, 4002, right(2),
         Verdicts::Right},
        {"not against what the pairing would expect", QuizKind::Text, 2, 3, 3, 4002, second(1), Verdicts::Wrong},
        {"a short question list repeats the last question", QuizKind::Text, 1, 2, 4, 4004, right(2), Verdicts::Right},
        {"an empty question list compares with empty answers", QuizKind::Picture, 2, 0, 2, 4003, "a",
         Verdicts::AlmostRight},
        {"an empty question list, second slot", QuizKind::Picture, 2, 0, 2, 4004, "abc", Verdicts::Wrong},
    };
    for (const auto& row : rows) {
        makeQuiz(row.kind, row.answers, RevealMode::None, row.loaded, row.questionCount);
        if (row.loaded == 0) panel.add(row.box), panel.add(PanelIds::verdictLabel(row.box), "?");  // no panel has them
        answer(row.box, row.typed);
        EXPECT_EQ(panel.verdict(row.box), row.verdict) << row.why;
    }
}

TEST_F(Evaluation, TextQuizWithTwoAnswersHasOneBoxPerQuestion) {
    makeQuiz(QuizKind::Text, 2, RevealMode::AllAtEnd, 3);
    for (int n = 1; n <= 3; ++n) panel.add(PanelIds::revealLabel(n), "", false);
    EXPECT_EQ(answerBoxCount(quiz), 3);
    for (int n = 1; n <= 3; ++n) answer(4000 + n, right(n));
    EXPECT_EQ(score(), " 3 / 3 CODE 3");
    EXPECT_EQ(quiz.allCorrect, 1);
    EXPECT_TRUE(revealed(1) && revealed(2) && revealed(3));
}

// The boxes count, not their labels, and every slot of the question counts.
TEST_F(Evaluation, TextRevealShowsWhenEverySlotHoldsTheRightTextAndHidesOnAWrongOne) {
    makeQuiz(QuizKind::Picture, 2, RevealMode::Text, 2);
    answer(4001, right(1));
    EXPECT_EQ(panel.verdict(4001), Verdicts::Right);
    EXPECT_FALSE(revealed(1)) << "the second slot is still empty";
    answer(4001, "");
    answer(4002, second(1));
    EXPECT_EQ(panel.verdict(4002), Verdicts::Right);
    EXPECT_FALSE(revealed(1)) << "the first slot is empty now";
    panel.type(4001, "  rEpOnSe 1");  // typed but not evaluated, compared as the evaluation would
    answer(4002, "SECONDE 1 ");
    EXPECT_TRUE(revealed(1));
    EXPECT_FALSE(revealed(2));
    EXPECT_EQ(score(), std::string(" 0 / 2 ") + SixBlanks);
    answer(4001, "reponse");  // a wrong verdict on either slot takes the reveal back
    EXPECT_FALSE(revealed(1));
    EXPECT_EQ(panel.picture(PanelIds::pictureBox(1)), PanelIds::PictureResourceBase + 1) << "mode 2 swaps nothing";
}

TEST_F(Evaluation, PictureRevealIsOneWayAndAMissingPictureKeepsTheOldOne) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Picture, 3);
    panel.missingPictures.insert(PanelIds::RevealPictureBase + 1);
    answer(4003, right(3));
    answer(4003, "faux");
    EXPECT_EQ(panel.picture(PanelIds::pictureBox(3)), PanelIds::RevealPictureBase + 3);
    answer(4001, right(1));
    EXPECT_EQ(panel.verdict(4001), Verdicts::Right);
    EXPECT_EQ(panel.picture(PanelIds::pictureBox(1)), PanelIds::PictureResourceBase + 1);
}

// Reveal first, then the verdict, then score and code; only a picture box swaps.
TEST_F(Evaluation, StepsComeInOrder) {
    const std::vector<std::string> noSwap = {"show 8001", "text 5001 BRAVO", "header 32  1 / 2", "header 30 CODE 1"};
    const struct { int kind; std::vector<std::string> log; } rows[] = {
        {QuizKind::Picture, {"show 8001", "swap 9901 10401", "text 5001 BRAVO", "header 32  1 / 2", "header 30 CODE 1"}},
        {QuizKind::Text, noSwap}, {QuizKind::Audio, noSwap}, {QuizKind::Video, noSwap},
    };
    for (const auto& row : rows) {
        makeQuiz(row.kind, 1, RevealMode::TextAndPicture, 2);
        answer(4001, right(1));
        EXPECT_EQ(panel.log, row.log) << row.kind;
    }
    panel.log.clear();
    answer(4002, "non");
    EXPECT_THAT(panel.log, ElementsAre("hide 8002", "text 5002 FAUX", "header 32  1 / 2", "header 30 CODE 1"));
}

TEST_F(Evaluation, AllAtEndRevealsEveryLabelOnceEverySlotIsRightAndTakesBackOnlyTheWrongOne) {
    makeQuiz(QuizKind::Picture, 2, RevealMode::AllAtEnd, 3);
    for (int n = 1; n <= 3; ++n) answer(4000 + 2 * n - 1, right(n));
    answer(4002, second(1));
    answer(4004, second(2));
    EXPECT_EQ(quiz.allCorrect, 0);  // one label short
    EXPECT_FALSE(revealed(1) || revealed(2) || revealed(3));

    panel.log.clear();
    answer(4006, second(3));
    EXPECT_EQ(quiz.allCorrect, 1);
    EXPECT_THAT(panel.log, ElementsAre("text 5006 BRAVO", "show 8001", "show 8002", "show 8003", "header 32  3 / 3",
                                       "header 30 CODE 3"));
    panel.log.clear();
    answer(4001, right(1));  // while the full reveal stands, nothing is shown again
    EXPECT_THAT(panel.log, ElementsAre("text 5001 BRAVO", "header 32  3 / 3", "header 30 CODE 3"));

    answer(4003, "faux");
    EXPECT_EQ(quiz.allCorrect, 0);
    EXPECT_TRUE(revealed(1) && !revealed(2) && revealed(3));
    answer(4003, right(2));
    EXPECT_EQ(quiz.allCorrect, 1);
    EXPECT_TRUE(revealed(2));
}

TEST_F(Evaluation, MissingControlsSkipTheirStepOnlyAndStrangeRequestsChangeNothing) {
    makeQuiz(QuizKind::Picture, 1, RevealMode::Text, 2);
    panel.controls.erase(PanelIds::verdictLabel(4001));
    panel.controls.erase(PanelIds::revealLabel(1));
    answer(4001, right(1));
    EXPECT_FALSE(panel.exists(PanelIds::verdictLabel(4001)));
    EXPECT_EQ(score(), std::string(" 0 / 2 ") + SixBlanks);  // the score reads labels, and this one is missing

    // Identifiers outside the boxes and unknown kinds change nothing.
    makeQuiz(QuizKind::Text, 1, RevealMode::Text, 2);
    for (int id : {4000, 4003, 3000, 5001}) evaluateAnswer(quiz, panel, id);
    quiz.kind = 7;
    evaluateAnswer(quiz, panel, 4001);
    EXPECT_TRUE(panel.log.empty());
}

// The mapping of boxes to questions is covered by the evaluations above.
TEST(AnswerSlots, BoxCountsFollowTheKindAndAnswersPerQuestion) {
    kelvo::testing::FakeDrawingObjects drawing;
    Quiz quiz{drawing};
    const struct { int kind, answers, questions, boxes; const char* why; } rows[] = {
        {QuizKind::Picture, 2, 5, 10, "grids pair the boxes"},
        {QuizKind::Audio, 2, 0, 0, "no questions"},
        {QuizKind::Picture, 3, 5, 0, "the panel builds no boxes for three answers"},
        {-1, 1, 5, 0, "unknown kind"},
        {QuizKind::Video, 1, 200, 96, "never more questions than the codes table holds"},
    };
    for (const auto& row : rows) {
        quiz.kind = row.kind;
        quiz.answersPerQuestion = row.answers;
        quiz.questionCount = row.questions;
        EXPECT_EQ(answerBoxCount(quiz), row.boxes) << row.why;
    }
}

}  // namespace
}  // namespace kelvo
