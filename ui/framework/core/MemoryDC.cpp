#include "ui/framework/core/MemoryDC.h"

#include "backend/trace/Trace.h"
#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"

CMemoryDC::~CMemoryDC()
{
    Release();
}

Gdiplus::Bitmap* CMemoryDC::Surface()
{
    if (!m_pSurface && m_pBits) {
        auto surface = std::make_unique<Gdiplus::Bitmap>(m_nWidth, m_nHeight, m_nWidth * 4, PixelFormat32bppPARGB,
                                                         static_cast<BYTE*>(m_pBits));
        if (surface->GetLastStatus() == Gdiplus::Ok) m_pSurface = std::move(surface);
    }
    return m_pSurface.get();
}

void CMemoryDC::Release()
{
    m_pSurface.reset();  // it points into the bitmap's pixels
    if (m_hDC) {
        // Out of the DC first: Windows refuses to delete a selected bitmap.
        if (m_hPrevBitmap) ::SelectObject(m_hDC, m_hPrevBitmap);
        if (m_hBitmap && !::DeleteObject(m_hBitmap))
            LogMessage(L"DeleteObject", L"CMemoryDC::Release", false, 0);
        ::DeleteDC(m_hDC);
    }
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    m_nWidth = 0;
    m_nHeight = 0;
    m_hBitmap = nullptr;
    m_hPrevBitmap = nullptr;
    m_pBits = nullptr;
}

bool CMemoryDC::Resize(int width, int height)
{
    Release();
    if (width <= 0 || height <= 0) return true;

    platform::WindowDc screen;
    platform::UniqueHdc dc(::CreateCompatibleDC(screen.Get()));
    if (!dc) {
        LogMessage(L"CreateCompatibleDC", L"CMemoryDC::Resize", false, 0);
        return false;
    }
    // A 32-bpp DIB section whatever the screen's depth: per-pixel alpha
    // presenting needs the alpha byte, and GDI+ keeps it premultiplied there.
    BITMAPINFO info = platform::Dib32Info(width, -height);
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        LogMessage(L"CreateDIBSection", L"CMemoryDC::Resize", false, 0);
        return false;
    }
    HGDIOBJ previous = ::SelectObject(dc.Get(), bitmap.Get());
    if (!previous || previous == HGDI_ERROR) {
        LogMessage(L"SelectObject", L"CMemoryDC::Resize", false, 0);
        return false;
    }
    m_hDC = dc.Release();
    m_hBitmap = bitmap.Release();
    m_hPrevBitmap = previous;
    m_pBits = bits;
    m_nWidth = width;
    m_nHeight = height;
    return true;
}
