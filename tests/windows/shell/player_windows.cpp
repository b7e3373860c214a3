#include "player_windows.h"

#include <fstream>
#include <iterator>

#include "shell/win32/application.h"

namespace kelvo::testing {

void PlayerWindows::SetUp() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerMainWindowClass(instance);  // once per process; later calls fail harmlessly
    createBackgroundBrush();
    createQuiz(drawing, resources, loaderMessages);
    mainWindow = createMainWindow(instance);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(createPanels(instance, mainWindow));
    showWindows(mainWindow);
    pumpMessages();
}

void PlayerWindows::TearDown() {
    // The panels go with the main window; the quiz must outlive them.
    if (mainWindow) DestroyWindow(mainWindow);
    shutDown(nullptr);
    pumpMessages();
    takeQuitMessage();  // posted by the main window's WM_DESTROY
}

}  // namespace kelvo::testing
