#include "ui/windows/shared/GraphicsDc.h"

#include "platform/win/GdiHandles.h"

GraphicsDc::GraphicsDc(Gdiplus::Graphics* graphics) : m_pGraphics(graphics)
{
    if (!graphics) return;
    // The clip is read first: GDI+ answers nothing while its DC is handed out.
    Gdiplus::Region clip;
    platform::UniqueGdiObject region;
    if (graphics->GetClip(&clip) == Gdiplus::Ok && !clip.IsInfinite(graphics))
        region.Reset(clip.GetHRGN(graphics));
    m_hDC = graphics->GetHDC();
    if (!m_hDC) return;
    m_nSaved = ::SaveDC(m_hDC);
    if (region) ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(region.Get()), RGN_AND);
}

GraphicsDc::~GraphicsDc()
{
    if (!m_hDC) return;
    if (m_nSaved) ::RestoreDC(m_hDC, m_nSaved);
    m_pGraphics->ReleaseHDC(m_hDC);
}
