#include "platform/win32/locked_resource.h"

namespace kelvo {

LockedResource::LockedResource(HMODULE module, const char* type, int id)
    : found(FindResourceA(module, MAKEINTRESOURCEA(id), type)) {
    if (found == nullptr) return;
    length = SizeofResource(module, found);
    loaded.reset(LoadResource(module, found));
    if (loaded) bytes = LockResource(loaded.get());
}

}  // namespace kelvo
