// The halo painter against the way it used to draw: the caption laid out
// again at every offset of its three rings. Its picture is the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/support/UiSettingsScope.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/buttons/FaceDrawing.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

using namespace windowstest;

namespace {

// The language index whose captions run right to left.
constexpr int kRightToLeftLanguage = 4;

namespace reference {

void DrawRing(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* caption, int alignment,
              int styleId, int reach, int step, bool onEdgeOnly)
{
    step = std::max(step, 1);
    for (int dx = -reach; dx <= reach; dx += step)
        for (int dy = -reach; dy <= reach; dy += step) {
            const bool onEdge = std::abs(dx) == reach || std::abs(dy) == reach;
            if (onEdgeOnly ? !onEdge : (dx == 0 && dy == 0)) continue;
            const Gdiplus::RectF moved(rect.X + dx, rect.Y + dy, rect.Width, rect.Height);
            DrawTextGdiplus(graphics, moved, caption, alignment, styleId);
        }
}

Gdiplus::RectF ClipTo(const Gdiplus::RectF& rect, const Gdiplus::RectF* clip)
{
    Gdiplus::RectF out = rect;
    if (clip && !Gdiplus::RectF::Intersect(out, rect, *clip)) return Gdiplus::RectF();
    return out;
}

void DrawFace(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* caption, int alignment,
              int styleId, const Gdiplus::RectF* clip)
{
    Gdiplus::RectF bounds;
    DrawTextGdiplus(graphics, rect, caption, alignment, styleId, &bounds, true);
    DrawRing(graphics, rect, caption, alignment, styleId + 3, ScaleByDpi(9), ScaleByDpi(3), true);
    DrawRing(graphics, rect, caption, alignment, styleId + 2, ScaleByDpi(6), ScaleByDpi(3), true);
    DrawRing(graphics, rect, caption, alignment, styleId + 1, ScaleByDpi(4), ScaleByDpi(2), false);

    const bool strong = styleId == 215 || styleId == 225 || styleId == 235;
    Gdiplus::SolidBrush brush(Gdiplus::Color(strong ? 0x48 : 0x30, 0x8F, 0x14, 0x17));
    const Gdiplus::RectF fills[] = {
        {bounds.X + ScaleByDpi(4), bounds.Y + ScaleByDpi(3), bounds.Width - 2.0f * ScaleByDpi(4),
         bounds.Height - 2.0f * ScaleByDpi(3)},
        {bounds.X + ScaleByDpi(8), bounds.Y + ScaleByDpi(7), bounds.Width - 2.0f * ScaleByDpi(8),
         bounds.Height - 2.0f * ScaleByDpi(7)}};
    for (const Gdiplus::RectF& fill : fills) {
        const Gdiplus::RectF clipped = ClipTo(fill, clip);
        if (clipped.Width > 0 && clipped.Height > 0) graphics->FillRectangle(&brush, clipped);
    }

    const int r = ScaleByDpi(11);
    const Gdiplus::RectF blur = ClipTo(Gdiplus::RectF(bounds.X - r, bounds.Y - r, bounds.Width + 2.0f * r,
                                                      bounds.Height - 2.0f * ScaleByDpi(3) + 2.0f * r),
                                       clip);
    if (blur.Width > 0 && blur.Height > 0) {
        HDC dc = graphics->GetHDC();
        const SIZE size = SelectedBitmapSize(dc);
        const LONG left = std::max<LONG>(static_cast<LONG>(std::floor(blur.X)), 0);
        const LONG top = std::max<LONG>(static_cast<LONG>(std::floor(blur.Y)), 0);
        const LONG right = std::min<LONG>(static_cast<LONG>(std::ceil(blur.X + blur.Width)), size.cx);
        const LONG bottom = std::min<LONG>(static_cast<LONG>(std::ceil(blur.Y + blur.Height)), size.cy);
        HDC copy = nullptr;
        const bool usable = right > left && bottom > top && CreateMemoryDCBitmap(right, bottom, &copy, TRUE, nullptr);
        UniqueMemoryDc owned(copy);
        if (usable) ::BitBlt(copy, left, top, right - left, bottom - top, dc, left, top, SRCCOPY);
        graphics->ReleaseHDC(dc);
        if (usable) DrawBlurredRegion(graphics, copy, left, top, right - left, bottom - top);
    }
    DrawTextGdiplus(graphics, rect, caption, alignment, styleId);
}

}  // namespace reference

struct HaloCase {
    const wchar_t* caption;
    int styleId;
    float scale;
    int language;
    Gdiplus::RectF rect;  // at 100 %
    bool clipped;         // to the rows 5..height-5, as a drop-down row is
    bool contrastZero;    // the buttons' faces; the combo box keeps GDI+'s default
};

// A face as the buttons and the combo box make it: an opaque picture with
// anti-aliased text drawn over it.
std::unique_ptr<CMemoryDC> Face(const HaloCase& c, bool useReference)
{
    const int width = ScaleByDpi(200), height = ScaleByDpi(44);
    auto face = SolidBackground(width, height, 0x2A1E33);
    const float s = c.scale;
    const Gdiplus::RectF rect(c.rect.X * s, c.rect.Y * s, c.rect.Width * s, c.rect.Height * s);
    const Gdiplus::RectF clip(0, static_cast<float>(ScaleByDpi(5)), static_cast<float>(width),
                              static_cast<float>(height - 2 * ScaleByDpi(5)));
    Gdiplus::Graphics graphics(face->GetSafeHdc());
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    if (c.contrastZero) graphics.SetTextContrast(0);
    if (useReference)
        reference::DrawFace(&graphics, rect, c.caption, 3, c.styleId, c.clipped ? &clip : nullptr);
    else
        CLightButton::DrawFace(&graphics, rect, c.caption, 3, c.styleId, TRUE, c.clipped ? &clip : nullptr);
    return face;
}

TEST(HaloFace, MatchesTheCaptionDrawnAtEveryOffset)
{
    EnsureUiEnvironment();
    const HaloCase cases[] = {
        {L"Apply", 210, 1.0f, 1, {0, 0, 200, 44}, false, true},
        {L"Apply", 215, 2.0f, 1, {0, 0, 200, 44}, false, true},
        {L"Cancel", 214, 1.0f, 1, {0, 0, 200, 44}, false, true},  // the disabled face: a white inner ring
        {L"All keys", 230, 1.25f, 1, {15, 0, 172, 44}, false, false},
        {L"Four zones", 235, 1.0f, 1, {15.5f, 2.25f, 120, 40}, true, false},
        {L"WASD", 235, 2.0f, 1, {15, 0, 172, 44}, true, false},
        {L"\x05D0\x05D1\x05D2 keys", 230, 1.0f, kRightToLeftLanguage, {15, 0, 172, 44}, true, false},
        {L"A caption far too long for its box", 210, 1.0f, 1, {10, 0, 90, 44}, false, true},
    };
    for (const HaloCase& c : cases) {
        testsupport::UiSettingsScope settings(c.scale);
        g_nLangIndexUI = c.language;
        const testsupport::Pixels expected = PixelsOf(Face(c, true)->GetSafeHdc());
        const testsupport::Pixels drawn = PixelsOf(Face(c, false)->GetSafeHdc());
        ASSERT_EQ(drawn.data.size(), expected.data.size());
        int differing = 0, largest = 0, reddened = 0;
        for (size_t i = 0; i < expected.data.size(); ++i) {
            const uint32_t p = expected.data[i], q = drawn.data[i];
            if (((p >> 16) & 0xFF) > 0x2A + 8) ++reddened;
            if ((p & 0xFFFFFF) == (q & 0xFFFFFF)) continue;
            ++differing;
            for (int shift : {0, 8, 16})
                largest = std::max(largest, std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                                     static_cast<int>((q >> shift) & 0xFF)));
        }
        EXPECT_GT(reddened, 50) << "no halo in the reference (fonts missing?)";
        EXPECT_LE(largest, 1) << c.styleId << " at " << c.scale << ": " << differing << " pixels differ";
    }
}

}  // namespace
