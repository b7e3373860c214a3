#include "platform/win32/picture_loader.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "platform/win32/locked_resource.h"
#include "platform/picture_fit.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

// A file decoded by the platform, with COM initialised for as long as the
// picture object lives. Its bitmap belongs to the picture object.
class DecodedPicture {
public:
    DecodedPicture(const void* bytes, std::size_t size) {
        if (bytes == nullptr || size == 0 || size > static_cast<std::size_t>(MAXLONG)) return;
        ScopedGlobalMemory block(GlobalAlloc(GMEM_FIXED, size));
        if (!block) return;
        std::memcpy(block.get(), bytes, size);  // a fixed block's handle is its address
        HRESULT result = CreateStreamOnHGlobal(block.get(), TRUE, stream.out());
        if (FAILED(result) || !stream) return;
        block.release();  // the stream frees it when it goes
        result = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.out());
        if (FAILED(result)) picture.reset();
    }

    // Null for an icon or a metafile, which the decoder reads too.
    HBITMAP bitmap() const {
        SHORT type = PICTYPE_NONE;
        OLE_HANDLE handle = 0;
        if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) return nullptr;
        if (FAILED(picture->get_Handle(&handle)) || handle == 0) return nullptr;
        return static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle)));
    }

private:
    // Declared first so that it ends last, after the COM objects below.
    ScopedCoInitialize com;
    ScopedComPtr<IStream> stream;
    ScopedComPtr<IPicture> picture;
};

// Stretches `source` (left as it is) into a new bitmap that fits the box.
ScopedBitmap stretchToFit(HBITMAP source, int width, int height) {
    BITMAP info = {};
    if (source == nullptr || GetObjectA(source, sizeof info, &info) == 0) return {};
    const FittedSize fitted = fitWithin(info.bmWidth, info.bmHeight, width, height);
    if (fitted.width <= 0 || fitted.height <= 0) return {};

    ScopedWindowDc screen(nullptr);
    if (!screen) return {};
    ScopedMemoryDc sourceDc(CreateCompatibleDC(screen.get()));
    ScopedMemoryDc targetDc(CreateCompatibleDC(screen.get()));
    ScopedBitmap result(CreateCompatibleBitmap(screen.get(), fitted.width, fitted.height));
    if (!sourceDc || !targetDc || !result) return {};
    {
        ScopedSelection sourceSelected(sourceDc.get(), source);
        ScopedSelection targetSelected(targetDc.get(), result.get());
        if (!sourceSelected || !targetSelected) return {};
        SetStretchBltMode(targetDc.get(), HALFTONE);
        SetBrushOrgEx(targetDc.get(), 0, 0, nullptr);  // halftone needs it after the mode is set
        if (!StretchBlt(targetDc.get(), 0, 0, fitted.width, fitted.height, sourceDc.get(), 0, 0, info.bmWidth,
                        info.bmHeight, SRCCOPY))
            return {};
    }
    return result;
}

}  // namespace

HBITMAP decodePicture(const void* bytes, std::size_t size) {
    DecodedPicture decoded(bytes, size);
    HBITMAP bitmap = decoded.bitmap();
    // The picture object keeps its own bitmap; ours must outlive it.
    return bitmap != nullptr ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

HBITMAP scaleToFit(HBITMAP bitmap, int width, int height) {
    ScopedBitmap source(bitmap);
    return stretchToFit(source.get(), width, height).release();
}

HBITMAP loadResourcePicture(HMODULE module, int resourceId, const char* typeName, int width, int height) {
    LockedResource resource(module, typeName, resourceId);
    if (!resource) return nullptr;
    // Stretched straight from the picture object's bitmap: a full-size copy
    // first (decodePicture) costs as much again as the stretch itself.
    DecodedPicture decoded(resource.data(), resource.size());
    return stretchToFit(decoded.bitmap(), width, height).release();
}

}  // namespace kelvo
