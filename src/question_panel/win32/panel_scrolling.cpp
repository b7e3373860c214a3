#include "question_panel/win32/panel_scrolling.h"

#include <algorithm>

#include "resources/control_ids.h"
#include "question_panel/scrolling.h"
#include "question_panel/win32/panel_state.h"

namespace kelvo {
namespace {

SCROLLINFO scrollInfo(UINT mask) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

ScrollBarState readBar(HWND panel, int bar) {
    SCROLLINFO info = scrollInfo(SIF_ALL);
    GetScrollInfo(panel, bar, &info);
    return ScrollBarState{info.nPos, static_cast<int>(info.nPage), info.nMax, info.nTrackPos};
}

void setBarRange(HWND panel, int bar, int content, int visible) {
    ScrollRange range = scrollRangeFor(content, visible);
    if (range.resetPosition) SetScrollPos(panel, bar, 0, FALSE);
    SCROLLINFO info = scrollInfo(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL);
    info.nMax = range.maximum;
    info.nPage = static_cast<UINT>(range.page);
    SetScrollInfo(panel, bar, &info, TRUE);
}

// Sets the bar, reads back where it really went, and returns how far the
// contents must move (positive: down or right).
int moveBarTo(HWND panel, int bar, int position) {
    SCROLLINFO info = scrollInfo(SIF_RANGE | SIF_POS);
    GetScrollInfo(panel, bar, &info);
    int previous = info.nPos;
    SetScrollPos(panel, bar, std::clamp(position, info.nMin, std::max(info.nMin, info.nMax)), TRUE);
    return previous - GetScrollPos(panel, bar);
}

}  // namespace

void setScrollRanges(HWND panel) {
    PanelState* state = panelState(panel);
    if (state == nullptr) return;
    RECT client;
    GetClientRect(panel, &client);
    setBarRange(panel, SB_HORZ, state->contentWidth, client.right);
    setBarRange(panel, SB_VERT, state->contentHeight, client.bottom);
}

void scrollVertically(HWND panel, int request) {
    PanelState* state = panelState(panel);
    int target = verticalScrollPosition(request, readBar(panel, SB_VERT), state ? state->scrollTarget : 0);
    int shift = moveBarTo(panel, SB_VERT, target);
    if (shift != 0) ScrollWindow(panel, 0, shift, nullptr, nullptr);
}

void scrollHorizontally(HWND panel, int request) {
    int shift = moveBarTo(panel, SB_HORZ, horizontalScrollPosition(request, readBar(panel, SB_HORZ)));
    if (shift != 0) ScrollWindow(panel, shift, 0, nullptr, nullptr);
}

// A larger panel can force a position back toward 0: moving the contents by
// the same amount keeps them aligned with the bars.
void keepAlignedOnResize(HWND panel) {
    int oldX = GetScrollPos(panel, SB_HORZ);
    int oldY = GetScrollPos(panel, SB_VERT);
    setScrollRanges(panel);
    int dx = oldX - GetScrollPos(panel, SB_HORZ);
    int dy = oldY - GetScrollPos(panel, SB_VERT);
    if (dx != 0 || dy != 0) ScrollWindow(panel, dx, dy, nullptr, nullptr);
}

void postWheelRequest(HWND target, WPARAM wParam) {
    int request = wheelRequest(GET_WHEEL_DELTA_WPARAM(wParam));
    if (request != 0) PostMessageA(target, WM_VSCROLL, static_cast<WPARAM>(request), 0);
}

void keepBoxInView(HWND panel, HWND box) {
    PanelState* state = panelState(panel);
    if (state == nullptr) return;
    RECT boxRect, client;
    GetWindowRect(box, &boxRect);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&boxRect), 2);
    GetClientRect(panel, &client);
    state->scrollTarget = tabScrollTarget(GetScrollPos(panel, SB_VERT), boxRect.top);
    if (boxOutsideClient(boxRect.top, boxRect.bottom, client.bottom))
        SendMessageA(panel, WM_VSCROLL, PanelIds::ScrollToTarget, 0);
}

}  // namespace kelvo
