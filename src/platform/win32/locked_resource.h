// The bytes of one resource of a module, loaded and locked for as long as the
// owner lives: the one way the player reads its quiz, pictures and clips.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/win32/scoped_handles.h"

namespace kelvo {

class LockedResource {
public:
    // A null module is the running executable.
    LockedResource(HMODULE module, const char* type, int id);

    // Whether the module has such a resource at all, loadable or not.
    bool exists() const { return found != nullptr; }
    // The bytes, or null when the resource is absent or could not be loaded.
    const void* data() const { return bytes; }
    std::size_t size() const { return bytes != nullptr ? length : 0; }
    explicit operator bool() const { return bytes != nullptr; }

private:
    HRSRC found = nullptr;
    ScopedResource loaded;
    const void* bytes = nullptr;
    std::size_t length = 0;
};

}  // namespace kelvo
