#include "quiz/win32/executable_resources.h"

namespace kelvo {
namespace {

// A loaded resource is released when the bytes have been copied out.
class LoadedResource {
public:
    LoadedResource(HMODULE module, HRSRC found) : handle(LoadResource(module, found)) {}
    LoadedResource(const LoadedResource&) = delete;
    LoadedResource& operator=(const LoadedResource&) = delete;
    ~LoadedResource() {
        if (handle != nullptr) FreeResource(handle);
    }
    const void* bytes() const { return handle != nullptr ? LockResource(handle) : nullptr; }

private:
    HGLOBAL handle;
};

}  // namespace

std::vector<std::uint8_t> resourceBytes(HMODULE module, const char* type, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    DWORD size = SizeofResource(module, found);
    LoadedResource resource(module, found);
    auto* bytes = static_cast<const std::uint8_t*>(resource.bytes());
    if (bytes == nullptr || size == 0) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

std::vector<std::uint8_t> ExecutablePatchResources::patchResource(int id) {
    return resourceBytes(module, "PATCH", id);
}

void MessageBoxSink::showMessage(const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

}  // namespace kelvo
