// The player's start-up and shutdown steps around a quiz a test makes:
// begin, fill theQuiz, open the windows, drive them, close.
#pragma once

#include <windows.h>

namespace kelvo::testing {

// Leaves the current folder as a fresh player finds it: no saved answers,
// no extracted clips.
void clearPlayerFiles();

// The steps before the quiz exists: the window class (registered once per
// process; later calls fail harmlessly) and the background brush.
void beginPlayerStartUp();

// The rest of start-up once theQuiz is filled: media, the main window, both
// panels, shown and scrolled to the top. Null when a window could not be made.
HWND openPlayerWindows();

// Shutdown as the player runs it. A text or picture quiz's main window is
// destroyed first, while the quiz its boxes evaluate with still exists; a
// media quiz's goes inside stopMedia.
void closePlayerWindows(HWND mainWindow);

}  // namespace kelvo::testing
