// The scrollable question panel (dialog 1001) and the answers it saves.
#pragma once

#include <windows.h>

namespace kelvo {

INT_PTR CALLBACK questionPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Writes every answer box of the panel to the saved-answers file.
void saveAnswers(HWND panel);

}  // namespace kelvo
