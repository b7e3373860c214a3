#include "question_panel/win32/media_playback.h"

namespace kelvo {

void startMedia() {}
void setUpPanelMedia(HWND) {}
void decorateMediaButton(HWND, bool) {}
void handleMediaCommand(HWND, WPARAM) {}
void stopMedia(HWND) {}

}  // namespace kelvo
