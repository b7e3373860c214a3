#include "shell/win32/picture_loader.h"

namespace kelvo {

HBITMAP loadResourcePicture(HMODULE, int, const char*, int, int) {
    return nullptr;
}

}  // namespace kelvo
