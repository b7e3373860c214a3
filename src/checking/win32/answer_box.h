// The answer box's own window procedure: evaluation on Enter and on leaving
// the box, Tab keeping the box in view, F1 filling open answers, F2 saving.
#pragma once

#include <windows.h>

namespace kelvo {

LRESULT CALLBACK answerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// Replaces the edit control's procedure, keeping the replaced one with the box.
void installAnswerBoxProc(HWND box);

// F1: copies the box's text into every box whose verdict is not "BRAVO".
void fillOpenAnswers(HWND box);

}  // namespace kelvo
