// Pictures carried as "IMG" resources, decoded by the platform and fitted
// into a box with their proportions kept.
#pragma once

#include <windows.h>

#include <cstddef>

namespace kelvo {

// The fitted bitmap (owned by the caller), or null when the resource is
// missing or holds no picture the decoder turns into a bitmap.
HBITMAP loadResourcePicture(HMODULE module, int resourceId, const char* typeName, int width, int height);

// A BMP, JPEG or GIF file in memory as a full-size bitmap owned by the
// caller, or null. The bytes are copied: they may go once this returns.
HBITMAP decodePicture(const void* bytes, std::size_t size);

// A new bitmap of `bitmap` stretched to fit width x height, proportions
// kept, or null. Takes ownership of `bitmap` and deletes it in every case.
HBITMAP scaleToFit(HBITMAP bitmap, int width, int height);

}  // namespace kelvo
