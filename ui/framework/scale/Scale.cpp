#include "ui/framework/scale/Scale.h"

#include <windows.h>

#include <climits>

#include "platform/win/GdiHandles.h"

int g_nResolutionClass = 0;
float g_fImageScaleBase = 1.0f;
float g_fFontScaleBase = 1.0f;
float g_fUIScale = 1.0f;

namespace {

bool AtLeast(int width, int height, int longSide, int shortSide)
{
    return (width >= longSide && height >= shortSide) || (width >= shortSide && height >= longSide);
}

}  // namespace

int GetResolutionClass(int width, int height)
{
    if (AtLeast(width, height, 3840, 2160)) return 3;
    if (AtLeast(width, height, 2560, 1600)) return 2;
    if (AtLeast(width, height, 1921, 1081)) return 1;
    return 0;
}

float ClassZeroScaleForDpi(int dpiX, int dpiY)
{
    float ratio = static_cast<float>(dpiX < dpiY ? dpiX : dpiY) / 96.0f;
    return ratio > 1.25f ? 1.25f : 1.0f;
}

void InitScaleFactorsFor(int resolutionClass, float classZeroScale)
{
    float image = classZeroScale, font = classZeroScale, ui = classZeroScale;
    switch (resolutionClass) {
    case 3:
        image = 1.0f, font = 2.0f, ui = 2.0f;
        break;
    case 2:
        image = 0.75f, font = 1.5f, ui = 1.5f;
        break;
    case 1:
        image = 1.25f, font = 1.25f, ui = 1.25f;
        break;
    default:
        break;
    }
    g_fImageScaleBase = image;
    g_fFontScaleBase = font;
    g_fUIScale = ui;
}

void InitScaleFactors()
{
    float classZero = 1.0f;
    if (g_nResolutionClass != 1 && g_nResolutionClass != 2 && g_nResolutionClass != 3) {
        platform::WindowDc screen;
        if (screen) classZero = ClassZeroScaleForDpi(GetDeviceCaps(screen.Get(), LOGPIXELSX), GetDeviceCaps(screen.Get(), LOGPIXELSY));
    }
    InitScaleFactorsFor(g_nResolutionClass, classZero);
}

int ScaleValue(int value, float scale)
{
    float product = static_cast<float>(value) * scale;
    double rounded = value >= 1 ? static_cast<double>(product) + 0.5 : static_cast<double>(product) - 0.5;
    // Out-of-range conversion to int is undefined; layout values never get there.
    if (!(rounded < static_cast<double>(INT_MAX))) return INT_MAX;
    if (!(rounded > static_cast<double>(INT_MIN))) return INT_MIN;
    return static_cast<int>(rounded);
}

int ScaleByDpi(int value)
{
    return ScaleValue(value, g_fUIScale);
}
