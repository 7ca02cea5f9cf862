#include "ui/framework/controls/LumoCheckLook.h"

#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace lumocheck {

std::wstring Label::DisplayText() const
{
    return LocalizedText(text, L"", L"", L"").ToString();
}

Gdiplus::Rect ScaledImageRect()
{
    return ScaledRect(Control::Thickness(0, 0, 15, 15));
}

Gdiplus::Rect ScaledRect(Control::Thickness rect)
{
    ScaleThickness(rect);
    return Gdiplus::Rect(rect.left, rect.top, rect.right, rect.bottom);
}

std::shared_ptr<Gdiplus::Bitmap> LoadImage(const wchar_t* name)
{
    return std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(name));
}

Gdiplus::ARGB TextColor(bool normal, bool checked, bool hover)
{
    if (normal) return kTextNormal;
    if (checked) return kTextChecked;
    if (hover) return kTextHover;
    return kTextNormal;
}

void DrawLayer(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* image, const Gdiplus::Rect& box, float opacity)
{
    // A layer faded out adds nothing; a full one needs no colour matrix,
    // which GDI+ applies pixel by pixel.
    if (!image || !(opacity > 0.0f)) return;
    if (opacity == 1.0f) {
        graphics.DrawImage(image, box, 0, 0, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()),
                           Gdiplus::UnitPixel);
        return;
    }
    Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, opacity, 0},
                                    {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
    graphics.DrawImage(image, box, 0, 0, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()),
                       Gdiplus::UnitPixel, &attributes);
}

void DrawLabel(Gdiplus::Graphics& graphics, const Label& label, const Gdiplus::Rect& box, Gdiplus::ARGB color)
{
    // GDI+'s own shared format: nothing of ours to free at exit.
    const Gdiplus::StringFormat* format = Gdiplus::StringFormat::GenericTypographic();
    if (!format) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    DrawTextGdiplusRectI(graphics, label.DisplayText(), box, label.fontSize, label.fontStyle, *format,
                         label.fontFamily.c_str(), &brush);
}

}  // namespace lumocheck
