#include "quiz/win32/executable_resources.h"

#include "resources/resource_ids.h"
#include "shell/win32/scoped_handles.h"

namespace kelvo {

// The resource is released once its bytes have been copied out.
std::vector<std::uint8_t> resourceBytes(HMODULE module, const char* type, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    const DWORD size = SizeofResource(module, found);
    ScopedResource resource(LoadResource(module, found));
    if (!resource) return {};
    auto* bytes = static_cast<const std::uint8_t*>(LockResource(resource.get()));
    if (bytes == nullptr || size == 0) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

std::vector<std::uint8_t> ExecutablePatchResources::patchResource(int id) {
    return resourceBytes(module, ResourceIds::PatchType, id);
}

void MessageBoxSink::showMessage(const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

}  // namespace kelvo
