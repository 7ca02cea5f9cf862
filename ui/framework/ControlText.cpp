#include "ui/framework/ControlText.h"

#include <cmath>

#include "platform/win/BoundedFormat.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/Scale.h"
#include "ui/framework/SkinImage.h"
#include "ui/framework/TextDraw.h"

namespace {

// Above this height a layout keeps its text box at its top.
constexpr float kTallLayout = 60.0f;

COLORREF TextColorOf(const Gdiplus::Brush* brush)
{
    if (brush == nullptr || brush->GetType() != Gdiplus::BrushTypeSolidColor) return RGB(255, 255, 255);
    Gdiplus::Color color;
    static_cast<const Gdiplus::SolidBrush*>(brush)->GetColor(&color);
    return RGB(color.GetR(), color.GetG(), color.GetB());
}

UINT DrawTextFormatOf(const Gdiplus::StringFormat& format)
{
    UINT flags = DT_SINGLELINE | DT_EDITCONTROL;
    switch (format.GetAlignment()) {
    case Gdiplus::StringAlignmentCenter: flags |= DT_CENTER; break;
    case Gdiplus::StringAlignmentFar: flags |= DT_RIGHT; break;
    default: break;
    }
    switch (format.GetLineAlignment()) {
    case Gdiplus::StringAlignmentCenter: flags |= DT_VCENTER; break;
    case Gdiplus::StringAlignmentFar: flags |= DT_BOTTOM; break;
    default: break;
    }
    return flags;
}

}  // namespace

float ControlFontPixelHeight(float size)
{
    return std::ceil(size * 1.4f) * g_fFontScale;
}

HFONT CreateGdiFont(int style, const wchar_t* family, float size)
{
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(ControlFontPixelHeight(size));
    font.lfWeight = (style & kFontBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style & kFontItalic) ? TRUE : FALSE;
    font.lfUnderline = (style & kFontUnderline) ? TRUE : FALSE;
    font.lfStrikeOut = (style & kFontStrikeout) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    platform::CopyBounded(font.lfFaceName, LF_FACESIZE, family);
    return CreateFontIndirectW(&font);
}

void DrawTextGdi(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::RectF& layout, float size,
                 int style, const Gdiplus::StringFormat& format, const wchar_t* family, const Gdiplus::Brush* brush)
{
    HDC dc = graphics.GetHDC();
    if (dc == nullptr) return;
    {
        platform::UniqueGdiObject font(CreateGdiFont(style, family, size));
        SetBkMode(dc, TRANSPARENT);
        COLORREF previousColor = SetTextColor(dc, TextColorOf(brush));
        platform::SelectGuard selected(dc, font.Get());
        RECT rect = {static_cast<LONG>(layout.X), static_cast<LONG>(layout.Y),
                     static_cast<LONG>(layout.X + layout.Width), static_cast<LONG>(layout.Y + layout.Height)};
        DrawTextW(dc, text.c_str(), -1, &rect, DrawTextFormatOf(format));
        SetTextColor(dc, previousColor);
    }
    graphics.ReleaseHDC(dc);
}

int DrawTextGdiplusRect(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::RectF& layout,
                        float size, int style, const Gdiplus::StringFormat& format, const wchar_t* family,
                        const Gdiplus::Brush* brush)
{
    if (text.empty() || brush == nullptr) return 0;
    Gdiplus::FontFamily fontFamily(family != nullptr ? family : L"");
    if (fontFamily.GetLastStatus() != Gdiplus::Ok) return 0;
    Gdiplus::Font font(&fontFamily, ControlFontPixelHeight(size), style, Gdiplus::UnitPixel);
    if (font.GetLastStatus() != Gdiplus::Ok) return 0;

    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.SetTextContrast(0);

    const UINT16 lineSpacing = fontFamily.GetLineSpacing(style);
    const float ascent = lineSpacing == 0 ? 0.0f
                                          : fontFamily.GetCellAscent(style) * font.GetHeight(&graphics) / lineSpacing;
    Gdiplus::RectF box;
    graphics.MeasureString(text.c_str(), -1, &font, layout, &format, &box);
    const float shift = std::floor(ascent - box.Height) + static_cast<int>(g_fUIScale + 0.5f);
    box.Y += shift;
    box.Height -= shift;
    if (layout.Height > kTallLayout) box.Y = layout.Y;
    graphics.DrawString(text.c_str(), -1, &font, box, &format, brush);
    return 0;
}

int DrawTextGdiplusRectI(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Rect& layout,
                         float size, int style, const Gdiplus::StringFormat& format, const wchar_t* family,
                         const Gdiplus::Brush* brush)
{
    Gdiplus::RectF rect(static_cast<float>(layout.X), static_cast<float>(layout.Y), static_cast<float>(layout.Width),
                        static_cast<float>(layout.Height));
    return DrawTextGdiplusRect(graphics, text, rect, size, style, format, family, brush);
}

std::unique_ptr<Gdiplus::Bitmap> LoadSkinImageScaled(const wchar_t* name)
{
    Gdiplus::Bitmap* raw = nullptr;
    if (!LoadSkinImage(&raw, GetModuleHandleW(nullptr), name) || raw == nullptr) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> loaded(raw);
    if (g_fImageScale == 1.0f) return loaded;
    Gdiplus::Bitmap* scaled = nullptr;
    if (!ScaleSkinBitmap(&scaled, loaded.get(), ScaledSkinSide(static_cast<int>(loaded->GetWidth()), g_fImageScale),
                         ScaledSkinSide(static_cast<int>(loaded->GetHeight()), g_fImageScale)))
        return nullptr;
    return std::unique_ptr<Gdiplus::Bitmap>(scaled);
}
