// Scrolling the question panel: its window scroll bars move its controls.
#pragma once

#include <windows.h>

namespace kelvo {

void setScrollRanges(HWND panel);
void scrollVertically(HWND panel, int request);
void scrollHorizontally(HWND panel, int request);
void keepAlignedOnResize(HWND panel);
// Posts (not sends) one scroll step per single wheel notch, so the step is
// handled after the current message.
void postWheelRequest(HWND target, WPARAM wParam);
// Tab: bring a box into view when it is not wholly inside the panel.
void keepBoxInView(HWND panel, HWND box);

}  // namespace kelvo
