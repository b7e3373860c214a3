// Fonts and brushes of the quiz record, made and released with GDI.
#pragma once

#include "quiz/drawing_objects.h"

namespace kelvo {

class GdiDrawingObjects : public DrawingObjects {
public:
    DrawingHandle makeFont(const FontDescription& font) override;
    DrawingHandle makeSolidBrush(std::uint32_t colorRef) override;
    void release(DrawingHandle object) override;
};

}  // namespace kelvo
