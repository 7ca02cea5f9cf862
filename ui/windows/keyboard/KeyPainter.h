#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"
#include "ui/windows/keyboard/KeyboardKeys.h"

// The glow ring drawn around each lit key of the keyboard picture.

// An outline in pixels.
struct PixelOutline {
    Gdiplus::PointF points[kMaxOutlineVertices];
    int cornerKinds[kMaxOutlineVertices];
    int count;
};

// Each vertex at cap x (1 - weight) + lamp x weight, in pixels, then moved by
// d away from the cap toward the lamp side (a negative d moves inward). With
// no lamp outline the cap's vertices are only converted.
void BuildKeyOffsetOutline(const KeyOutline* cap, const KeyOutline* lamp, PixelOutline* out, int d, float weight);

// Shape kind of FillRoundedKeyPath that rounds the corners.
constexpr int kRoundedKeyShape = 2;

// Fills one alternate-mode path made of a closed figure per outline, every
// vertex moved by the shifts, so two nested outlines give a ring.
void FillRoundedKeyPath(Gdiplus::Graphics* graphics, Gdiplus::Brush* brush, const PixelOutline* outlines,
                        int outlineCount, float radius, int shapeKind, float xShift, float yShift);

// One glow ring as DrawKey fills it: its outer and inner edge, in pixels,
// and the corner radius.
struct KeyRingShape {
    PixelOutline edges[2];
    float radius;
};
constexpr int kKeyRingCount = 2;
// The key's rings, outer first. False when the key has no outlines.
bool GetKeyRingShapes(int key, KeyRingShape rings[kKeyRingCount]);

// Draws the key's two glow rings, in the colour or with the texture brushes
// (whose origin is (dx, dy)). False when the key has no outlines.
bool DrawKey(Gdiplus::Graphics* graphics, int key, BYTE red, BYTE green, BYTE blue, Gdiplus::Brush* texture1,
             Gdiplus::Brush* texture2, int dx, int dy);

// Alphas of the two rings.
constexpr BYTE kKeyGlowOuterAlpha = 48;
constexpr BYTE kKeyGlowInnerAlpha = 72;
