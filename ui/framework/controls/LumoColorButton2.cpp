#include "ui/framework/controls/LumoColorButton2.h"

#include <memory>
#include <utility>

#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/scale/Scale.h"

LumoColorButton2::LumoColorButton2(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage,
                                   Gdiplus::Color color)
    : LumoColorButtonBase(std::move(normalImage), std::move(mouseOverImage), std::move(pressedImage), color)
{
    SetFocusedAction([this] { Render(); });
    SetUnfocusedAction([this] { Render(); });
}

bool LumoColorButton2::PrepareFocusedFace()
{
    if (m_focusedFace.GetSafeHdc() && m_focusedFace.Width() == m_nWidth && m_focusedFace.Height() == m_nHeight)
        return true;
    std::unique_ptr<Gdiplus::Bitmap> image = LoadSkinImageScaled(L"COLOR_PICKER_COLOR_SELECT");
    // Without the image no face is cached, so a later focus tries again.
    if (!image || !m_focusedFace.Resize(m_nWidth, m_nHeight)) return false;
    Gdiplus::Bitmap* surface = m_focusedFace.Surface();
    if (!surface) return false;
    Gdiplus::Graphics face(surface);
    face.DrawImage(image.get(), Gdiplus::Rect(0, 0, static_cast<INT>(image->GetWidth()),
                                              static_cast<INT>(image->GetHeight())));
    face.Flush(Gdiplus::FlushIntentionSync);
    return true;
}

Gdiplus::Status LumoColorButton2::PaintBackground(Gdiplus::Graphics& graphics)
{
    if (!m_hWnd || ::GetFocus() != m_hWnd || !PrepareFocusedFace()) return Control::PaintBackground(graphics);
    GdiDrawing gdi(*this, graphics);
    if (!gdi.Get()) return graphics.GetLastStatus();
    ::BitBlt(gdi.Get(), 0, 0, m_focusedFace.Width(), m_focusedFace.Height(), m_focusedFace.GetSafeHdc(), 0, 0,
             SRCCOPY);
    return Gdiplus::Ok;
}

void LumoColorButton2::PaintContent(Gdiplus::Graphics& graphics)
{
    Gdiplus::SolidBrush clear{Gdiplus::Color(0x01000000)};
    graphics.FillRectangle(&clear, 0, 0, m_nWidth, m_nHeight);
    const int side = static_cast<int>(20.0f * g_fUIScale + 0.5f);
    const int x0 = static_cast<int>((m_nWidth - side) * 0.5 + 0.5);
    const int y0 = static_cast<int>((m_nHeight - side) * 0.5 + 0.5);
    Gdiplus::SolidBrush brush{Gdiplus::Color(m_clrColor)};
    graphics.FillRectangle(&brush, x0, y0, side, side);
}
