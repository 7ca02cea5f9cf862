#include "ui/windows/keyboard/KeyPainter.h"

#include <algorithm>
#include <cfloat>

namespace {

// Ring widths and corner radii in stored units.
constexpr int kOuterRingOffset = 3;
constexpr int kOuterRingRadius = 9;
constexpr int kInnerRingOffset = 2;
constexpr int kInnerRingRadius = 8;

float MoveToward(float value, LONG cap, LONG lamp, int d)
{
    if (lamp > cap) return value + static_cast<float>(d);
    if (lamp < cap) return value - static_cast<float>(d);
    return value;
}

// Start angle of the arc at each rounded corner kind (sweep -90 degrees).
float CornerStartAngle(int kind)
{
    static const float angles[4] = {270.0f, 180.0f, 90.0f, 0.0f};
    return angles[kind];
}

void AddRoundedFigure(Gdiplus::GraphicsPath& path, const PixelOutline& outline, float radius, int shapeKind,
                      float xShift, float yShift)
{
    if (outline.count < 3) return;
    float left = FLT_MAX, top = FLT_MAX, right = -FLT_MAX, bottom = -FLT_MAX;
    for (int i = 0; i < outline.count; ++i) {
        left = std::min(left, outline.points[i].X);
        right = std::max(right, outline.points[i].X);
        top = std::min(top, outline.points[i].Y);
        bottom = std::max(bottom, outline.points[i].Y);
    }
    // Arcs larger than the figure would cross each other at small scales.
    const float r = std::max(0.0f, std::min(radius, std::min(right - left, bottom - top) / 2.0f));
    path.StartFigure();
    Gdiplus::PointF previous;
    bool havePrevious = false;
    for (int i = 0; i < outline.count; ++i) {
        const float x = outline.points[i].X + xShift;
        const float y = outline.points[i].Y + yShift;
        const int kind = outline.cornerKinds[i];
        if (shapeKind != kRoundedKeyShape || kind < 0 || kind >= kSharpCorner || r <= 0.0f) {
            const Gdiplus::PointF corner(x, y);
            if (havePrevious) path.AddLine(previous, corner);
            previous = corner;
            havePrevious = true;
            continue;
        }
        const float d = 2.0f * r;
        // The arc's box lies inside the corner: right of a left corner, below a top one.
        const float boxX = (kind == 0 || kind == 1) ? x : x - d;
        const float boxY = (kind == 0 || kind == 3) ? y : y - d;
        path.AddArc(boxX, boxY, d, d, CornerStartAngle(kind), -90.0f);
        Gdiplus::PointF last;
        path.GetLastPoint(&last);
        previous = last;
        havePrevious = true;
    }
    path.CloseFigure();
}

}  // namespace

void BuildKeyOffsetOutline(const KeyOutline* cap, const KeyOutline* lamp, PixelOutline* out, int d, float weight)
{
    if (!out) return;
    out->count = 0;
    if (!cap) return;
    const int count = std::min(lamp ? std::min(cap->count, lamp->count) : cap->count, kMaxOutlineVertices);
    for (int i = 0; i < count; ++i) {
        const POINT c = cap->points[i];
        out->cornerKinds[i] = cap->cornerKinds[i];
        if (!lamp) {
            out->points[i] = Gdiplus::PointF(static_cast<float>(ScaleByHalfDpi(c.x)),
                                             static_cast<float>(ScaleByHalfDpi(c.y)));
            continue;
        }
        const POINT l = lamp->points[i];
        const float sx = static_cast<float>(c.x) * (1.0f - weight) + static_cast<float>(l.x) * weight;
        const float sy = static_cast<float>(c.y) * (1.0f - weight) + static_cast<float>(l.y) * weight;
        float x = static_cast<float>(ScaleByHalfDpi(static_cast<int>(sx + 0.5f)));
        float y = static_cast<float>(ScaleByHalfDpi(static_cast<int>(sy + 0.5f)));
        if (d != 0) {
            x = MoveToward(x, c.x, l.x, d);
            y = MoveToward(y, c.y, l.y, d);
        }
        out->points[i] = Gdiplus::PointF(x, y);
    }
    out->count = count;
}

void FillRoundedKeyPath(Gdiplus::Graphics* graphics, Gdiplus::Brush* brush, const PixelOutline* outlines,
                        int outlineCount, float radius, int shapeKind, float xShift, float yShift)
{
    if (!graphics || !brush || !outlines) return;
    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    for (int i = 0; i < outlineCount; ++i) AddRoundedFigure(path, outlines[i], radius, shapeKind, xShift, yShift);
    graphics->FillPath(brush, &path);
}

bool GetKeyRingShapes(int key, KeyRingShape rings[kKeyRingCount])
{
    KeyOutline lamp, cap;
    if (!GetKeyOutline(key, &lamp, 1) || !GetKeyOutline(key, &cap, 0)) return false;
    const int offsets[kKeyRingCount] = {kOuterRingOffset, kInnerRingOffset};
    const int radii[kKeyRingCount] = {kOuterRingRadius, kInnerRingRadius};
    for (int i = 0; i < kKeyRingCount; ++i) {
        const int d = ScaleByHalfDpi(offsets[i]);
        BuildKeyOffsetOutline(&cap, &lamp, &rings[i].edges[0], d, 1.0f);
        BuildKeyOffsetOutline(&cap, &lamp, &rings[i].edges[1], -d, 0.0f);
        rings[i].radius = static_cast<float>(ScaleByHalfDpi(radii[i]));
    }
    return true;
}

bool DrawKey(Gdiplus::Graphics* graphics, int key, BYTE red, BYTE green, BYTE blue, Gdiplus::Brush* texture1,
             Gdiplus::Brush* texture2, int dx, int dy)
{
    if (!graphics) return false;
    KeyRingShape rings[kKeyRingCount];
    if (!GetKeyRingShapes(key, rings)) return false;
    const bool moved = dx != 0 || dy != 0;
    // Only the texture brushes move: the key is shifted back by as much.
    if (moved) graphics->TranslateTransform(static_cast<float>(dx), static_cast<float>(dy));
    const float shiftX = -static_cast<float>(dx), shiftY = -static_cast<float>(dy);

    const BYTE alphas[kKeyRingCount] = {kKeyGlowOuterAlpha, kKeyGlowInnerAlpha};
    Gdiplus::Brush* textures[kKeyRingCount] = {texture1, texture2};
    for (int i = 0; i < kKeyRingCount; ++i) {
        Gdiplus::SolidBrush solid(Gdiplus::Color(alphas[i], red, green, blue));
        Gdiplus::Brush* brush = textures[i] ? textures[i] : &solid;
        FillRoundedKeyPath(graphics, brush, rings[i].edges, 2, rings[i].radius, kRoundedKeyShape, shiftX, shiftY);
    }
    graphics->ResetTransform();
    return true;
}
