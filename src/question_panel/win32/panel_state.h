// What the question panel keeps between messages, stored with the dialog
// (DWLP_USER) and released when the dialog is destroyed.
#pragma once

#include <windows.h>

namespace kelvo {

struct PanelState {
    int contentWidth = 0;
    int contentHeight = 0;
    int scrollTarget = 0;  // written by Tab just before request 502
};

PanelState* panelState(HWND panel);

}  // namespace kelvo
