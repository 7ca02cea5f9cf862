// The picker's hit tests and mouse handling.
#include "ui/colorpicker/HSVColorPicker.h"

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
    return VisibleInTurned(m_trianglePath.get(), m_hueMatrix, x, y);
}

bool HSVColorPicker::InsideRing(float x, float y) const
{
    return m_ringPath && m_ringPath->IsVisible(x, y);
}

Gdiplus::PointF HSVColorPicker::UnturnedPoint(float x, float y) const
{
    std::unique_ptr<Gdiplus::Matrix> inverse(m_hueMatrix.Clone());
    Gdiplus::PointF point(x, y);
    if (inverse && inverse->Invert() == Gdiplus::Ok) inverse->TransformPoints(&point, 1);
    return point;
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
