// The main window: holds the two panels and the version label, lays them
// out, passes wheel turns to the question panel, and saves and quits on close.
#pragma once

#include <windows.h>

namespace kelvo {

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A left-aligned "Static" child in the default GUI font, found again by its id.
void createLabel(HWND parent, const char* text, int x, int y, int width, int height, int controlId);

}  // namespace kelvo
