// The header panel (dialog 1002): score and code on the left, title and
// explanation in the middle, "Sauver", the maker's link and the author on
// the right.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/scoped_handles.h"

namespace kelvo {

INT_PTR CALLBACK headerPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the link its underlined font, sized from its client height; the
// caller owns the font and keeps it while the link lives.
ScopedFont styleLinkLabel(HWND link);

// How a click on the link opens the web address; ShellExecuteA unless a
// test puts a recorder in its place, for one panel.
using WebOpener = std::function<void(const char* address)>;
void replaceWebOpener(HWND dialog, WebOpener opener);

}  // namespace kelvo
