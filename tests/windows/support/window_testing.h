// Small tools the Windows tests read real windows with.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kelvo::testing {

// Dispatches whatever is queued; a quit message is kept aside, not obeyed.
void pumpMessages();
// Pumps until the condition holds or the time runs out; returns the condition.
bool pumpUntil(const std::function<bool()>& condition, int milliseconds = 2000);
// Removes pending quit messages; true when there was one.
bool takeQuitMessage();

struct Box {
    int x, y, width, height;
    bool operator==(const Box& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};
std::ostream& operator<<(std::ostream& out, const Box& box);

// A child's rectangle in its parent's client coordinates.
Box placeInParent(HWND child);
std::string windowText(HWND window);
std::string controlText(HWND parent, int id);
bool isShown(HWND parent, int id);

// The file this test program saves its answers to, in the current folder.
std::string testSavedAnswersFileName();
std::string fileContent(const std::string& name);
void writeFile(const std::string& name, const std::string& content);

}  // namespace kelvo::testing
