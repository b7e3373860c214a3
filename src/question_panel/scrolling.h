// The question panel's scroll arithmetic: ranges from the content size, and
// the new position for each scroll request. One scroll position is one pixel.
#pragma once

namespace kelvo {

struct ScrollBarState {
    int position = 0;
    int page = 0;
    int maximum = 0;
    int trackPosition = 0;
};

struct ScrollRange {
    int maximum = 0;   // content - 2
    int page = 0;      // page size - 1
    bool resetPosition = false;  // the content fits: back to 0
};

// One bar: the content extent against the visible extent.
ScrollRange scrollRangeFor(int content, int visible);

constexpr int LineStep = 310;
constexpr int WheelStep = 50;
constexpr int WheelDelta = 120;

// The unclamped new position for a vertical request (platform SB_ codes and
// the private requests 500, 501 and 502), or for a horizontal one.
int verticalScrollPosition(int request, const ScrollBarState& bar, int scrollTarget);
int horizontalScrollPosition(int request, const ScrollBarState& bar);

// The request a wheel turn posts: 501 for exactly one notch away from the
// user, 500 for one toward, 0 for anything else.
int wheelRequest(int wheelDelta);

// Where Tab scrolls to keep a box in view, in content coordinates: the box's
// top (relative to the panel's client area) plus the current position, less a
// margin that puts it in the upper part of the visible area.
constexpr int TabScrollMargin = 40;
int tabScrollTarget(int currentPosition, int boxTopInClient);
// A box needs scrolling when it is not wholly inside the client area.
bool boxOutsideClient(int boxTopInClient, int boxBottomInClient, int clientHeight);

}  // namespace kelvo
