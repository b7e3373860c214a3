#include "checking/answer_slots.h"

#include "resources/control_ids.h"

namespace kelvo {

namespace {

bool isKnownKind(const Quiz& quiz) {
    return quiz.kind >= QuizKind::Text && quiz.kind <= QuizKind::Video;
}

}  // namespace

int slotsPerQuestion(const Quiz& quiz) {
    return quiz.kind == QuizKind::Text ? 1 : quiz.answersPerQuestion;
}

int questionsShown(const Quiz& quiz) {
    if (quiz.questionCount < 0) return 0;
    return quiz.questionCount > MaxQuestions ? MaxQuestions : quiz.questionCount;
}

int answerBoxCount(const Quiz& quiz) {
    if (!isKnownKind(quiz)) return 0;
    const int slots = slotsPerQuestion(quiz);
    if (slots != 1 && slots != 2) return 0;
    return questionsShown(quiz) * slots;
}

int answerBoxId(const Quiz& quiz, int questionIndex, int slot) {
    return PanelIds::answerBox(questionIndex * slotsPerQuestion(quiz) + slot - 1);
}

std::optional<AnswerSlot> slotForBox(const Quiz& quiz, int boxId) {
    const int index = boxId - PanelIds::FirstAnswerBox;
    if (index < 0 || index >= answerBoxCount(quiz)) return std::nullopt;
    const int slots = slotsPerQuestion(quiz);
    return AnswerSlot{index / slots, index % slots + 1};
}

const char* expectedAnswer(const Question& question, int slot) {
    return slot == 2 ? question.secondAnswer : question.answer;
}

}  // namespace kelvo
