#pragma once
#include <windows.h>

#include "platform/win/GdiplusHeaders.h"

// cos(k x 60 degrees) and sin(k x 60 degrees), k = 0..5, in single precision.
extern const float g_afCos60[6];
extern const float g_afSin60[6];

// The hue ring and the saturation/value triangle of a picker of one size, in
// the unturned frame: A the black corner, B the pure-hue corner (towards
// 3 o'clock), C the white corner. Angles grow clockwise, as y grows downward.
struct PickerGeometry {
    float radius = 200.0f;         // outer radius of the ring
    float ringWidth = 24.0f;
    float triangleMargin = 10.0f;  // between the ring's inner edge and the corners
    float gradientSize = 50.0f;    // side at which the gradient is computed
    Gdiplus::PointF centre;
    Gdiplus::PointF a, b, c;
    float side = 0.0f;             // distance A to C

    // The lengths at a scale and the triangle placed for a control of that size.
    static PickerGeometry For(int width, int height, float scale);
    float TriangleRadius() const { return radius - ringWidth - 2.0f * triangleMargin; }
};

// A length at a scale, rounded half up to a whole number.
float ScaledLength(float length, float scale);

// Where the saturation/value marker sits for s and v.
Gdiplus::PointF SVMarkerFromSV(const PickerGeometry& geometry, float s, float v);

// Saturation and value at a marker, within [0, 1] and cut to three decimals.
void SVFromMarker(const PickerGeometry& geometry, Gdiplus::PointF marker, float& s, float& v);

// The hue at a point: its angle about the centre in [0, 360).
float HueFromPoint(Gdiplus::PointF centre, float x, float y);

// Whether the point lies in the triangle or on its edge.
bool InsideTriangle(const PickerGeometry& geometry, Gdiplus::PointF point);

// The point of the triangle nearest to the marker (the marker itself inside).
Gdiplus::PointF ClampMarkerToTriangle(const PickerGeometry& geometry, Gdiplus::PointF marker);

// Degrees brought into [0, 360).
float WrapHue(double degrees);

// The hue to animate towards so that the move goes the short way round from
// current: may lie outside [0, 360). Half a turn goes the increasing way.
float HueTargetTheShortWay(float current, float target);
