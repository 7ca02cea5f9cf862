#include "ui/framework/drawing/TextDraw.h"

#include "ui/framework/language/Language.h"

float g_fFontScale = 1.0f;

namespace {

constexpr wchar_t kSegoeUi[] = L"Segoe UI";
constexpr wchar_t kMsUiGothic[] = L"MS UI Gothic";
constexpr int kLangRightToLeft = 4;

struct StyleRow {
    int id;
    float size;
    bool bold;
    Gdiplus::ARGB color;
};

const StyleRow kStyles[] = {
    {31, 17, true, 0xBFFFFFFF}, {32, 17, true, 0xFFFFFFFF}, {33, 17, true, 0xFFFF0000},
    {34, 17, true, 0xFFFF252F}, {35, 17, true, 0xFFFFFFFF}, {42, 17, true, 0xFFFFFFFF},
    {43, 14, false, 0xFFFFFFFF}, {44, 18, true, 0xFF922734}, {45, 18, true, 0xFF28B1AA},
    {46, 18, true, 0xFFFFFFFF}, {51, 17, true, 0xFFFFFFFF}, {52, 17, true, 0xCCFFFFFF},
    {53, 14, false, 0xFFFFFFFF},
};

// Last digit of the 21x, 22x and 23x families: mostly faint red glows.
const Gdiplus::ARGB kDigitColors[10] = {0xFFFFFFFF, 0x08FF0000, 0x03FF0000, 0x01FF0000, 0x4DFFFFFF,
                                        0xFFFFFFFF, 0x0CFF0000, 0x05FF0000, 0x02FF0000, 0};

float Style23xSize(int langIndex)
{
    switch (langIndex) {
    case 13:
    case 14:
    case 21:
        return 13;
    case 16:
    case 20:
        return 12;
    default:
        return 14;
    }
}

// Kept for the process, like GDI+'s own generic families; a null answer is
// asked again next time rather than remembered.
const Gdiplus::FontFamily* GenericSansSerifFamily()
{
    static const Gdiplus::FontFamily* s_family = nullptr;
    if (!s_family) s_family = Gdiplus::FontFamily::GenericSansSerif();
    return s_family;
}

std::unique_ptr<Gdiplus::Font> FontFrom(const Gdiplus::FontFamily* family, INT style, float size)
{
    // Windows refuses a size that is not positive but Wine accepts 0; NaN fails both tests.
    if (!family || family->GetLastStatus() != Gdiplus::Ok || !(size > 0)) return nullptr;
    std::unique_ptr<Gdiplus::Font> font(new Gdiplus::Font(family, size, style, Gdiplus::UnitPixel));
    if (!font || font->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return font;
}

std::unique_ptr<Gdiplus::Font> NamedFont(const wchar_t* family, INT style, float size)
{
    if (!family) return nullptr;
    Gdiplus::FontFamily fontFamily(family);
    return FontFrom(&fontFamily, style, size);
}

std::unique_ptr<Gdiplus::SolidBrush> SolidBrushOf(Gdiplus::ARGB color)
{
    std::unique_ptr<Gdiplus::SolidBrush> brush(new Gdiplus::SolidBrush(Gdiplus::Color(color)));
    if (brush && brush->GetLastStatus() != Gdiplus::Ok) brush.reset();
    return brush;
}

void ClearOutputs(Gdiplus::RectF* bounds, int* fitted)
{
    if (bounds) *bounds = Gdiplus::RectF();
    if (fitted) *fitted = 0;
}

}  // namespace

TextAlignment TextAlignmentForIndex(int alignment)
{
    if (alignment < 0 || alignment > 8) return {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear};
    return {static_cast<Gdiplus::StringAlignment>(alignment % 3), static_cast<Gdiplus::StringAlignment>(alignment / 3)};
}

bool GetTextStyle(int styleId, int langIndex, TextStyle& style)
{
    style.family = langIndex == kLangJapanese ? kMsUiGothic : kSegoeUi;
    style.fallbackFont = styleId == 31 || styleId == 32;
    for (const StyleRow& row : kStyles) {
        if (row.id != styleId) continue;
        style.size = row.size;
        style.bold = row.bold;
        style.color = row.color;
        if (styleId == 53) style.family = kSegoeUi;
        return true;
    }
    int family = styleId / 10, digit = styleId % 10;
    if ((family != 21 && family != 22 && family != 23) || digit > 8) return false;
    style.size = family == 21 ? 17 : family == 22 ? 14 : Style23xSize(langIndex);
    style.bold = true;
    style.color = kDigitColors[digit];
    return true;
}

void SetupTextFormat(Gdiplus::StringFormat& format, int alignment, int langIndex)
{
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    TextAlignment align = TextAlignmentForIndex(alignment);
    format.SetAlignment(align.horizontal);
    format.SetLineAlignment(align.vertical);
    if (langIndex == kLangRightToLeft) {
        format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsDirectionRightToLeft);
    }
}

bool DrawTextGdiplus(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* text, int alignment,
                     int styleId, Gdiplus::RectF* bounds, bool measureOnly, int* fitted)
{
    ClearOutputs(bounds, fitted);
    TextStyle style;
    if (!graphics || !text || !GetTextStyle(styleId, g_nLangIndexUI, style)) return false;

    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    SetupTextFormat(format, alignment, g_nLangIndexUI);

    FontAndBrush made;
    if (style.fallbackFont) {
        made.font = CreateFontWithFallback(style.family, Gdiplus::FontStyleBold, style.size * g_fFontScale);
        made.brush = SolidBrushOf(style.color);
    } else {
        made = CreateFontAndBrush(style.family, style.size, style.bold, style.color);
    }
    if (!made.font || !made.brush) return false;

    bool ok = true;
    if (!measureOnly) {
        ok = graphics->DrawString(text, -1, made.font.get(), rect, &format, made.brush.get()) == Gdiplus::Ok;
    }
    if (bounds) {
        INT codepoints = 0, lines = 0;
        if (graphics->MeasureString(text, -1, made.font.get(), rect, &format, bounds, &codepoints, &lines) ==
            Gdiplus::Ok) {
            if (fitted) *fitted = codepoints;
        } else {
            ClearOutputs(bounds, fitted);
            ok = false;
        }
    }
    return ok;
}

bool DrawTextOnDC(Gdiplus::Graphics* graphics, int x, int y, int width, int height, const wchar_t* text,
                  int alignment, int styleId, Gdiplus::RectF* bounds, bool measureOnly, int* fitted)
{
    Gdiplus::RectF rect(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                        static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    return DrawTextGdiplus(graphics, rect, text, alignment, styleId, bounds, measureOnly, fitted);
}

FontAndBrush CreateFontAndBrush(const wchar_t* family, float size, bool bold, Gdiplus::ARGB color)
{
    FontAndBrush made;
    made.font = NamedFont(family, bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular, size * g_fFontScale);
    made.brush = SolidBrushOf(color);
    return made;
}

std::unique_ptr<Gdiplus::Font> CreateFontWithFallbackTo(const wchar_t* family, INT style, float size,
                                                        const Gdiplus::FontFamily* fallback)
{
    if (std::unique_ptr<Gdiplus::Font> font = NamedFont(family, style, size)) return font;
    return FontFrom(fallback, style, size);
}

std::unique_ptr<Gdiplus::Font> CreateFontWithFallback(const wchar_t* family, INT style, float size)
{
    if (std::unique_ptr<Gdiplus::Font> font = NamedFont(family, style, size)) return font;
    // The generic family is only looked up once a named one has failed.
    return FontFrom(GenericSansSerifFamily(), style, size);
}
