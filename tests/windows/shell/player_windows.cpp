#include "player_windows.h"

#include <fstream>
#include <iterator>

#include "shell/win32/application.h"

namespace kelvo::testing {

void PlayerWindows::SetUp() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerMainWindowClass(instance);  // once per process; later calls fail harmlessly
    createBackgroundBrush();
    createQuiz(drawing, resources, loaderMessages);
    mainWindow = createMainWindow(instance);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(createPanels(instance, mainWindow));
    showWindows(mainWindow);
    pumpMessages();
}

void PlayerWindows::TearDown() {
    // The panels go with the main window; the quiz must outlive them.
    if (mainWindow) DestroyWindow(mainWindow);
    shutDown(nullptr);
    pumpMessages();
    takeQuitMessage();  // posted by the main window's WM_DESTROY
}

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

bool pumpUntil(const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 2000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
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
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string savedAnswersFileName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    name = name.substr(name.find_last_of('\\') + 1);
    return name.substr(0, name.size() - 3) + "txt";
}

std::string fileContent(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool fileExists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kelvo::testing
