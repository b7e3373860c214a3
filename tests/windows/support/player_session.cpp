#include "support/player_session.h"

#include <string>

#include "question_panel/win32/media_playback.h"
#include "shell/win32/application.h"
#include "support/window_testing.h"

namespace kelvo::testing {

void clearPlayerFiles() {
    DeleteFileA(savedAnswersFileName().c_str());
    for (int n = 0; n <= 97; ++n) {
        DeleteFileA(("kelvo" + std::to_string(n) + ".mp3").c_str());
        DeleteFileA(("kelvo" + std::to_string(n) + ".avi").c_str());
    }
}

void beginPlayerStartUp() {
    registerMainWindowClass(GetModuleHandleA(nullptr));
    createBackgroundBrush();
}

HWND openPlayerWindows() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (theQuiz != nullptr) startMedia(theQuiz->kind);
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
