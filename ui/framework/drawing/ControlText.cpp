#include "ui/framework/drawing/ControlText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/win/BoundedFormat.h"
#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"

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

void DrawTextGdi(HDC dc, const std::wstring& text, const Gdiplus::RectF& layout, float size, int style,
                 const Gdiplus::StringFormat& format, const wchar_t* family, const Gdiplus::Brush* brush)
{
    if (dc == nullptr || text.empty()) return;
    const RECT target = {static_cast<LONG>(layout.X), static_cast<LONG>(layout.Y),
                         static_cast<LONG>(layout.X + layout.Width), static_cast<LONG>(layout.Y + layout.Height)};
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0) return;

    // GDI text leaves the alpha byte of a 32-bpp surface meaningless: draw it
    // white on black as a coverage mask, turn that into the text colour with
    // premultiplied alpha, and blend it over the target.
    platform::UniqueHdc maskDC(CreateCompatibleDC(dc));
    BITMAPINFO info = platform::Dib32Info(width, -height);
    void* bits = nullptr;
    platform::UniqueBitmap mask(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!maskDC || !mask || bits == nullptr) return;
    platform::UniqueGdiObject font(CreateGdiFont(style, family, size));
    {
        platform::SelectGuard maskSelected(maskDC.Get(), mask.Get());
        {
            platform::SelectGuard fontSelected(maskDC.Get(), font.Get());
            SetBkMode(maskDC.Get(), TRANSPARENT);
            SetTextColor(maskDC.Get(), RGB(255, 255, 255));
            RECT rect = {0, 0, width, height};
            DrawTextW(maskDC.Get(), text.c_str(), -1, &rect, DrawTextFormatOf(format));
            GdiFlush();
        }
        const COLORREF colour = TextColorOf(brush);
        auto* pixels = static_cast<uint32_t*>(bits);
        for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
            const uint32_t p = pixels[i];
            const uint32_t coverage = std::max({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF});
            pixels[i] = coverage << 24 | (GetRValue(colour) * coverage / 255) << 16 |
                        (GetGValue(colour) * coverage / 255) << 8 | (GetBValue(colour) * coverage / 255);
        }
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, target.left, target.top, width, height, maskDC.Get(), 0, 0, width, height, blend);
    }
}

void DrawTextGdi(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::RectF& layout, float size,
                 int style, const Gdiplus::StringFormat& format, const wchar_t* family, const Gdiplus::Brush* brush)
{
    HDC dc = graphics.GetHDC();
    if (dc == nullptr) return;
    DrawTextGdi(dc, text, layout, size, style, format, family, brush);
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
