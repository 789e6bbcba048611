#pragma once

#include <windows.h>

#include <utility>

// One owner per kind of Win32 handle: closed once, movable, never copied.
// Traits name the handle type, its empty value and how it is closed.
template <typename Traits>
class HandleOwner {
public:
    using Handle = typename Traits::Handle;

    HandleOwner() noexcept = default;
    explicit HandleOwner(Handle handle) noexcept : handle_(handle) {}
    HandleOwner(HandleOwner&& other) noexcept : handle_(std::exchange(other.handle_, Traits::empty())) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.handle_, Traits::empty()));
        return *this;
    }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    ~HandleOwner() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::empty(); }
    // For Win32 calls that hand a new handle back through a pointer.
    Handle* receive() noexcept
    {
        reset();
        return &handle_;
    }
    // Hands the handle to whoever closes it from now on.
    Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) noexcept
    {
        if (handle_ != Traits::empty()) Traits::close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::empty();
};

// Processes, threads and other kernel objects: empty is null.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};
// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { FindClose(handle); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle key) noexcept { RegCloseKey(key); }
};

// Bitmaps the program loads itself, deleted once no window shows them.
struct BitmapTraits {
    using Handle = HBITMAP;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle bitmap) noexcept { DeleteObject(bitmap); }
};
// The screen's device context, lent by the window manager.
struct ScreenDcTraits {
    using Handle = HDC;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { ReleaseDC(nullptr, dc); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle module) noexcept { FreeLibrary(module); }
};

using KernelHandle = HandleOwner<KernelHandleTraits>;
using FileHandle = HandleOwner<FileHandleTraits>;
using FindHandle = HandleOwner<FindHandleTraits>;
using RegKey = HandleOwner<RegKeyTraits>;
using Bitmap = HandleOwner<BitmapTraits>;
using ScreenDc = HandleOwner<ScreenDcTraits>;
using Module = HandleOwner<ModuleTraits>;

// Keeps COM initialised on this thread for its lifetime, where that succeeded.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (initialised_) CoUninitialize();
    }

private:
    bool initialised_;
};

// Memory that COM or the shell hands over for CoTaskMemFree, such as item id lists.
template <typename T>
struct CoTaskMemoryTraits {
    using Handle = T*;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle memory) noexcept { CoTaskMemFree(memory); }
};
template <typename T>
using CoTaskMemory = HandleOwner<CoTaskMemoryTraits<T>>;

// A storage medium that IDataObject::GetData filled, released once.
class StorageMedium {
public:
    StorageMedium() = default;
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    ~StorageMedium()
    {
        if (medium_.tymed != TYMED_NULL) ReleaseStgMedium(&medium_);
    }

    STGMEDIUM* receive() noexcept { return &medium_; }
    const STGMEDIUM& get() const noexcept { return medium_; }

private:
    STGMEDIUM medium_ = {};
};
