#include "shell/win32/picture_loader.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "shell/picture_fit.h"
#include "shell/win32/scoped_handles.h"

namespace kelvo {
namespace {

// The picture object keeps its own bitmap; ours must outlive it.
HBITMAP copyOfPictureBitmap(IPicture& picture) {
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.get_Type(&type)) || type != PICTYPE_BITMAP) return nullptr;
    if (FAILED(picture.get_Handle(&handle)) || handle == 0) return nullptr;
    HANDLE bitmap = LongToHandle(static_cast<LONG>(handle));
    return static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

HBITMAP decodePicture(const void* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0 || size > static_cast<std::size_t>(MAXLONG)) return nullptr;
    // Declared first so that it ends last, after every COM object below.
    ScopedCoInitialize com;
    ScopedGlobalMemory block(GlobalAlloc(GMEM_FIXED, size));
    if (!block) return nullptr;
    std::memcpy(block.get(), bytes, size);  // a fixed block's handle is its address

    ScopedComPtr<IStream> stream;
    HRESULT result = CreateStreamOnHGlobal(block.get(), TRUE, stream.out());
    if (FAILED(result) || !stream) return nullptr;
    block.release();  // the stream frees it when it goes

    ScopedComPtr<IPicture> picture;
    result = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.out());
    if (FAILED(result) || !picture) return nullptr;
    return copyOfPictureBitmap(*picture.get());
}

HBITMAP scaleToFit(HBITMAP bitmap, int width, int height) {
    ScopedBitmap source(bitmap);
    BITMAP info = {};
    if (!source || GetObjectA(source.get(), sizeof info, &info) == 0) return nullptr;
    const FittedSize fitted = fitWithin(info.bmWidth, info.bmHeight, width, height);
    if (fitted.width <= 0 || fitted.height <= 0) return nullptr;

    ScopedWindowDc screen(nullptr);
    if (!screen) return nullptr;
    ScopedMemoryDc sourceDc(CreateCompatibleDC(screen.get()));
    ScopedMemoryDc targetDc(CreateCompatibleDC(screen.get()));
    ScopedBitmap result(CreateCompatibleBitmap(screen.get(), fitted.width, fitted.height));
    if (!sourceDc || !targetDc || !result) return nullptr;
    {
        ScopedSelection sourceSelected(sourceDc.get(), source.get());
        ScopedSelection targetSelected(targetDc.get(), result.get());
        if (!sourceSelected || !targetSelected) return nullptr;
        SetStretchBltMode(targetDc.get(), HALFTONE);
        SetBrushOrgEx(targetDc.get(), 0, 0, nullptr);  // halftone needs it after the mode is set
        if (!StretchBlt(targetDc.get(), 0, 0, fitted.width, fitted.height, sourceDc.get(), 0, 0, info.bmWidth,
                        info.bmHeight, SRCCOPY))
            return nullptr;
    }
    return result.release();
}

HBITMAP loadResourcePicture(HMODULE module, int resourceId, const char* typeName, int width, int height) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), typeName);
    if (found == nullptr) return nullptr;
    ScopedResource loaded(LoadResource(module, found));
    if (!loaded) return nullptr;
    const DWORD size = SizeofResource(module, found);
    const void* bytes = LockResource(loaded.get());
    HBITMAP decoded = bytes != nullptr ? decodePicture(bytes, size) : nullptr;
    loaded.reset();
    if (decoded == nullptr) return nullptr;
    return scaleToFit(decoded, width, height);
}

}  // namespace kelvo
