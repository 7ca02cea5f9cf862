// Rendering a control off-screen with GDI+ and presenting the surface.
#include "ui/framework/core/Control.h"

#include <cstring>

#include "backend/trace/Trace.h"
#include "ui/framework/drawing/GdiHelpers.h"

namespace {

BYTE ConstantAlpha(float opacity)
{
    // Truncated toward zero; out-of-range values are held to the byte.
    const double scaled = static_cast<double>(opacity) * 255.0;
    if (!(scaled > 0.0)) return 0;
    if (scaled >= 255.0) return 255;
    return static_cast<BYTE>(scaled);
}

}  // namespace

bool Control::RenderSurface()
{
    if (m_bRenderSuspended || m_bCreating || !::IsWindow(m_hWnd)) return false;
    // GDI+ draws into a bitmap over the surface's own pixels: the same
    // premultiplied result as a Graphics on the DC, without a copy per call.
    Gdiplus::Bitmap* surface = m_memDC.Surface();
    if (!surface) return false;  // no surface (empty size, or it could not be made)

    // Cleared to transparent: premultiplied, ARGB 0x00FFFFFF is all zero bytes.
    ::GdiFlush();
    std::memset(m_memDC.Bits(), 0, static_cast<size_t>(m_memDC.Width()) * m_memDC.Height() * 4);
    // The pixels behind go down before anything a subclass draws, so they
    // never cover it.
    if (!m_bLayered) LayBackgroundPixels();
    Gdiplus::Graphics graphics(surface);
    m_pRenderGraphics = &graphics;
    PaintBackground(graphics);
    PaintContent(graphics);
    m_pRenderGraphics = nullptr;
    graphics.Flush(Gdiplus::FlushIntentionSync);
    return true;
}

void Control::Present(const RECT* dirty)
{
    if (m_bLayered) {
        POINT destination = {m_nX, m_nY};
        SIZE size = {m_nWidth, m_nHeight};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, ConstantAlpha(m_fOpacity), AC_SRC_ALPHA};
        UPDATELAYEREDWINDOWINFO info = {};
        info.cbSize = sizeof(info);
        info.hdcDst = nullptr;
        info.pptDst = &destination;
        info.psize = &size;
        info.hdcSrc = m_memDC.GetSafeHdc();
        info.pptSrc = &source;
        info.crKey = 0;
        info.pblend = &blend;
        info.dwFlags = ULW_ALPHA;
        info.prcDirty = dirty;
        if (!::UpdateLayeredWindowIndirect(m_hWnd, &info))
            LogMessage(L"UpdateLayeredWindowIndirect", L"Control::Present", false, ::GetLastError());
        return;
    }
    RECT client = {};
    if (!dirty) {
        ::GetClientRect(m_hWnd, &client);
        dirty = &client;
    }
    ::InvalidateRect(m_hWnd, dirty, TRUE);
    ::UpdateWindow(m_hWnd);
}

void Control::Render()
{
    if (RenderSurface()) Present(nullptr);
}

void Control::RenderRect(RECT dirty)
{
    if (RenderSurface()) Present(&dirty);
}

BOOL Control::InvalidateAsync()
{
    return ::PostMessageW(m_hWnd, WM_CONTROL_RENDER, 0, 0);
}

void Control::OnPaint(HDC paintDC)
{
    HDC surface = m_memDC.GetSafeHdc();
    if (!surface) return;
    const BYTE alpha = ConstantAlpha(m_fOpacity);
    if (alpha == 255 && m_memDC.Width() == m_nWidth && m_memDC.Height() == m_nHeight &&
        AllPixelsOpaque(static_cast<const uint32_t*>(m_memDC.Bits()), m_nWidth, m_nHeight)) {
        // Nothing behind shows through an opaque surface: one copy instead of
        // the background and a blend.
        ::BitBlt(paintDC, 0, 0, m_nWidth, m_nHeight, surface, 0, 0, SRCCOPY);
        return;
    }
    // One opaque frame per paint: what lies behind, then the surface at the
    // opacity. Blending onto the window's old pixels would build up.
    if (m_hBackgroundDC) {
        ::BitBlt(paintDC, 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, SRCCOPY);
    } else {
        ::PatBlt(paintDC, 0, 0, m_nWidth, m_nHeight, BLACKNESS);  // the class's background
    }
    ::SetStretchBltMode(paintDC, HALFTONE);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    ::AlphaBlend(paintDC, 0, 0, m_nWidth, m_nHeight, surface, 0, 0, m_memDC.Width(), m_memDC.Height(), blend);
}

void Control::LayBackgroundPixels()
{
    if (!m_hBackgroundDC) return;
    // The pixels behind the control, taken at its own place. Blended over
    // the cleared surface they come out unchanged: between two 32bpp DIBs a
    // copy gives the same pixels, alpha included, at a fraction of the cost.
    SIZE from = {}, to = {};
    if (SelectedDib32Size(m_hBackgroundDC, from) && SelectedDib32Size(m_memDC.GetSafeHdc(), to) && m_nX >= 0 &&
        m_nY >= 0 && m_nWidth <= from.cx - m_nX && m_nHeight <= from.cy - m_nY) {
        ::BitBlt(m_memDC.GetSafeHdc(), 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, SRCCOPY);
        ::GdiFlush();
        return;
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(m_memDC.GetSafeHdc(), 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, m_nWidth, m_nHeight,
                 blend);
    ::GdiFlush();
}

Control::GdiDrawing::GdiDrawing(Control& control, Gdiplus::Graphics& graphics)
{
    if (&graphics == control.m_pRenderGraphics && control.m_memDC.GetSafeHdc()) {
        // The render's own surface: GDI draws into the very pixels, keeping
        // their alpha, once GDI+ has put its drawing there.
        graphics.Flush(Gdiplus::FlushIntentionSync);
        m_dc = control.m_memDC.GetSafeHdc();
    } else {
        m_pBorrowedFrom = &graphics;
        m_dc = graphics.GetHDC();
    }
}

Control::GdiDrawing::~GdiDrawing()
{
    if (m_pBorrowedFrom) {
        if (m_dc) m_pBorrowedFrom->ReleaseHDC(m_dc);
    } else {
        ::GdiFlush();  // before GDI+ draws on
    }
}

Gdiplus::Status Control::PaintBackground(Gdiplus::Graphics& graphics)
{
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();

    const INT left = m_margin.left;
    const INT top = m_margin.top;
    const INT width = m_nWidth - m_margin.right - m_margin.left;
    const INT height = m_nHeight - m_margin.bottom - m_margin.top;

    Gdiplus::Status status = Gdiplus::Ok;
    if (m_clrBackground.GetValue() != 0) {
        Gdiplus::SolidBrush brush(m_clrBackground);
        const Gdiplus::Point corners[4] = {
            {left, top}, {left + width, top}, {left + width, top + height}, {left, top + height}};
        status = graphics.FillPolygon(&brush, corners, 4, Gdiplus::FillModeAlternate);
    }

    if (m_pBackgroundImage) {
        Gdiplus::Bitmap* image = m_pBackgroundImage.get();
        if (m_bStretchImage) {
            graphics.DrawImage(image, Gdiplus::Rect(left, top, width, height));
        } else {
            // Natural size in pixels: DrawImage at a point would scale by the
            // image's DPI.
            graphics.DrawImage(image, Gdiplus::Rect(left, top, static_cast<INT>(image->GetWidth()),
                                                    static_cast<INT>(image->GetHeight())));
        }
    }

    graphics.EndContainer(container);
    return status;
}

void Control::PaintContent(Gdiplus::Graphics&) {}

int Control::DrawHoverFrame(Gdiplus::Graphics&)
{
    return 0;
}

void Control::SetOpacity(float opacity)
{
    m_fOpacity = opacity;
    Render();
    Opacity.RaiseChanged(this);
}
