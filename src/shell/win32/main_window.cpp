#include "shell/win32/main_window.h"

#include <optional>

#include "platform/win32/guarded.h"
#include "question_panel/win32/panel_scrolling.h"
#include "question_panel/win32/question_panel.h"
#include "question_panel/win32/saved_answers_file.h"
#include "shell/main_window_layout.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"

namespace kelvo {

namespace {

using MainWindowGeometry::VersionLabelId;

void moveWindow(HWND window, const Rect& rect, UINT flags) {
    SetWindowPos(window, nullptr, rect.x, rect.y, rect.width, rect.height, flags);
}

LRESULT onCreate(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const Rect label = MainWindowGeometry::versionLabelAtCreation(client.bottom);
    createLabel(window, ShellTexts::VersionLabel, label.x, label.y, label.width, label.height, VersionLabelId);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
    return 0;
}

// Only reached after the loop (when shutdown destroys the window): nobody reads this quit.
LRESULT onDestroy() {
    PostQuitMessage(0);
    return 0;
}

LRESULT onSize(HWND window, WPARAM sizeType, int clientWidth, int clientHeight) {
    if (sizeType == SIZE_MINIMIZED) return 0;
    const MainWindowGeometry::Layout layout = MainWindowGeometry::layout(clientWidth, clientHeight);
    // While the main window is being created the panels do not exist yet.
    if (questionPanelWindow) moveWindow(questionPanelWindow, layout.questionPanel, SWP_NOZORDER);
    if (headerPanelWindow) moveWindow(headerPanelWindow, layout.headerPanel, SWP_NOZORDER);
    if (HWND label = GetDlgItem(window, VersionLabelId))
        moveWindow(label, layout.versionLabel, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return 0;
}

// When no folder takes the answers the player chooses: try again, close
// anyway and lose them, or go back to the quiz. True when closing goes on.
bool answersKeptOrLetGo(HWND window) {
    for (;;) {
        if (keepAnswers(questionPanelWindow)) return true;
        const int choice = MessageBoxA(window, ShellTexts::AnswersNotSavedOnClose, ShellTexts::AnswersNotSavedCaption,
                                       MB_CANCELTRYCONTINUE | MB_ICONWARNING | MB_DEFBUTTON2);
        if (choice == IDCANCEL) return false;
        // Continue, or a box that could not be shown: a window that can never close helps nobody.
        if (choice != IDTRYAGAIN) return true;
    }
}

LRESULT onClose(HWND window) {
    if (questionPanelWindow && !answersKeptOrLetGo(window)) return 0;
    DeleteFileA(ShellTexts::LeftoverClip);
    // The window stays: shutdown after the loop decides what is destroyed.
    PostQuitMessage(0);
    return 0;
}

LRESULT onColorStatic(HDC dc, HWND control) {
    if (GetWindowLongA(control, GWL_ID) != VersionLabelId) return 0;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(backgroundBrush.get());
}

// The panel's own wheel rule, posted as there.
LRESULT onMouseWheel(WPARAM wParam) {
    if (questionPanelWindow) postWheelRequest(questionPanelWindow, wParam);
    return 0;
}

// The result of a message the window handles itself; nothing for the others.
std::optional<LRESULT> dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:          return onCreate(window);
        case WM_DESTROY:         return onDestroy();
        case WM_SIZE:            return onSize(window, wParam, LOWORD(lParam), HIWORD(lParam));
        case WM_CLOSE:           return onClose(window);
        case WM_CTLCOLORSTATIC:  return onColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MOUSEWHEEL:      return onMouseWheel(wParam);
    }
    return std::nullopt;
}

}  // namespace

// A handled message that fails part way gets the platform's default handling.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::optional<LRESULT> handled =
        guarded(std::optional<LRESULT>(), [&] { return dispatch(window, message, wParam, lParam); });
    return handled ? *handled : DefWindowProcA(window, message, wParam, lParam);
}

void createLabel(HWND parent, const char* text, int x, int y, int width, int height, int controlId) {
    HWND label = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

}  // namespace kelvo
