// One small owner per kind of platform handle, each releasing its handle
// exactly once. Every owner kind counts the instances that hold a handle,
// and how many handles it ever took, so tests can check that repeated work
// returns to where it started.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <array>
#include <utility>

namespace kelvo {

enum class HandleKind {
    ComPointer, ComInitialisation, File, FileMapping, MappedView, WindowDc, MemoryDc, SelectedObject, Resource,
    GlobalMemory, Library,
    GdiObject,  // bitmaps
    Brush, Font,
    Count
};

namespace handle_counts {
inline std::array<int, static_cast<int>(HandleKind::Count)> live{};
inline std::array<int, static_cast<int>(HandleKind::Count)> taken{};

inline void took(HandleKind kind) {
    ++live[static_cast<int>(kind)];
    ++taken[static_cast<int>(kind)];
}
inline void gave(HandleKind kind) { --live[static_cast<int>(kind)]; }
}  // namespace handle_counts

// Owners of this kind that hold a handle right now.
inline int liveHandles(HandleKind kind) { return handle_counts::live[static_cast<int>(kind)]; }
// Handles owners of this kind ever took.
inline int handlesTaken(HandleKind kind) { return handle_counts::taken[static_cast<int>(kind)]; }

// An owner of a plain handle; Traits gives its kind, its empty value and how
// to release it.
template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) { reset(handle); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle(std::exchange(other.handle, Traits::empty())) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle = std::exchange(other.handle, Traits::empty());
        }
        return *this;
    }
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != Traits::empty(); }

    void reset(Handle replacement = Traits::empty()) {
        if (handle != Traits::empty()) {
            Traits::release(handle);
            handle_counts::gave(Traits::kind);
        }
        handle = replacement;
        if (handle != Traits::empty()) handle_counts::took(Traits::kind);
    }
    // Hands the handle to a new owner outside this family.
    Handle release() {
        if (handle != Traits::empty()) handle_counts::gave(Traits::kind);
        return std::exchange(handle, Traits::empty());
    }

private:
    Handle handle = Traits::empty();
};

namespace handle_traits {
// A handle type, its counter, and the platform function that releases it;
// null means "no handle" except where a type says otherwise.
template <typename HandleType, HandleKind handleKind, auto releaseFunction>
struct ReleasedBy {
    using Handle = HandleType;
    static constexpr HandleKind kind = handleKind;
    static Handle empty() { return nullptr; }
    static void release(Handle handle) { releaseFunction(handle); }
};
// CreateFileA's failure is INVALID_HANDLE_VALUE, not null.
struct File : ReleasedBy<HANDLE, HandleKind::File, CloseHandle> {
    static Handle empty() { return INVALID_HANDLE_VALUE; }
};
using FileMapping = ReleasedBy<HANDLE, HandleKind::FileMapping, CloseHandle>;
using MappedView = ReleasedBy<const void*, HandleKind::MappedView, UnmapViewOfFile>;
using MemoryDc = ReleasedBy<HDC, HandleKind::MemoryDc, DeleteDC>;
using Resource = ReleasedBy<HGLOBAL, HandleKind::Resource, FreeResource>;
using GlobalMemory = ReleasedBy<HGLOBAL, HandleKind::GlobalMemory, GlobalFree>;
using Library = ReleasedBy<HMODULE, HandleKind::Library, FreeLibrary>;
using Bitmap = ReleasedBy<HBITMAP, HandleKind::GdiObject, DeleteObject>;
using Brush = ReleasedBy<HBRUSH, HandleKind::Brush, DeleteObject>;
using Font = ReleasedBy<HFONT, HandleKind::Font, DeleteObject>;
}  // namespace handle_traits

using ScopedFile = ScopedHandle<handle_traits::File>;
using ScopedFileMapping = ScopedHandle<handle_traits::FileMapping>;
using ScopedMappedView = ScopedHandle<handle_traits::MappedView>;  // from MapViewOfFile
using ScopedMemoryDc = ScopedHandle<handle_traits::MemoryDc>;
using ScopedResource = ScopedHandle<handle_traits::Resource>;  // from LoadResource
using ScopedGlobalMemory = ScopedHandle<handle_traits::GlobalMemory>;
using ScopedLibrary = ScopedHandle<handle_traits::Library>;
using ScopedBitmap = ScopedHandle<handle_traits::Bitmap>;
using ScopedBrush = ScopedHandle<handle_traits::Brush>;
using ScopedFont = ScopedHandle<handle_traits::Font>;

// A window's device context from GetDC, given back with ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window(window), dc(GetDC(window)) {
        if (dc) handle_counts::took(HandleKind::WindowDc);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    ~ScopedWindowDc() {
        if (!dc) return;
        ReleaseDC(window, dc);
        handle_counts::gave(HandleKind::WindowDc);
    }

    HDC get() const { return dc; }
    explicit operator bool() const { return dc != nullptr; }

private:
    HWND window;
    HDC dc;
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {
        if (previous) handle_counts::took(HandleKind::SelectedObject);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    ~ScopedSelection() {
        if (!previous) return;
        SelectObject(dc, previous);
        handle_counts::gave(HandleKind::SelectedObject);
    }

    explicit operator bool() const { return previous != nullptr; }

private:
    HDC dc;
    HGDIOBJ previous;
};

// COM for this thread, from CoInitialize to its matching CoUninitialize
// (also when the thread was already initialised, which CoInitialize counts).
class ScopedCoInitialize {
public:
    ScopedCoInitialize() : initialised(SUCCEEDED(CoInitialize(nullptr))) {
        if (initialised) handle_counts::took(HandleKind::ComInitialisation);
    }
    ScopedCoInitialize(const ScopedCoInitialize&) = delete;
    ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
    ~ScopedCoInitialize() {
        if (!initialised) return;
        CoUninitialize();
        handle_counts::gave(HandleKind::ComInitialisation);
    }

    explicit operator bool() const { return initialised; }

private:
    bool initialised;
};

// One reference to a COM interface.
template <typename Interface>
class ScopedComPtr {
public:
    // Receives an interface from a function's out parameter and takes it
    // over at the end of the full expression:
    //     HRESULT result = create(pointer.out());
    class OutParameter {
    public:
        explicit OutParameter(ScopedComPtr& owner) : owner(owner) {}
        OutParameter(const OutParameter&) = delete;
        ~OutParameter() { owner.adopt(received); }
        operator Interface**() { return &received; }
        operator void**() { return reinterpret_cast<void**>(&received); }

    private:
        ScopedComPtr& owner;
        Interface* received = nullptr;
    };

    ScopedComPtr() = default;
    ScopedComPtr(const ScopedComPtr&) = delete;
    ScopedComPtr& operator=(const ScopedComPtr&) = delete;
    ~ScopedComPtr() { reset(); }

    Interface* get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

    OutParameter out() {
        reset();
        return OutParameter(*this);
    }
    // Takes over a reference the caller holds.
    void adopt(Interface* reference) {
        reset();
        pointer = reference;
        if (pointer) handle_counts::took(HandleKind::ComPointer);
    }
    void reset() {
        if (!pointer) return;
        std::exchange(pointer, nullptr)->Release();
        handle_counts::gave(HandleKind::ComPointer);
    }

private:
    Interface* pointer = nullptr;
};

}  // namespace kelvo
