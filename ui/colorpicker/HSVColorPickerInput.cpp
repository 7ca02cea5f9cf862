// The picker's hit tests and mouse handling.
#include "ui/colorpicker/HSVColorPicker.h"

#include <cmath>

#include "ui/colorpicker/ColorPickerAnimation2.h"

namespace {

bool VisibleInTurned(const Gdiplus::GraphicsPath* path, const Gdiplus::Matrix& turn, float x, float y)
{
    if (!path) return false;
    std::unique_ptr<Gdiplus::GraphicsPath> turned(path->Clone());
    if (!turned) return false;
    turned->Transform(&turn);
    return turned->IsVisible(x, y) != FALSE;
}

}  // namespace

bool HSVColorPicker::HitRingMarker(float x, float y) const
{
    return VisibleInTurned(m_ringMarkerPath.get(), m_hueMatrix, x, y);
}

bool HSVColorPicker::HitTriangle(float x, float y) const
{
    // Turning the point back is the same test as turning the triangle's path,
    // without a GDI+ region for every mouse move.
    return m_trianglePath && InsideTriangle(m_geometry, UnturnedPoint(x, y));
}

bool HSVColorPicker::InsideRing(float x, float y) const
{
    return m_ringPath && m_ringPath->IsVisible(x, y);
}

Gdiplus::PointF HSVColorPicker::UnturnedPoint(float x, float y) const
{
    // The hue matrix's inverse: a turn back by H about the centre.
    const float radians = m_fHue * (3.14159265358979323846f / 180.0f);
    const float cosine = std::cos(radians), sine = std::sin(radians);
    const float dx = x - m_geometry.centre.X, dy = y - m_geometry.centre.Y;
    return Gdiplus::PointF(m_geometry.centre.X + dx * cosine + dy * sine, m_geometry.centre.Y - dx * sine + dy * cosine);
}

void HSVColorPicker::OnLButtonDown(UINT keys, POINTS pt)
{
    const float x = pt.x, y = pt.y;
    if (HitRingMarker(x, y)) {
        m_bHueDragging = 1;
        ::SetCapture(m_hWnd);
        StartTimers();
    } else if (InsideRing(x, y)) {
        if (m_bAnimationEnabled) {
            if (!IsAnimating) {
                m_bHueDragging = 1;
                ::SetCapture(m_hWnd);
                AnimateTo(HSVColor(HueFromPoint(m_geometry.centre, x, y), m_fSaturation, m_fValue));
                // A click on the hue already shown has nothing to animate: drag at once.
                if (!IsAnimating) StartTimers();
            }
        } else {
            Hue = HueFromPoint(m_geometry.centre, x, y);
            m_bHueDragging = 1;
            ::SetCapture(m_hWnd);
            StartTimers();
        }
    } else if (HitTriangle(x, y)) {
        if (IsAnimating) return;
        const Gdiplus::PointF marker = UnturnedPoint(x, y);
        m_fMarkerX = marker.X;
        m_fMarkerY = marker.Y;
        m_bTriangleDragging = 1;
        ::SetCapture(m_hWnd);
        UpdateSVFromMarker();
        Render();
        m_paintTimer.Start(0);
        OnColorChanged(Color);
        m_colorTimer.Start(0);
    }
    Control::OnLButtonDown(keys, pt);
}

void HSVColorPicker::OnMouseMove(UINT keys, POINTS pt)
{
    if (IsAnimating) return;
    const float x = pt.x, y = pt.y;
    if (m_bHueDragging) {
        const float hue = HueFromPoint(m_geometry.centre, x, y);
        m_fHue = hue;
        TurnTo(hue);
    }
    if (m_bTriangleDragging) {
        Gdiplus::PointF marker = UnturnedPoint(x, y);
        if (!HitTriangle(x, y)) marker = ClampMarkerToTriangle(m_geometry, marker);
        m_fMarkerX = marker.X;
        m_fMarkerY = marker.Y;
        UpdateSVFromMarker();
    }
    Control::OnMouseMove(keys, pt);
}

void HSVColorPicker::OnLButtonUp(UINT keys, POINTS pt)
{
    if (m_bTriangleDragging) {
        m_bTriangleDragging = 0;
        StopTimers();
    }
    if (m_bHueDragging) {
        m_bHueDragging = 0;
        StopTimers();
    }
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    Control::OnLButtonUp(keys, pt);
}
