#pragma once
#include <windows.h>

#include <utility>

namespace platform {

// Owns one handle and releases it with Traits::Close; movable, not copyable.
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept : m_handle(Traits::Invalid()) {}
    explicit UniqueResource(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_handle(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return m_handle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) noexcept
    {
        Handle old = std::exchange(m_handle, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    // For out-parameters of creating calls.
    Handle* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle;
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct HKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};

struct LocalMemTraits {
    using Handle = HLOCAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

// CreateFile-style handles (invalid is INVALID_HANDLE_VALUE).
using UniqueFile = UniqueResource<FileHandleTraits>;
// Events, threads, processes (invalid is null).
using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueHKey = UniqueResource<HKeyTraits>;
using UniqueLocalMem = UniqueResource<LocalMemTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;

}  // namespace platform
