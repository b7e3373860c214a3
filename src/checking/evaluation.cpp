#include "checking/evaluation.h"

#include <cstdio>
#include <cstring>

#include "checking/answer_slots.h"
#include "checking/verdicts.h"
#include "resources/control_ids.h"
#include "resources/header_ids.h"

namespace kelvo {

namespace {

constexpr char NoCode[] = "      ";  // six blanks keep the code box's height and look

bool labelReadsRight(ControlAccess& panel, int boxId) {
    char text[TextSize];
    panel.readText(PanelIds::verdictLabel(boxId), text);
    return std::strcmp(text, Verdicts::Right) == 0;
}

// The question's slots are compared by their box texts, not their labels, so a
// slot typed right but not yet evaluated still completes the question.
bool questionIsComplete(const Quiz& quiz, ControlAccess& panel, int questionIndex,
                        const Question& question) {
    const int slots = slotsPerQuestion(quiz);
    for (int slot = 1; slot <= slots; ++slot) {
        char typed[TextSize];
        panel.readText(answerBoxId(quiz, questionIndex, slot), typed);
        if (!typedAnswerMatches(expectedAnswer(question, slot), typed)) return false;
    }
    return true;
}

void swapInRevealPicture(ControlAccess& panel, int question) {
    // Without a picture box (text, audio, video quiz) a loaded picture would
    // have nowhere to go and would leak.
    if (!panel.exists(PanelIds::pictureBox(question))) return;
    panel.swapPicture(PanelIds::pictureBox(question), PanelIds::RevealPictureBase + question);
}

}  // namespace

void revealQuestion(Quiz& quiz, ControlAccess& panel, int questionIndex, const Question& question) {
    if (quiz.revealMode == RevealMode::None) return;
    if (!questionIsComplete(quiz, panel, questionIndex, question)) return;
    const int number = questionIndex + 1;
    switch (quiz.revealMode) {
        case RevealMode::Picture:
            swapInRevealPicture(panel, number);
            break;
        case RevealMode::Text:
            panel.setVisible(PanelIds::revealLabel(number), true);
            break;
        case RevealMode::TextAndPicture:
            panel.setVisible(PanelIds::revealLabel(number), true);
            swapInRevealPicture(panel, number);
            break;
        default:
            break;
    }
}

void recordWrongAnswer(Quiz& quiz, ControlAccess& panel, int questionIndex) {
    panel.setVisible(PanelIds::revealLabel(questionIndex + 1), false);
    quiz.allCorrect = 0;
}

void revealAll(Quiz& quiz, ControlAccess& panel) {
    if (quiz.revealMode != RevealMode::AllAtEnd || quiz.allCorrect != 0) return;
    const int boxes = answerBoxCount(quiz);
    for (int index = 0; index < boxes; ++index)
        if (!labelReadsRight(panel, PanelIds::answerBox(index))) return;
    quiz.allCorrect = 1;
    const int questions = questionsShown(quiz);
    for (int number = 1; number <= questions; ++number)
        panel.setVisible(PanelIds::revealLabel(number), true);
}

int countRightQuestions(const Quiz& quiz, ControlAccess& panel) {
    int score = 0;
    if (answerBoxCount(quiz) > 0) {
        const int slots = slotsPerQuestion(quiz);
        const int questions = questionsShown(quiz);
        for (int index = 0; index < questions; ++index) {
            bool allRight = true;
            for (int slot = 1; slot <= slots && allRight; ++slot)
                allRight = labelReadsRight(panel, answerBoxId(quiz, index, slot));
            if (allRight) ++score;
        }
    }
    return score;
}

void updateScore(const Quiz& quiz, ControlAccess& panel) {
    const int score = countRightQuestions(quiz, panel);
    char scoreText[32];
    std::snprintf(scoreText, sizeof scoreText, " %d / %d", score, static_cast<int>(quiz.questionCount));
    panel.setHeaderText(HeaderIds::ScoreLabel, scoreText);
    // The code belongs to the number of right questions, not to this question.
    panel.setHeaderText(HeaderIds::CodeBox, score == 0 ? NoCode : quiz.codes[score - 1]);
}

bool judgeAnswer(Quiz& quiz, ControlAccess& panel, int boxId) {
    const std::optional<AnswerSlot> slot = slotForBox(quiz, boxId);
    if (!slot) return false;

    // A list shorter than questionCount repeats its last question; an empty
    // list leaves empty expected answers.
    const Question noQuestion;
    const Question* found = quiz.questionAt(slot->questionIndex + 1);
    const Question& question = found != nullptr ? *found : noQuestion;

    char typed[TextSize];
    panel.readText(boxId, typed);
    const char* verdict = judgeTypedAnswer(expectedAnswer(question, slot->slot), typed);
    if (std::strcmp(verdict, Verdicts::Right) == 0)
        revealQuestion(quiz, panel, slot->questionIndex, question);
    else
        recordWrongAnswer(quiz, panel, slot->questionIndex);
    panel.setText(PanelIds::verdictLabel(boxId), verdict);
    return true;
}

void finishEvaluation(Quiz& quiz, ControlAccess& panel) {
    revealAll(quiz, panel);
    updateScore(quiz, panel);
}

void evaluateAnswer(Quiz& quiz, ControlAccess& panel, int boxId) {
    if (judgeAnswer(quiz, panel, boxId)) finishEvaluation(quiz, panel);
}

}  // namespace kelvo
