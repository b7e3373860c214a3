#include "quiz/win32/gdi_drawing_objects.h"

#include <windows.h>

#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

// The quiz record holds its fonts and brushes through the portable seam, not
// in owners of its own, so the seam keeps their live count.
DrawingHandle counted(HGDIOBJ object, HandleKind kind) {
    if (object != nullptr) handle_counts::took(kind);
    return object;
}

}  // namespace

DrawingHandle GdiDrawingObjects::makeFont(const FontDescription& font) {
    LOGFONTA description = {};
    description.lfHeight = font.height;
    description.lfWeight = font.weight;
    description.lfItalic = font.italic ? 1 : 0;
    description.lfUnderline = font.underline ? 1 : 0;
    return counted(CreateFontIndirectA(&description), HandleKind::Font);
}

DrawingHandle GdiDrawingObjects::makeSolidBrush(std::uint32_t colorRef) {
    return counted(CreateSolidBrush(colorRef), HandleKind::Brush);
}

// Only what this seam made is released here: fonts and brushes.
void GdiDrawingObjects::release(DrawingHandle object) {
    if (object == nullptr) return;
    const DWORD type = GetObjectType(static_cast<HGDIOBJ>(object));
    if (type != OBJ_FONT && type != OBJ_BRUSH) return;
    if (DeleteObject(static_cast<HGDIOBJ>(object)))
        handle_counts::gave(type == OBJ_FONT ? HandleKind::Font : HandleKind::Brush);
}

}  // namespace kelvo
