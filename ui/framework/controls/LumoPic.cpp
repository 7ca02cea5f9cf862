#include "ui/framework/controls/LumoPic.h"

void LumoPic::SetPictureDC(HDC picture)
{
    if (picture == m_hPictureDC) return;
    m_hPictureDC = picture;
    Render();
}

void LumoPic::PaintContent(Gdiplus::Graphics& graphics)
{
    if (!m_hPictureDC) return;
    GdiDrawing gdi(*this, graphics);
    if (!gdi.Get()) return;
    ::BitBlt(gdi.Get(), 0, 0, m_nWidth, m_nHeight, m_hPictureDC, 0, 0, SRCCOPY);
}
