#include "checking/win32/answer_box.h"

#include <cstring>
#include <optional>

#include "checking/verdicts.h"
#include "quiz/text.h"
#include "platform/win32/guarded.h"
#include "resources/control_ids.h"

namespace kelvo {
namespace {

// The replaced procedure and the host travel with each box, so no global holds them.
constexpr char ReplacedProcProperty[] = "KelvoEditProc";
constexpr char HostProperty[] = "KelvoAnswerBoxHost";

WNDPROC replacedProc(HWND box) {
    return reinterpret_cast<WNDPROC>(GetPropA(box, ReplacedProcProperty));
}

AnswerBoxHost* hostOf(HWND box) {
    return static_cast<AnswerBoxHost*>(GetPropA(box, HostProperty));
}

void evaluateBox(HWND box) {
    if (AnswerBoxHost* host = hostOf(box)) host->evaluate(GetDlgCtrlID(box));
}

// Page keys and arrows scroll the panel: the box itself has nothing to scroll.
void scrollPanel(HWND box, int request) {
    SendMessageA(GetParent(box), WM_VSCROLL, static_cast<WPARAM>(request), 0);
}

void onKeyReleased(HWND box, WPARAM key) {
    switch (key) {
        case VK_TAB:
            if (AnswerBoxHost* host = hostOf(box)) host->keepInView(box);
            break;
        case VK_PRIOR:
        case VK_UP: scrollPanel(box, SB_PAGEUP); break;
        case VK_NEXT:
        case VK_DOWN: scrollPanel(box, SB_PAGEDOWN); break;
        case VK_F1: fillOpenAnswers(box); break;
        case VK_F2:
            if (AnswerBoxHost* host = hostOf(box)) host->saveAnswers();
            break;
        default: break;
    }
}

// The box's own part of a message; nothing when the edit control's procedure
// is to handle it (after that part, for most).
std::optional<LRESULT> handleOwnPart(HWND box, UINT message, WPARAM wParam, WNDPROC passOn) {
    switch (message) {
        case WM_SETFOCUS: SendMessageA(box, EM_SETSEL, 0, TextSize); break;
        case WM_KILLFOCUS: evaluateBox(box); break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (wParam == VK_RETURN) {
                evaluateBox(box);
                return 1;
            }
            onKeyReleased(box, wParam);
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == '\t') return 0;
            break;
        case WM_NCDESTROY:
            RemovePropA(box, ReplacedProcProperty);
            RemovePropA(box, HostProperty);
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(passOn));
            break;
    }
    return std::nullopt;
}

}  // namespace

void installAnswerBoxProc(HWND box, AnswerBoxHost& host) {
    if (box == nullptr || replacedProc(box) != nullptr) return;
    SetPropA(box, HostProperty, static_cast<HANDLE>(&host));
    LONG_PTR previous = SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answerBoxProc));
    SetPropA(box, ReplacedProcProperty, reinterpret_cast<HANDLE>(previous));
}

// Every focus change makes the box that loses the focus evaluate itself, so
// each box written is evaluated in turn. F1 in a box holding only blanks
// does nothing: it is also the usual Help key, and would erase answers.
void fillOpenAnswers(HWND box) {
    AnswerBoxHost* host = hostOf(box);
    if (host == nullptr) return;
    char text[TextSize] = {};
    GetWindowTextA(box, text, TextSize);
    if (holdsOnlyBlanks(text)) return;
    HWND panel = GetParent(box);
    const int boxes = host->answerBoxCount();
    for (int index = 0; index < boxes; ++index) {
        const int boxId = PanelIds::answerBox(index);
        char verdict[TextSize] = {};
        GetDlgItemTextA(panel, PanelIds::verdictLabel(boxId), verdict, TextSize);
        if (std::strcmp(verdict, Verdicts::Right) == 0) continue;
        SetDlgItemTextA(panel, boxId, text);
        SetFocus(GetDlgItem(panel, boxId));
    }
    SetFocus(box);
}

LRESULT CALLBACK answerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC passOn = replacedProc(box);
    // A step that fails part way leaves the message to the edit control.
    const std::optional<LRESULT> handled =
        guarded(std::optional<LRESULT>(), [&] { return handleOwnPart(box, message, wParam, passOn); });
    return handled ? *handled : CallWindowProcA(passOn, box, message, wParam, lParam);
}

}  // namespace kelvo
