#include "support/player_session.h"

#include "question_panel/win32/media_playback.h"
#include "shell/win32/application.h"
#include "support/window_testing.h"

namespace kelvo::testing {

void beginPlayerStartUp() {
    registerMainWindowClass(GetModuleHandleA(nullptr));
    createBackgroundBrush();
}

HWND openPlayerWindows() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    startMedia();
    HWND mainWindow = createMainWindow(instance);
    if (mainWindow == nullptr || !createPanels(instance, mainWindow)) return nullptr;
    showWindows(mainWindow);
    pumpMessages();
    return mainWindow;
}

void closePlayerWindows(HWND mainWindow) {
    const bool media = theQuiz != nullptr && (theQuiz->kind == QuizKind::Audio || theQuiz->kind == QuizKind::Video);
    if (!media && mainWindow != nullptr) DestroyWindow(mainWindow);
    shutDown(media ? mainWindow : nullptr);
    pumpMessages();
    takeQuitMessage();  // posted by the main window's WM_DESTROY
}

}  // namespace kelvo::testing
