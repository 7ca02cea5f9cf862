#include "ui/windows/sync/SyncEntry.h"

#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

void Entry::DrawLabel(CMemoryDC& layer, int x) const
{
    Gdiplus::Bitmap* surface = layer.Surface();
    if (!surface) return;
    const std::wstring text = GetLangString(m_labelKey.c_str());
    Gdiplus::Graphics graphics(surface);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.SetTextContrast(0);
    DrawTextOnDC(&graphics, ScaleByDpi(x), m_nTop, ScaleByDpi(kLabelWidth), ScaleByDpi(kLabelHeight), text.c_str(),
                 kLabelAlignment, kLabelStyle);
}
