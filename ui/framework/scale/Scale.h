#pragma once

// Screen class and scale factors, chosen once during the main dialog's
// initialisation and read everywhere afterwards (UI thread only).
extern int g_nResolutionClass;
extern float g_fImageScaleBase;
extern float g_fFontScaleBase;
// Multiplies every layout constant; 1.0 until InitScaleFactors runs.
extern float g_fUIScale;

// 0 up to 1920 x 1080, 1 above it, 2 from 2560 x 1600, 3 from 3840 x 2160;
// each test holds in either orientation.
int GetResolutionClass(int width, int height);

// The class-0 scale from the screen's pixels per inch: 1.25 only above 120.
float ClassZeroScaleForDpi(int dpiX, int dpiY);

// Sets the three base scales for a class; classZeroScale is used for class 0.
void InitScaleFactorsFor(int resolutionClass, float classZeroScale);
// The same for g_nResolutionClass, reading the screen's DPI for class 0.
void InitScaleFactors();

// value x scale, rounded half away from zero (values below 1 subtract 0.5).
int ScaleValue(int value, float scale);
// ScaleValue at g_fUIScale.
int ScaleByDpi(int value);

// Scales left, top, right and bottom in place like ScaleByDpi. Works on any
// four-int record (the controls' Thickness, rectangles kept as x, y, width,
// height in those fields).
template <typename Edges>
void ScaleThickness(Edges& edges)
{
    edges.left = ScaleByDpi(edges.left);
    edges.top = ScaleByDpi(edges.top);
    edges.right = ScaleByDpi(edges.right);
    edges.bottom = ScaleByDpi(edges.bottom);
}
