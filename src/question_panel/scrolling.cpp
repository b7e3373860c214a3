#include "question_panel/scrolling.h"

#include "resources/control_ids.h"

namespace kelvo {
namespace {
// The platform's scroll request codes (the same numbers for both bars).
enum : int { LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, ThumbPosition = 4, ThumbTrack = 5, Top = 6, Bottom = 7 };
}  // namespace

ScrollRange scrollRangeFor(int content, int visible) {
    const bool fits = content <= visible;
    if (fits && content < 2) return ScrollRange{0, 1, true};  // nothing built: keep the bar sane
    const int page = fits ? content : visible;
    return ScrollRange{content - 2, page - 1, fits};
}

int verticalScrollPosition(int request, const ScrollBarState& bar, int scrollTarget) {
    switch (request) {
        case LineUp: return bar.position - LineStep;
        case LineDown: return bar.position + LineStep;
        case PageUp: return bar.position - bar.page;
        case PageDown: return bar.position + bar.page;
        case ThumbTrack: return bar.trackPosition;
        case Top: return 0;
        case Bottom: return bar.maximum;
        case PanelIds::ScrollDown50: return bar.position + WheelStep;
        case PanelIds::ScrollUp50: return bar.position - WheelStep;
        case PanelIds::ScrollToTarget: return scrollTarget;
        default: return bar.position;
    }
}

int horizontalScrollPosition(int request, const ScrollBarState& bar) {
    switch (request) {
        case LineUp: return bar.position - 1;
        case LineDown: return bar.position + 1;
        case PageUp: return bar.position - bar.page;
        case PageDown: return bar.position + bar.page;
        case ThumbTrack: return bar.trackPosition;
        default: return bar.position;
    }
}

int wheelRequest(int wheelDelta) {
    if (wheelDelta == WheelDelta) return PanelIds::ScrollUp50;
    if (wheelDelta == -WheelDelta) return PanelIds::ScrollDown50;
    return 0;
}

int tabScrollTarget(int currentPosition, int boxTopInClient) {
    return currentPosition + boxTopInClient - TabScrollMargin;
}

bool boxOutsideClient(int boxTopInClient, int boxBottomInClient, int clientHeight) {
    return boxTopInClient < 0 || boxBottomInClient > clientHeight;
}

}  // namespace kelvo
