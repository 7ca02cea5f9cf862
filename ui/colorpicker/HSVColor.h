#pragma once
#include <cstdint>

// A colour as hue (degrees, [0, 360)), saturation and value ([0, 1]): the
// value the colour pickers show and edit.
struct HSVColor {
    float H = 0.0f;
    float S = 0.0f;
    float V = 0.0f;

    HSVColor() = default;
    HSVColor(float h, float s, float v) : H(h), S(s), V(v) {}
    // Red, green and blue of an ARGB value; alpha is ignored.
    explicit HSVColor(uint32_t argb);

    // Exact float comparison: a set that changes nothing is skipped by it.
    bool operator==(const HSVColor& other) const { return H == other.H && S == other.S && V == other.V; }
    bool operator!=(const HSVColor& other) const { return !(*this == other); }
};

// red, green, blue on 0..255 to H, S, V.
void RgbToHsv(float red, float green, float blue, float& h, float& s, float& v);

// H, S, V to red, green, blue, each a whole number 0..255 in a float.
void HsvToRgb(float h, float s, float v, float& red, float& green, float& blue);

// The colour packed into an opaque ARGB value.
uint32_t HsvToArgb(float h, float s, float v);
inline uint32_t HsvToArgb(const HSVColor& color)
{
    return HsvToArgb(color.H, color.S, color.V);
}
