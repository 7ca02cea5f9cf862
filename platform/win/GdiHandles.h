#pragma once
#include <windows.h>

#include "platform/win/UniqueHandle.h"

namespace platform {

struct HdcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteDC(h); }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct BitmapTraits {
    using Handle = HBITMAP;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

// A memory DC from CreateCompatibleDC.
using UniqueHdc = UniqueResource<HdcTraits>;
// Pens, brushes, fonts, regions. Windows refuses to delete an object that is
// still selected into a DC: declare the owner before the DC's SelectGuard.
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueBitmap = UniqueResource<BitmapTraits>;

// A window's (or, with no window, the screen's) DC from GetDC.
class WindowDc {
public:
    explicit WindowDc(HWND window = nullptr) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc()
    {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back at scope end,
// so the object can be deleted afterwards.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_old(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard()
    {
        if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

    bool Selected() const noexcept { return m_old && m_old != HGDI_ERROR; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace platform
