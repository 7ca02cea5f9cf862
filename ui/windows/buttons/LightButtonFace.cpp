// The halo text painter of the image buttons and the zone combo box.
#include "ui/windows/buttons/LightButton.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/buttons/CaptionStamp.h"
#include "ui/windows/buttons/FaceDrawing.h"
#include "ui/windows/shared/GraphicsDc.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

namespace {

constexpr BYTE kHaloRed = 0x8F, kHaloGreen = 0x14, kHaloBlue = 0x17;
constexpr BYTE kHaloAlphaStrong = 0x48, kHaloAlphaSoft = 0x30;

bool StrongHaloStyle(int styleId)
{
    return styleId == 215 || styleId == 225 || styleId == 235;
}

// Stamps the caption at every offset of the square range +-reach in steps of
// step; onEdgeOnly keeps the square's outline, else all but the centre.
void StampOffsets(HDC dc, const CaptionStamp& stamp, int reach, int step, bool onEdgeOnly)
{
    step = std::max(step, 1);
    for (int dx = -reach; dx <= reach; dx += step) {
        for (int dy = -reach; dy <= reach; dy += step) {
            const bool onEdge = std::abs(dx) == reach || std::abs(dy) == reach;
            if (onEdgeOnly ? !onEdge : (dx == 0 && dy == 0)) continue;
            stamp.DrawAt(dc, dx, dy);
        }
    }
}

// Three rings of the caption, outermost first: the style is s + 3, s + 2
// and s + 1, the offsets (at 100 %) reach 9, 6 and 4 pixels in steps of 3,
// 3 and 2. Each ring is laid out once and stamped at its offsets: far
// cheaper than 64 text layouts.
struct HaloRing {
    int styleOffset, reach, step;
    bool onEdgeOnly;
};
constexpr HaloRing kHaloRings[] = {{3, 9, 3, true}, {2, 6, 3, true}, {1, 4, 2, false}};

void DrawRings(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* caption, int alignment,
               int styleId)
{
    // GDI+ does not clip the caption to rect: what may show is the visible
    // part of the target widened by the farthest offset.
    Gdiplus::RectF area;
    if (graphics->GetVisibleClipBounds(&area) != Gdiplus::Ok) return;
    const float reach = static_cast<float>(ScaleByDpi(kHaloRings[0].reach));
    area.Inflate(reach, reach);
    // Every stamp is drawn before the DC is handed out: GDI+ draws nothing meanwhile.
    std::optional<CaptionStamp> stamps[std::size(kHaloRings)];
    for (size_t i = 0; i < std::size(kHaloRings); ++i)
        stamps[i].emplace(graphics, rect, area, caption, alignment, styleId + kHaloRings[i].styleOffset);
    const GraphicsDc dc(graphics);
    if (!dc.Get()) return;
    for (size_t i = 0; i < std::size(kHaloRings); ++i) {
        const HaloRing& ring = kHaloRings[i];
        StampOffsets(dc.Get(), *stamps[i], ScaleByDpi(ring.reach), ScaleByDpi(ring.step), ring.onEdgeOnly);
    }
}

Gdiplus::RectF Shrunk(const Gdiplus::RectF& rect, int horizontal, int vertical)
{
    return Gdiplus::RectF(rect.X + horizontal, rect.Y + vertical, rect.Width - 2.0f * horizontal,
                          rect.Height - 2.0f * vertical);
}

// The part of rect inside clip (or all of it without a clip), maybe empty.
Gdiplus::RectF ClipTo(const Gdiplus::RectF& rect, const Gdiplus::RectF* clip)
{
    if (!clip) return rect;
    Gdiplus::RectF out;
    if (!Gdiplus::RectF::Intersect(out, rect, *clip)) return Gdiplus::RectF(0, 0, 0, 0);
    return out;
}

// Blurs the graphics' own pixels in the region: they are copied out of its
// DC first, since GDI+ draws nothing while that DC is handed out.
void BlurRegion(Gdiplus::Graphics* graphics, RECT region)
{
    HDC dc = graphics->GetHDC();
    if (!dc) return;
    const SIZE size = SelectedBitmapSize(dc);
    region.left = std::max<LONG>(region.left, 0);
    region.top = std::max<LONG>(region.top, 0);
    region.right = std::min<LONG>(region.right, size.cx);
    region.bottom = std::min<LONG>(region.bottom, size.cy);
    HDC copy = nullptr;
    const bool usable = region.right > region.left && region.bottom > region.top &&
                        CreateMemoryDCBitmap(region.right, region.bottom, &copy, TRUE, nullptr);
    UniqueMemoryDc owned(copy);
    if (usable)
        ::BitBlt(copy, region.left, region.top, region.right - region.left, region.bottom - region.top, dc,
                 region.left, region.top, SRCCOPY);
    graphics->ReleaseHDC(dc);
    if (usable)
        DrawBlurredRegion(graphics, copy, region.left, region.top, region.right - region.left,
                          region.bottom - region.top);
}

}  // namespace

void CLightButton::DrawFace(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* caption,
                            int alignment, int styleId, BOOL halo, const Gdiplus::RectF* clip)
{
    if (!graphics || !caption || !caption[0]) return;
    Gdiplus::RectF bounds;
    DrawTextGdiplus(graphics, rect, caption, alignment, styleId, &bounds, true);
    if (halo) {
        DrawRings(graphics, rect, caption, alignment, styleId);

        const BYTE alpha = StrongHaloStyle(styleId) ? kHaloAlphaStrong : kHaloAlphaSoft;
        Gdiplus::SolidBrush brush(Gdiplus::Color(alpha, kHaloRed, kHaloGreen, kHaloBlue));
        for (const Gdiplus::RectF& fill :
             {Shrunk(bounds, ScaleByDpi(4), ScaleByDpi(3)), Shrunk(bounds, ScaleByDpi(8), ScaleByDpi(7))}) {
            const Gdiplus::RectF clipped = ClipTo(fill, clip);
            if (clipped.Width > 0 && clipped.Height > 0) graphics->FillRectangle(&brush, clipped);
        }

        const int r = ScaleByDpi(11);
        const Gdiplus::RectF blur(bounds.X - r, bounds.Y - r, bounds.Width + 2.0f * r,
                                  bounds.Height - 2.0f * ScaleByDpi(3) + 2.0f * r);
        const Gdiplus::RectF clipped = ClipTo(blur, clip);
        if (clipped.Width > 0 && clipped.Height > 0) {
            RECT region = {static_cast<LONG>(std::floor(clipped.X)), static_cast<LONG>(std::floor(clipped.Y)),
                           static_cast<LONG>(std::ceil(clipped.X + clipped.Width)),
                           static_cast<LONG>(std::ceil(clipped.Y + clipped.Height))};
            BlurRegion(graphics, region);
        }
    }
    DrawTextGdiplus(graphics, rect, caption, alignment, styleId);
}
