// The start-up benchmark's reference: the player itself, except that its
// question panel is built without the quiz logic: the answer boxes get no key
// handler, no first evaluation and no focus, and so the score is never
// written. The windows, controls, fonts, pictures and media player control
// are the player's own, made by the same calls, so what the player takes
// beyond this program is what its own logic costs at start-up.
#include <windows.h>

#include "question_panel/win32/question_panel.h"
#include "quiz/win32/executable_resources.h"
#include "shell/win32/application.h"

namespace {

INT_PTR CALLBACK platformOnlyPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return kelvo::questionPanelProc(panel, message, wParam, lParam);
    kelvo::buildQuestionPanel(panel, reinterpret_cast<kelvo::Quiz*>(lParam), kelvo::AnswerChecking::Off);
    return TRUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        kelvo::ExecutablePatchResources resources;
        kelvo::MessageBoxSink loaderMessages;
        kelvo::InformationMessageBox startupMessages;
        return kelvo::runPlayer(instance, resources, loaderMessages, startupMessages, platformOnlyPanelProc);
    } catch (...) {
        return 1;
    }
}
