// Which answer boxes a quiz has and which expected answer each one is checked
// against. Everything that walks the boxes (evaluation, score, the F1 fill,
// the saved-answers file, the panel) goes through these helpers, so they all
// agree on the one layout.
//
// A text quiz shows one box per question (4000 + n) even when the quiz has two
// answers per question, and that box is checked against the question's
// `answer`; grids with two answers pair the boxes two by two (4000 + 2(n-1) + a).
#pragma once

#include <optional>

#include "quiz/quiz.h"

namespace kelvo {

struct AnswerSlot {
    int questionIndex = 0;  // from 0; the question number is questionIndex + 1
    int slot = 1;           // 1: `answer`, 2: `secondAnswer`
};

// Answer boxes per question: 1 for a text quiz, else answersPerQuestion.
int slotsPerQuestion(const Quiz& quiz);

// Questions that get controls: questionCount kept within 0 to MaxQuestions.
int questionsShown(const Quiz& quiz);

// Number of answer boxes 4001 upward. 0 for a kind outside 0 to 3, for a grid
// whose answersPerQuestion is neither 1 nor 2 (the panel builds no boxes
// then), and for questionCount 0.
int answerBoxCount(const Quiz& quiz);

// The box identifier of question `questionIndex` (from 0), slot 1 or 2.
int answerBoxId(const Quiz& quiz, int questionIndex, int slot);

// The slot a box is checked against; nothing for an identifier that names no
// answer box of this quiz.
std::optional<AnswerSlot> slotForBox(const Quiz& quiz, int boxId);

// The expected text of a slot: `answer` for slot 1, `secondAnswer` for slot 2.
const char* expectedAnswer(const Question& question, int slot);

}  // namespace kelvo
