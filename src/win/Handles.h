// Owners for Win32 resources. Each closes its resource exactly once, on every
// path; they move and never copy (a copied guard would close twice).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace tide {

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Value get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    Value release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(Value value = Traits::Invalid()) noexcept {
        const Value old = std::exchange(value_, value);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }
    // For APIs that return the resource through an out parameter.
    Value* put() noexcept {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::Invalid();
};

// Most kernel handles are NULL when invalid...
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::CloseHandle(value); }
};
// ...but CreateFile fails with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { ::CloseHandle(value); }
};
struct FindHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { ::FindClose(value); }
};
struct MappedViewTraits {
    using Value = void*;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::UnmapViewOfFile(value); }
};
struct RegistryKeyTraits {
    using Value = HKEY;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::RegCloseKey(value); }
};
struct LibraryTraits {
    using Value = HMODULE;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::FreeLibrary(value); }
};
struct GlobalMemoryTraits {
    using Value = HGLOBAL;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::GlobalFree(value); }
};
struct TaskMemoryTraits {
    using Value = wchar_t*;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::CoTaskMemFree(value); }
};
struct WindowDcTraits {
    // A DC from GetDC; the window it belongs to is kept beside it.
    using Value = std::pair<HWND, HDC>;
    static Value Invalid() noexcept { return {nullptr, nullptr}; }
    static void Close(Value value) noexcept { ::ReleaseDC(value.first, value.second); }
};

template <typename Handle>
struct GdiObjectTraits {
    using Value = Handle;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::DeleteObject(value); }
};
struct MemoryDcTraits {
    using Value = HDC;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::DeleteDC(value); }
};
struct IconTraits {
    using Value = HICON;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::DestroyIcon(value); }
};

using KernelHandle = UniqueResource<KernelHandleTraits>;
using FontHandle = UniqueResource<GdiObjectTraits<HFONT>>;
using BitmapHandle = UniqueResource<GdiObjectTraits<HBITMAP>>;
using BrushHandle = UniqueResource<GdiObjectTraits<HBRUSH>>;
using MemoryDc = UniqueResource<MemoryDcTraits>;
using IconHandle = UniqueResource<IconTraits>;
using FileHandle = UniqueResource<FileHandleTraits>;
using FindHandle = UniqueResource<FindHandleTraits>;
using MappedView = UniqueResource<MappedViewTraits>;
using RegistryKey = UniqueResource<RegistryKeyTraits>;
using LoadedLibrary = UniqueResource<LibraryTraits>;
using GlobalMemory = UniqueResource<GlobalMemoryTraits>;
using TaskMemoryString = UniqueResource<TaskMemoryTraits>;

// The device context of a window, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : dc_({window, ::GetDC(window)}) {
        if (!dc_.get().second) {
            dc_.release();
        }
    }
    HDC get() const noexcept { return dc_.get().second; }
    explicit operator bool() const noexcept { return dc_.valid(); }

private:
    UniqueResource<WindowDcTraits> dc_;
};

// Selects an object into a DC for the scope, then puts the old one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { ::SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { ::BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    HDC dc() const { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
};

// Keeps a movable global memory block locked while in scope.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) noexcept
        : memory_(memory), pointer_(memory ? ::GlobalLock(memory) : nullptr) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (pointer_) {
            ::GlobalUnlock(memory_);
        }
    }
    void* get() const noexcept { return pointer_; }

private:
    HGLOBAL memory_;
    void* pointer_;
};

} // namespace tide
