#include "quiz/win32/executable_resources.h"

#include "platform/win32/locked_resource.h"
#include "resources/resource_ids.h"

namespace kelvo {

std::vector<std::uint8_t> resourceBytes(HMODULE module, const char* type, int id) {
    LockedResource resource(module, type, id);
    auto* bytes = static_cast<const std::uint8_t*>(resource.data());
    return std::vector<std::uint8_t>(bytes, bytes + resource.size());
}

std::vector<std::uint8_t> ExecutablePatchResources::patchResource(int id) {
    return resourceBytes(module, ResourceIds::PatchType, id);
}

void MessageBoxSink::showMessage(const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

}  // namespace kelvo
