#include "ui/windows/keyboard/KeyGlowMasks.h"

#include <algorithm>
#include <cstring>

#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/keyboard/KeyPainter.h"
#include "ui/windows/shared/PixelMath.h"

namespace {

// Room around the lamp for the outer ring and its antialiased edge, stored units.
constexpr int kRingMargin = 6;

// What a key's rings look like inside its box: keys of one size and kind
// share it, and GDI+'s slow antialiased fill is paid once for all of them.
std::vector<float> RingsInBox(const KeyRingShape (&rings)[kKeyRingCount], const RECT& box)
{
    std::vector<float> shape{static_cast<float>(box.right - box.left), static_cast<float>(box.bottom - box.top)};
    for (const KeyRingShape& ring : rings) {
        shape.push_back(ring.radius);
        for (const PixelOutline& edge : ring.edges) {
            shape.push_back(static_cast<float>(edge.count));
            for (int i = 0; i < edge.count; ++i) {
                shape.push_back(edge.points[i].X - static_cast<float>(box.left));
                shape.push_back(edge.points[i].Y - static_cast<float>(box.top));
                shape.push_back(static_cast<float>(edge.cornerKinds[i]));
            }
        }
    }
    return shape;
}

// The key's rings drawn into a box-sized coverage; false without a surface.
bool DrawCoverage(int key, const RECT& box, std::vector<uint8_t>& coverage)
{
    const int w = box.right - box.left, h = box.bottom - box.top;
    CMemoryDC surface;
    if (!surface.Resize(w, h) || !surface.Surface()) return false;
    {
        Gdiplus::Graphics graphics(surface.Surface());
        if (graphics.GetLastStatus() != Gdiplus::Ok) return false;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.TranslateTransform(-static_cast<float>(box.left), -static_cast<float>(box.top));
        DrawKey(&graphics, key, 255, 255, 255, nullptr, nullptr, 0, 0);
    }
    GdiFlush();
    const uint8_t* pixels = static_cast<const uint8_t*>(surface.Bits());
    coverage.resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < coverage.size(); ++i) coverage[i] = pixels[i * 4 + 3];
    return true;
}

}  // namespace

bool KeyGlowMasks::Build(int pictureWidth, int pictureHeight)
{
    m_built = false;
    m_bounds = {};
    m_width = pictureWidth, m_height = pictureHeight;
    const RECT picture = {0, 0, pictureWidth, pictureHeight};
    std::vector<std::pair<std::vector<float>, int>> drawn;  // shape, key whose mask has it
    for (int key = 0; key < kKeyboardKeyCount; ++key) {
        Mask& mask = m_masks[key];
        mask = Mask();
        KeyOutline lamp;
        KeyRingShape rings[kKeyRingCount];
        if (!GetKeyOutline(key, &lamp, 1) || !GetKeyRingShapes(key, rings)) continue;
        LONG left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
        for (int i = 0; i < lamp.count; ++i) {
            left = std::min(left, lamp.points[i].x), right = std::max(right, lamp.points[i].x);
            top = std::min(top, lamp.points[i].y), bottom = std::max(bottom, lamp.points[i].y);
        }
        RECT box = {ScaleByHalfDpi(left - kRingMargin), ScaleByHalfDpi(top - kRingMargin),
                    ScaleByHalfDpi(right + kRingMargin), ScaleByHalfDpi(bottom + kRingMargin)};
        if (!IntersectRect(&box, &box, &picture)) continue;
        std::vector<float> shape = RingsInBox(rings, box);
        const auto same = std::find_if(drawn.begin(), drawn.end(), [&](const auto& d) { return d.first == shape; });
        if (same != drawn.end()) {
            mask.coverage = m_masks[same->second].coverage;
        } else {
            if (!DrawCoverage(key, box, mask.coverage)) return false;
            drawn.emplace_back(std::move(shape), key);
        }
        mask.box = box;
        if (IsRectEmpty(&m_bounds)) {
            m_bounds = box;
        } else {
            UnionRect(&m_bounds, &m_bounds, &box);
        }
    }
    m_built = true;
    return true;
}

template <typename ColourAt>
void KeyGlowMasks::ComposeWith(uint8_t* layer, int layerWidth, int layerHeight, int originX, int originY, int key,
                               ColourAt colourAt) const
{
    if (!layer || !HasKey(key)) return;
    const Mask& mask = m_masks[key];
    const int maskWidth = mask.box.right - mask.box.left;
    const int x0 = std::max<int>(mask.box.left, originX), x1 = std::min<int>(mask.box.right, originX + layerWidth);
    const int y0 = std::max<int>(mask.box.top, originY), y1 = std::min<int>(mask.box.bottom, originY + layerHeight);
    for (int y = y0; y < y1; ++y) {
        const uint8_t* cover = &mask.coverage[size_t(y - mask.box.top) * size_t(maskWidth) + size_t(x0 - mask.box.left)];
        uint8_t* out = layer + (size_t(y - originY) * size_t(layerWidth) + size_t(x0 - originX)) * 4u;
        for (int x = x0; x < x1; ++x, ++cover, out += 4) {
            const unsigned a = *cover;
            if (a == 0) continue;
            const uint8_t* c = colourAt(x, y);  // B, G, R
            const unsigned keep = 255u - a;
            // source over, premultiplied
            out[0] = uint8_t(DivideBy255(c[0] * a + out[0] * keep));
            out[1] = uint8_t(DivideBy255(c[1] * a + out[1] * keep));
            out[2] = uint8_t(DivideBy255(c[2] * a + out[2] * keep));
            out[3] = uint8_t(a + DivideBy255(out[3] * keep));
        }
    }
}

void KeyGlowMasks::Compose(uint8_t* layer, int layerWidth, int layerHeight, int originX, int originY, int key,
                           uint32_t argb) const
{
    const uint8_t bgr[3] = {uint8_t(argb), uint8_t(argb >> 8), uint8_t(argb >> 16)};
    ComposeWith(layer, layerWidth, layerHeight, originX, originY, key, [&](int, int) { return bgr; });
}

void KeyGlowMasks::ComposeFromFrame(uint8_t* layer, int layerWidth, int layerHeight, int originX, int originY,
                                    int key, const uint8_t* frame) const
{
    if (!frame) return;
    const int width = m_width;
    ComposeWith(layer, layerWidth, layerHeight, originX, originY, key,
                [frame, width](int x, int y) { return frame + (size_t(y) * size_t(width) + size_t(x)) * 4u; });
}
