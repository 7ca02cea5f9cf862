#include "ui/colorpicker/PickerGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kDegreesToRadians = kPi / 180.0f;

struct SixthTurns {
    float cosines[6];
    float sines[6];
    SixthTurns()
    {
        for (int k = 0; k < 6; ++k) {
            cosines[k] = std::cos(static_cast<float>(k) * kPi / 3.0f);
            sines[k] = std::sin(static_cast<float>(k) * kPi / 3.0f);
        }
    }
};

const SixthTurns& Turns()
{
    static const SixthTurns turns;
    return turns;
}

Gdiplus::PointF Minus(Gdiplus::PointF p, Gdiplus::PointF q)
{
    return Gdiplus::PointF(p.X - q.X, p.Y - q.Y);
}

float Dot(Gdiplus::PointF p, Gdiplus::PointF q)
{
    return p.X * q.X + p.Y * q.Y;
}

float Length(Gdiplus::PointF p)
{
    return std::sqrt(Dot(p, p));
}

float CutToThousandths(float x)
{
    return static_cast<float>(static_cast<int32_t>(x * 1000.0f)) / 1000.0f;
}

float ClampUnit(float x)
{
    return x > 0.0f ? std::min(x, 1.0f) : 0.0f;
}

// The point of the segment p-q nearest to m.
Gdiplus::PointF NearestOnSegment(Gdiplus::PointF p, Gdiplus::PointF q, Gdiplus::PointF m)
{
    const Gdiplus::PointF edge = Minus(q, p);
    const float lengthSquared = Dot(edge, edge);
    const float t = lengthSquared > 0.0f ? std::clamp(Dot(Minus(m, p), edge) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    return Gdiplus::PointF(p.X + t * edge.X, p.Y + t * edge.Y);
}

// The sign tells on which side of the line p->q the point m lies.
float Side(Gdiplus::PointF p, Gdiplus::PointF q, Gdiplus::PointF m)
{
    return (q.X - p.X) * (m.Y - p.Y) - (q.Y - p.Y) * (m.X - p.X);
}

}  // namespace

const float g_afCos60[6] = {Turns().cosines[0], Turns().cosines[1], Turns().cosines[2],
                            Turns().cosines[3], Turns().cosines[4], Turns().cosines[5]};
const float g_afSin60[6] = {Turns().sines[0], Turns().sines[1], Turns().sines[2],
                            Turns().sines[3], Turns().sines[4], Turns().sines[5]};

float ScaledLength(float length, float scale)
{
    return static_cast<float>(static_cast<int32_t>(length * scale + 0.5f));
}

PickerGeometry PickerGeometry::For(int width, int height, float scale)
{
    PickerGeometry g;
    g.radius = ScaledLength(g.radius, scale);
    g.ringWidth = ScaledLength(g.ringWidth, scale);
    g.triangleMargin = ScaledLength(g.triangleMargin, scale);
    g.gradientSize = ScaledLength(g.gradientSize, scale);
    g.centre = Gdiplus::PointF(static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f);
    const float r = g.TriangleRadius();
    // A at 240 degrees, B at 0, C at 120.
    g.a = Gdiplus::PointF(g.centre.X + r * g_afCos60[4], g.centre.Y + r * g_afSin60[4]);
    g.b = Gdiplus::PointF(g.centre.X + r * g_afCos60[0], g.centre.Y + r * g_afSin60[0]);
    g.c = Gdiplus::PointF(g.centre.X + r * g_afCos60[2], g.centre.Y + r * g_afSin60[2]);
    g.side = Length(Minus(g.c, g.a));
    return g;
}

Gdiplus::PointF SVMarkerFromSV(const PickerGeometry& geometry, float s, float v)
{
    const float angle = 60.0f * s;
    const float length = v * geometry.side;
    const float d = length / std::sin((120.0f - angle) * kDegreesToRadians) * g_afSin60[1];
    const float direction = (90.0f - angle) * kDegreesToRadians;
    return Gdiplus::PointF(geometry.a.X + d * std::cos(direction), geometry.a.Y + d * std::sin(direction));
}

void SVFromMarker(const PickerGeometry& geometry, Gdiplus::PointF marker, float& s, float& v)
{
    const Gdiplus::PointF u = Minus(geometry.c, geometry.a);
    const Gdiplus::PointF w = Minus(marker, geometry.a);
    const float distance = Length(w);
    const float p = distance * Length(u);
    float theta = 0.0f;
    if (p != 0.0f) {
        // A ratio a hair outside [-1, 1] would give acos a NaN.
        const float ratio = std::clamp(Dot(w, u) / p, -1.0f, 1.0f);
        theta = std::acos(ratio) / kDegreesToRadians;
    }
    const float saturation = theta / 60.0f;
    const float value = (distance / g_afSin60[1]) * std::sin((120.0f - theta) * kDegreesToRadians) / geometry.side;
    s = CutToThousandths(ClampUnit(saturation));
    v = CutToThousandths(ClampUnit(value));
}

float WrapHue(double degrees)
{
    float hue = static_cast<float>(std::fmod(degrees, 360.0));
    if (degrees < 0.0) hue += 360.0f;
    // A tiny negative angle would come out as 360 itself.
    return hue >= 360.0f ? 0.0f : hue;
}

float HueFromPoint(Gdiplus::PointF centre, float x, float y)
{
    return WrapHue(std::atan2(y - centre.Y, x - centre.X) / kDegreesToRadians);
}

bool InsideTriangle(const PickerGeometry& geometry, Gdiplus::PointF point)
{
    // Inside when the point lies on the same side of all three edges.
    const float sideAC = Side(geometry.a, geometry.c, point);
    const float sideCB = Side(geometry.c, geometry.b, point);
    const float sideBA = Side(geometry.b, geometry.a, point);
    return (sideAC >= 0 && sideCB >= 0 && sideBA >= 0) || (sideAC <= 0 && sideCB <= 0 && sideBA <= 0);
}

Gdiplus::PointF ClampMarkerToTriangle(const PickerGeometry& geometry, Gdiplus::PointF marker)
{
    if (InsideTriangle(geometry, marker)) return marker;
    const Gdiplus::PointF& a = geometry.a;
    const Gdiplus::PointF& b = geometry.b;
    const Gdiplus::PointF& c = geometry.c;

    const Gdiplus::PointF candidates[3] = {NearestOnSegment(a, c, marker), NearestOnSegment(c, b, marker),
                                           NearestOnSegment(b, a, marker)};
    Gdiplus::PointF best = candidates[0];
    float bestDistance = Length(Minus(marker, best));
    for (int i = 1; i < 3; ++i) {
        const float d = Length(Minus(marker, candidates[i]));
        if (d < bestDistance) {
            bestDistance = d;
            best = candidates[i];
        }
    }
    return best;
}

float HueTargetTheShortWay(float current, float target)
{
    const float difference = target - current;
    float d = static_cast<float>(std::fmod(static_cast<double>(difference), 360.0));
    if (difference < 0.0f) d += 360.0f;
    if (d > 0.0f && d <= 180.0f) {
        if (current > target) return target + 360.0f;
    } else if (target > current) {
        return target - 360.0f;
    }
    return target;
}
