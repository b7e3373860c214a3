// One owner per GDI font or brush: released exactly once, when its owner goes.
#pragma once

#include <windows.h>

#include <utility>

namespace kelvo {

template <typename Handle>
class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(Handle handle) : handle(handle) {}
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle = std::exchange(other.handle, nullptr);
        }
        return *this;
    }
    ~ScopedGdiObject() { reset(); }

    Handle get() const { return handle; }
    void reset() {
        if (handle) DeleteObject(handle);
        handle = nullptr;
    }

private:
    Handle handle = nullptr;
};

using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;

}  // namespace kelvo
