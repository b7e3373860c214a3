#include "question_panel/win32/question_panel.h"

namespace kelvo {

INT_PTR CALLBACK questionPanelProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void saveAnswers(HWND) {}

}  // namespace kelvo
