#include "shell/win32/header_panel.h"

#include <shellapi.h>

#include <memory>

#include "platform/win32/guarded.h"
#include "question_panel/win32/question_panel.h"
#include "resources/resource_ids.h"
#include "resources/header_ids.h"
#include "shell/header_layout.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"

namespace kelvo {

namespace {

void openWithShell(const char* address) {
    ShellExecuteA(nullptr, ShellTexts::OpenVerb, address, nullptr, nullptr, SW_SHOWNORMAL);
}

// What the panel owns; lives from WM_INITDIALOG until the panel and all its
// controls are gone (WM_NCDESTROY), so the link never outlives its font.
struct HeaderPanelState {
    ScopedBrush headerBrush;
    ScopedFont linkFont;
    HCURSOR linkCursor = nullptr;
    WebOpener openWebAddress = openWithShell;
};

HeaderPanelState* stateOf(HWND dialog) {
    return reinterpret_cast<HeaderPanelState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

HFONT fontFor(HeaderLayout::ControlFont font, const Quiz& quiz) {
    switch (font) {
        case HeaderLayout::ControlFont::DefaultGui: return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        case HeaderLayout::ControlFont::QuizTitle:  return static_cast<HFONT>(quiz.titleFont);
        case HeaderLayout::ControlFont::QuizScore:  return static_cast<HFONT>(quiz.scoreFont);
        case HeaderLayout::ControlFont::Link:
        case HeaderLayout::ControlFont::None:       break;
    }
    return nullptr;
}

HWND createControl(HWND dialog, const HeaderLayout::Control& control) {
    return CreateWindowExA(0, control.className, control.text.c_str(), control.style, control.rect.x,
                           control.rect.y, control.rect.width, control.rect.height, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), GetModuleHandleA(nullptr),
                           nullptr);
}

void createControls(HWND dialog, HeaderPanelState& state) {
    for (const HeaderLayout::Control& control : HeaderLayout::controls(*theQuiz)) {
        HWND window = createControl(dialog, control);
        if (control.font == HeaderLayout::ControlFont::Link) {
            state.linkFont = styleLinkLabel(window);
        } else if (HFONT font = fontFor(control.font, *theQuiz)) {
            SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
}

INT_PTR onInitDialog(HWND dialog) {
    // Owned by the window from here on; WM_NCDESTROY deletes it.
    auto* panel = std::make_unique<HeaderPanelState>().release();
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(panel));
    if (theQuiz) createControls(dialog, *panel);
    panel->linkCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResourceIds::LinkCursor));
    panel->headerBrush = ScopedBrush(CreateSolidBrush(HeaderLayout::PanelColor));
    return TRUE;
}

INT_PTR onSize(HWND dialog, int clientWidth) {
    for (const HeaderLayout::Placement& placement : HeaderLayout::placements(clientWidth)) {
        HWND control = GetDlgItem(dialog, placement.id);
        SetWindowPos(control, HWND_TOP, placement.rect.x, placement.rect.y, placement.rect.width,
                     placement.rect.height, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        // Every moved control repaints: one left out (the link, "Par :")
        // stays erased by the panel's background after a resize.
        InvalidateRect(control, nullptr, FALSE);
    }
    return FALSE;
}

INT_PTR onCommand(HWND dialog, WPARAM wParam) {
    // Only a single click: the double-click notification of a second click is a different command.
    if (wParam == MAKEWPARAM(HeaderIds::Link, STN_CLICKED)) {
        if (HeaderPanelState* state = stateOf(dialog)) state->openWebAddress(ShellTexts::MakerWebAddress);
    } else if (wParam == MAKEWPARAM(HeaderIds::SaveButton, BN_CLICKED)) {
        // The button says "Sauver": it saves, as F2 and closing do.
        if (questionPanelWindow) saveAnswers(questionPanelWindow);
    }
    return FALSE;
}

INT_PTR onColorStatic(HWND dialog, HDC dc, HWND control) {
    HeaderPanelState* state = stateOf(dialog);
    if (!state) return FALSE;
    switch (HeaderLayout::coloringFor(GetWindowLongA(control, GWL_ID))) {
        case HeaderLayout::Coloring::Link:
            SetTextColor(dc, HeaderLayout::LinkTextColor);
            break;
        case HeaderLayout::Coloring::PanelColour:
            break;
        case HeaderLayout::Coloring::Default:
            return FALSE;
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(state->headerBrush.get());
}

INT_PTR onColorDialog(HWND dialog) {
    HeaderPanelState* state = stateOf(dialog);
    return state ? reinterpret_cast<INT_PTR>(state->headerBrush.get()) : FALSE;
}

// The hand shows over the link only: installing it as the class cursor
// would put it on every "Static" control of the program.
INT_PTR onSetCursor(HWND dialog, HWND underPointer, WORD hitTest) {
    HeaderPanelState* state = stateOf(dialog);
    if (!state || hitTest != HTCLIENT || underPointer != GetDlgItem(dialog, HeaderIds::Link)) return FALSE;
    SetCursor(state->linkCursor);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR onFinalDestroy(HWND dialog) {
    std::unique_ptr<HeaderPanelState> state(stateOf(dialog));
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    return FALSE;
}

INT_PTR dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:      return onInitDialog(dialog);
        case WM_SIZE:            return onSize(dialog, LOWORD(lParam));
        case WM_COMMAND:         return onCommand(dialog, wParam);
        case WM_CTLCOLORSTATIC:  return onColorStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORDLG:     return onColorDialog(dialog);
        case WM_SETCURSOR:       return onSetCursor(dialog, reinterpret_cast<HWND>(wParam), LOWORD(lParam));
        case WM_NCDESTROY:       return onFinalDestroy(dialog);
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK headerPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Out of memory while building the texts: the panel stays as far as it got.
    return guarded<INT_PTR>(FALSE, [&] { return dispatch(dialog, message, wParam, lParam); });
}

ScopedFont styleLinkLabel(HWND link) {
    RECT client;
    GetClientRect(link, &client);
    LOGFONTA description = {};
    description.lfHeight = HeaderLayout::linkFontHeight(client.bottom - client.top);
    description.lfWeight = FW_NORMAL;
    description.lfUnderline = TRUE;
    ScopedFont font(CreateFontIndirectA(&description));
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    return font;
}

void replaceWebOpener(HWND dialog, WebOpener opener) {
    if (HeaderPanelState* state = stateOf(dialog)) state->openWebAddress = std::move(opener);
}

}  // namespace kelvo
