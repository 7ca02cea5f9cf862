#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

// The off-screen surface of a control: a memory DC that owns one 32-bpp
// bitmap of a given size, selected into it for the DC's whole life.
class CMemoryDC {
public:
    CMemoryDC() = default;
    virtual ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    // Drops the old DC and bitmap, then makes new ones of this size. False
    // when they could not be made: the surface is then empty (no DC, size 0)
    // and drawing into it does nothing. An empty size makes no DC.
    bool Resize(int width, int height);
    bool Resize(SIZE size) { return Resize(size.cx, size.cy); }

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    HBITMAP Bitmap() const { return m_hBitmap; }
    // The bitmap's pixels: top-down rows of Width() premultiplied BGRA values.
    void* Bits() const { return m_pBits; }
    // A GDI+ bitmap over those same pixels (32bpp premultiplied ARGB), made on
    // first use, so GDI+ draws straight into the surface; null without one.
    // Call GdiFlush between GDI drawing into the DC and GDI+ drawing here.
    Gdiplus::Bitmap* Surface();

private:
    void Release();

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;  // kept null: output and attributes are one DC
    int m_nWidth = 0;
    int m_nHeight = 0;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hPrevBitmap = nullptr;
    void* m_pBits = nullptr;
    std::unique_ptr<Gdiplus::Bitmap> m_pSurface;
};
