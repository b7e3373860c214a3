// The three drawing operations the quiz record needs from the platform.
// GDI implements them on Windows; tests use a recording fake, so the order
// in which fonts and brushes are made and released is checked natively.
#pragma once

#include <cstdint>

namespace kelvo {

using DrawingHandle = void*;  // an HFONT or HBRUSH on Windows

struct FontDescription {
    int height = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
};

class DrawingObjects {
public:
    virtual ~DrawingObjects() = default;
    virtual DrawingHandle makeFont(const FontDescription& font) = 0;
    virtual DrawingHandle makeSolidBrush(std::uint32_t colorRef) = 0;
    virtual void release(DrawingHandle object) = 0;
};

}  // namespace kelvo
