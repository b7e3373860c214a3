// Small tools the Windows tests drive and read real windows with.
#pragma once

#include <windows.h>

#include <functional>
#include <iosfwd>
#include <string>

#include "platform/geometry.h"
#include "question_panel/win32/saved_answers_file.h"  // savedAnswersFileName()

namespace kelvo {
std::ostream& operator<<(std::ostream& out, const Rect& rect);
}

namespace kelvo::testing {

// Dispatches whatever is queued; a quit message is kept aside, not obeyed.
void pumpMessages();
// Pumps until the condition holds or the time runs out; returns the condition.
bool pumpUntil(const std::function<bool()>& condition, int milliseconds = 2000);
// Removes pending quit messages; true when there was one.
bool takeQuitMessage();

// A child's rectangle in its parent's client coordinates.
Rect placeInParent(HWND child);
Rect clientSize(HWND window);  // x and y 0
std::string windowText(HWND window);
std::string controlText(HWND parent, int id);
bool isShown(HWND parent, int id);

// What `parent` answers to a colour message (WM_CTLCOLORSTATIC, WM_CTLCOLORDLG)
// for `child`, and what it made of a context holding SystemText, opaque.
constexpr COLORREF SystemText = 0x123456;
struct ColourReply {
    HBRUSH brush;
    COLORREF text;
    int backgroundMode;
};
ColourReply colourReply(HWND parent, UINT message, HWND child);

std::string fileContent(const std::string& name);
void writeFile(const std::string& name, const std::string& content);
bool fileExists(const char* name);

}  // namespace kelvo::testing
