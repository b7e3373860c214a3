#include "support/window_testing.h"

#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

namespace kelvo {
std::ostream& operator<<(std::ostream& out, const Rect& rect) {
    return out << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
}
}  // namespace kelvo

namespace kelvo::testing {

void pumpMessages() {
    MSG message;
    std::vector<MSG> quits;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quits.push_back(message);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (!quits.empty()) PostQuitMessage(static_cast<int>(quits.back().wParam));
}

bool pumpUntil(const std::function<bool()>& condition, int milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(milliseconds)) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pumpMessages();
    }
    return true;
}

bool takeQuitMessage() {
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
}

Rect placeInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Rect clientSize(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return {0, 0, rect.right, rect.bottom};
}

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string controlText(HWND parent, int id) {
    return windowText(GetDlgItem(parent, id));
}

bool isShown(HWND parent, int id) {
    HWND control = GetDlgItem(parent, id);
    return control != nullptr && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

ColourReply colourReply(HWND parent, UINT message, HWND child) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, SystemText);
    SetBkMode(dc, OPAQUE);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    const ColourReply reply{brush, GetTextColor(dc), GetBkMode(dc)};
    DeleteDC(dc);
    return reply;
}

std::string fileContent(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& name, const std::string& content) {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file << content;
}

bool fileExists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kelvo::testing
