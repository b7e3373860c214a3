// Pictures carried as "IMG" resources, decoded by the platform and fitted
// into a box with their proportions kept.
#pragma once

#include <windows.h>

namespace kelvo {

// The fitted bitmap (owned by the caller), or null when the resource is
// missing or holds no picture the decoder turns into a bitmap.
HBITMAP loadResourcePicture(HMODULE module, int resourceId, const char* typeName, int width, int height);

}  // namespace kelvo
