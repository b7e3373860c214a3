#include "quiz/win32/gdi_drawing_objects.h"

#include <windows.h>

namespace kelvo {

DrawingHandle GdiDrawingObjects::makeFont(const FontDescription& font) {
    LOGFONTA description = {};
    description.lfHeight = font.height;
    description.lfWeight = font.weight;
    description.lfItalic = font.italic ? 1 : 0;
    description.lfUnderline = font.underline ? 1 : 0;
    return CreateFontIndirectA(&description);
}

DrawingHandle GdiDrawingObjects::makeSolidBrush(std::uint32_t colorRef) {
    return CreateSolidBrush(colorRef);
}

void GdiDrawingObjects::release(DrawingHandle object) {
    if (object != nullptr) DeleteObject(static_cast<HGDIOBJ>(object));
}

}  // namespace kelvo
