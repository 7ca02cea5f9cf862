#include "ui/colorpicker/HSVColor.h"

#include <algorithm>
#include <cmath>

namespace {

// The remainder is taken in double and narrowed back; it keeps the sign of x.
float Remainder(float x, float y)
{
    return static_cast<float>(std::fmod(static_cast<double>(x), static_cast<double>(y)));
}

float ClampUnit(float x)
{
    // NaN becomes 0 as well.
    return x > 0.0f ? std::min(x, 1.0f) : 0.0f;
}

// Cut at the third decimal first, then round half away from zero, so that
// float noise never tips a channel over a half.
float ChannelFrom(float primed, float m)
{
    const float scaled = (primed + m) * 255.0f * 1000.0f;
    if (!(scaled > 0.0f)) return 0.0f;  // NaN too
    const float cut = static_cast<float>(static_cast<int32_t>(scaled)) / 1000.0f;
    return std::min(std::round(cut), 255.0f);
}

}  // namespace

HSVColor::HSVColor(uint32_t argb)
{
    const float red = static_cast<float>((argb >> 16) & 0xFF);
    const float green = static_cast<float>((argb >> 8) & 0xFF);
    const float blue = static_cast<float>(argb & 0xFF);
    RgbToHsv(red, green, blue, H, S, V);
}

void RgbToHsv(float red, float green, float blue, float& h, float& s, float& v)
{
    const float r = red / 255.0f;
    const float g = green / 255.0f;
    const float b = blue / 255.0f;
    const float cmax = std::max(r, std::max(g, b));
    const float cmin = std::min(r, std::min(g, b));
    const float delta = cmax - cmin;

    v = cmax;
    if (delta == 0.0f) {
        h = 0.0f;
        s = 0.0f;
        return;
    }
    // Ties go to red first, then green.
    if (cmax == r)
        h = 60.0f * Remainder((g - b) / delta, 6.0f);
    else if (cmax == g)
        h = 60.0f * ((b - r) / delta + 2.0f);
    else
        h = 60.0f * ((r - g) / delta + 4.0f);
    s = cmax != 0.0f ? delta / cmax : 0.0f;
    h = Remainder(h + 360.0f, 360.0f);
}

void HsvToRgb(float h, float s, float v, float& red, float& green, float& blue)
{
    // Values from dragging and animation may stray a hair outside [0, 1].
    s = ClampUnit(s);
    v = ClampUnit(v);
    const float hue = Remainder(h, 360.0f);
    const float c = s * v;
    const float x = c * (1.0f - std::fabs(Remainder(hue / 60.0f, 2.0f) - 1.0f));
    const float m = v - c;

    float rp = 0.0f, gp = 0.0f, bp = 0.0f;
    if (0.0f <= hue && hue < 60.0f) {
        rp = c, gp = x;
    } else if (60.0f <= hue && hue < 120.0f) {
        rp = x, gp = c;
    } else if (120.0f <= hue && hue < 180.0f) {
        gp = c, bp = x;
    } else if (180.0f <= hue && hue < 240.0f) {
        gp = x, bp = c;
    } else if (240.0f <= hue && hue < 300.0f) {
        rp = x, bp = c;
    } else if (300.0f <= hue && hue < 360.0f) {
        rp = c, bp = x;
    }
    red = ChannelFrom(rp, m);
    green = ChannelFrom(gp, m);
    blue = ChannelFrom(bp, m);
}

uint32_t HsvToArgb(float h, float s, float v)
{
    float red = 0.0f, green = 0.0f, blue = 0.0f;
    HsvToRgb(h, s, v, red, green, blue);
    const auto channel = [](float value) { return static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFu; };
    return 0xFF000000u | channel(red) << 16 | channel(green) << 8 | channel(blue);
}
