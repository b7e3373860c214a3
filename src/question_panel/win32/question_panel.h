// The scrollable question panel (dialog 1001) and the answers it saves.
#pragma once

#include <windows.h>

#include "quiz/quiz.h"

namespace kelvo {

INT_PTR CALLBACK questionPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Off leaves the answer boxes without their key handler, their first
// evaluation and the focus: the platform's share of building the panel, which
// the start-up benchmark times as the reference for the player's.
enum class AnswerChecking { On, Off };

// The panel's initialisation: every control from `quiz` (the dialog's
// creation parameter; null builds nothing), the saved answers in the boxes,
// the scroll ranges.
void buildQuestionPanel(HWND panel, Quiz* quiz, AnswerChecking checking);

// Writes every answer box of the panel to the saved-answers file.
void saveAnswers(HWND panel);

}  // namespace kelvo
