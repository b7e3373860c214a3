// Plain pixel rectangles: the shell's layouts are worked out with these,
// without the platform, and turned into window moves by the Win32 layer.
#pragma once

namespace kelvo {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// A window rectangle as the platform reports it: two corners.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

}  // namespace kelvo
