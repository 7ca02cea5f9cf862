#include "ui/colorpicker/LumoColorPickerDlg.h"

#include "ui/framework/LayeredChildren.h"
#include "ui/framework/Scale.h"

LumoColorPickerDlg::LumoColorPickerDlg()
    : Color([this] { return m_picker.Color.Get(); },
            [this](const Gdiplus::Color& color) {
                m_picker.Color = color;
                Color.RaiseChanged(this);
            })
{
}

LumoColorPickerDlg::~LumoColorPickerDlg() = default;

DWORD LumoColorPickerDlg::AdjustExStyle(DWORD exStyle)
{
    return ChildLayeredExStyle(exStyle | WS_EX_LAYERED) | WS_EX_TOPMOST;
}

int LumoColorPickerDlg::OnCreated()
{
    const int created = Control::OnCreated();
    if (!created) return created;
    ScaleThickness(m_pickerRect);
    m_pickerRect.top += (m_nHeight - m_pickerRect.bottom) / 2;
    m_picker.Create(m_hWnd, m_pickerRect.left, m_pickerRect.top, m_pickerRect.right, m_pickerRect.bottom);
    m_picker.IsLayered = 0;
    m_picker.SetBackdropWindow(m_hWnd);
    m_picker.BackgroundDC = m_memDC.GetSafeHdc();
    m_picker.OK.Subscribe([this](void*) { OnPickerOk(); });
    m_picker.Cancel.Subscribe([this](void*) { OnPickerCancel(); });
    m_picker.ColorChanged.Subscribe([this](void*, Gdiplus::Color& color) { OnPickerColorChanged(color); });
    return created;
}

void LumoColorPickerDlg::SetIsVisible(int shown, int)
{
    if (shown && m_hWnd) {
        m_colorOnShow = m_picker.Color.Get().GetValue();
        // Taken while this popup is still hidden: what it will cover.
        m_backdrop = m_snapshot.Take(m_hWnd, m_fScaleDown, m_nSigma);
        Render();
        PlacePicker();
    }
    if (shown != m_bVisible) {
        m_bVisible = shown;
        Render();
    }
    m_picker.IsVisible = shown;
}

void LumoColorPickerDlg::PlacePicker()
{
    RECT screen = {};
    ::GetWindowRect(m_hWnd, &screen);
    ::SetWindowPos(m_picker.Handle.Get(), nullptr, screen.left + m_pickerRect.left, screen.top + m_pickerRect.top, 0,
                   0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Gdiplus::Status LumoColorPickerDlg::PaintBackground(Gdiplus::Graphics& graphics)
{
    if (!m_backdrop) return Gdiplus::Ok;
    // Mirrored beyond its edges, so that smoothing the stretch never pulls
    // transparent pixels in: the backdrop stays opaque to the border.
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    return graphics.DrawImage(m_backdrop.get(), Gdiplus::Rect(0, 0, m_nWidth, m_nHeight), 0, 0,
                              static_cast<INT>(m_backdrop->GetWidth()), static_cast<INT>(m_backdrop->GetHeight()),
                              Gdiplus::UnitPixel, &attributes);
}

void LumoColorPickerDlg::RaiseColorChanged(Gdiplus::Color color)
{
    ColorChanged.Raise(this, color);
}

void LumoColorPickerDlg::OnPickerColorChanged(Gdiplus::Color color)
{
    RaiseColorChanged(color);
}

void LumoColorPickerDlg::OnPickerOk()
{
    IsVisible = 0;
}

void LumoColorPickerDlg::OnPickerCancel()
{
    IsVisible = 0;
    Color = Gdiplus::Color(m_colorOnShow);
}
