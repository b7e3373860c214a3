// One evaluation of an answer box: the verdict, then what a verdict changes
// around it (the question's reveal, the whole-quiz reveal, score and code).
// Written against ControlAccess so the rules run natively in tests.
#pragma once

#include "checking/control_access.h"
#include "quiz/quiz.h"

namespace kelvo {

// Reads box `boxId`, writes its verdict into label boxId + 1000 and updates
// the reveals, the score label and the code box, in this order: reveal or
// wrong-answer bookkeeping, verdict, whole-quiz reveal, score. An identifier
// that names no answer box of the quiz changes nothing.
void evaluateAnswer(Quiz& quiz, ControlAccess& panel, int boxId);

// The two halves of evaluateAnswer. judgeAnswer is the box's own part (its
// question's reveal or the wrong-answer bookkeeping, then its verdict) and is
// false, having changed nothing, for an identifier that names no answer box;
// finishEvaluation is the whole-quiz part (mode 4 reveal, score and code).
// The panel under construction judges each box as it is made and finishes
// once, when every label exists: the intermediate scores would never be seen.
bool judgeAnswer(Quiz& quiz, ControlAccess& panel, int boxId);
void finishEvaluation(Quiz& quiz, ControlAccess& panel);

// After a "BRAVO": when every slot of the question holds its right text, shows
// the reveal label and/or swaps in the reveal picture, as revealMode says.
// The picture swap is one-way and skipped when the picture box does not exist.
void revealQuestion(Quiz& quiz, ControlAccess& panel, int questionIndex, const Question& question);

// After any other verdict: hides the question's reveal label and takes back the
// whole-quiz reveal state (allCorrect), so the next full set reveals again.
void recordWrongAnswer(Quiz& quiz, ControlAccess& panel, int questionIndex);

// Reveal mode 4: once every verdict label reads "BRAVO", shows every reveal label.
void revealAll(Quiz& quiz, ControlAccess& panel);

// The score: the questions whose verdict labels all read "BRAVO".
int countRightQuestions(const Quiz& quiz, ControlAccess& panel);

// Writes the score as " %d / %d" into the score label and the code for that
// score (six blanks for 0) into the code box.
void updateScore(const Quiz& quiz, ControlAccess& panel);

}  // namespace kelvo
