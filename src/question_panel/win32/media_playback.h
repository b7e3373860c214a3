// Audio and video clips of the questions, played through the platform's
// media player control hosted in the question panel.
#pragma once

#include <windows.h>

namespace kelvo {

// Start-up, before any window exists: prepares the hosting library and COM
// for an audio or video quiz; does nothing for other kinds.
void startMedia();
// The panel's first construction step: icons, player host, player control.
void setUpPanelMedia(HWND panel);
// Icons of the play and stop buttons (owned by the media state).
void decorateMediaButton(HWND button, bool play);
// WM_COMMAND of the panel: play and stop buttons.
void handleMediaCommand(HWND panel, WPARAM command);
// Shutdown: deletes the extracted clips, destroys the main window, releases COM.
void stopMedia(HWND mainWindow);

}  // namespace kelvo
