// The player's start-up and shutdown steps around a quiz a test makes.
#pragma once

#include <windows.h>

namespace kelvo::testing {

// The steps before the quiz exists: the window class and the background brush.
void beginPlayerStartUp();
// The rest once theQuiz is filled: media, the main window, both panels,
// shown. Null when a window could not be made.
HWND openPlayerWindows();
// Shutdown as the player runs it.
void closePlayerWindows(HWND mainWindow);

}  // namespace kelvo::testing
