#include "ui/windows/sync/TitleEntry.h"

#include <memory>

#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"

void TitleEntry::Draw(CMemoryDC& layer)
{
    Gdiplus::Bitmap* surface = layer.Surface();
    if (!surface) return;
    Gdiplus::Bitmap* raw = nullptr;
    // Only the 4K skin set has the icon; without it the title is text alone.
    if (LoadSkinImage(&raw, ::GetModuleHandleW(nullptr), L"APPLY_ICON")) {
        std::unique_ptr<Gdiplus::Bitmap> icon(raw);
        Gdiplus::Graphics graphics(surface);
        graphics.DrawImage(icon.get(), ScaleByDpi(kIconX), m_nTop + ScaleByDpi(kIconDropY),
                           static_cast<INT>(icon->GetWidth()), static_cast<INT>(icon->GetHeight()));
    }
    DrawLabel(layer, kLabelX);
}
