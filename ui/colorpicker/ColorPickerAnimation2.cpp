#include "ui/colorpicker/ColorPickerAnimation2.h"

void HSVColorPicker::ColorPickerAnimation2::OnAnimationValueChanged(CAnimationVariable&, double, double)
{
    float saturation = 0.0f, value = 0.0f;
    const Gdiplus::PointF marker(static_cast<float>(m_second.GetValue()), static_cast<float>(m_third.GetValue()));
    SVFromMarker(m_pPicker->m_geometry, marker, saturation, value);
    m_pPicker->HSV = HSVColor(WrapHue(m_first.GetValue()), saturation, value);
}
