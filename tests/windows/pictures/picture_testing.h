// What the picture tests read back: bitmap sizes and pixels, and how many
// handles every owner kind holds.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/picture_fit.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {

// 0 x 0 for no bitmap.
inline FittedSize sizeOf(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

inline std::ostream& operator<<(std::ostream& out, const FittedSize& size) {
    return out << size.width << " x " << size.height;
}

// 0x00RRGGBB, top row first.
inline std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap, const FittedSize& size) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, size.width, -size.height, 1, 32, BI_RGB};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.width) * size.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, size.height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

inline std::array<int, static_cast<int>(HandleKind::Count)> liveCounts() { return handle_counts::live; }

}  // namespace kelvo
