#include "ui/colorpicker/LumoColorPickerDlg.h"

#include <cstring>

#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/scale/Scale.h"

LumoColorPickerDlg::LumoColorPickerDlg()
    : Color([this] { return m_picker.Color.Get(); },
            [this](const Gdiplus::Color& color) {
                m_picker.Color = color;
                Color.RaiseChanged(this);
            })
{
}

LumoColorPickerDlg::~LumoColorPickerDlg() = default;

void LumoColorPickerDlg::CreateWhenShown(HWND parent, int x, int y, int width, int height)
{
    m_pendingParent = parent;
    m_pendingBounds = RECT{x, y, width, height};
}

bool LumoColorPickerDlg::EnsureCreated()
{
    if (m_hWnd) return true;
    // A parent gone meanwhile would make the popup a window of its own.
    if (!m_pendingParent || !::IsWindow(m_pendingParent)) return false;
    const RECT& b = m_pendingBounds;
    if (!Create(m_pendingParent, b.left, b.top, b.right, b.bottom)) return false;
    m_pendingParent = nullptr;
    IsVisible = 0;
    return true;
}

DWORD LumoColorPickerDlg::AdjustStyle(DWORD style)
{
    // Made hidden: shown at once, its first, still empty frame would paint
    // black over the window under it, which the first snapshot then reads.
    return style & ~WS_VISIBLE;
}

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
    // Nothing to snapshot for before the panel exists.
    bool rendered = false;
    if (shown && m_hWnd && m_picker.Handle.Get()) {
        m_colorOnShow = m_picker.Color.Get().GetValue();
        // Taken while this popup is still hidden: what it will cover.
        m_backdrop = m_snapshot.Take(m_hWnd, m_fScaleDown, m_nSigma);
        if (!m_backdrop || !m_snapshot.StretchInto(m_stretchedBackdrop, m_nWidth, m_nHeight)) {
            m_stretchedBackdrop.Resize(0, 0);
        }
        Render();
        rendered = true;
        // Over every sibling, as a top-most popup is over every window.
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PlacePicker();
    }
    if (shown != m_bVisible) {
        m_bVisible = shown;
        // The surface does not depend on the flag: one full-window render is enough.
        if (!rendered) Render();
    }
    m_picker.IsVisible = shown;
}

void LumoColorPickerDlg::OnMouseDown(UINT keys, POINTS pt)
{
    // A press on the backdrop activates the main window, which some window
    // systems raise over its owned windows: the panel comes back on top.
    if (m_bVisible) PlacePicker();
    Control::OnMouseDown(keys, pt);
}

void LumoColorPickerDlg::PlacePicker()
{
    RECT screen = {};
    ::GetWindowRect(m_hWnd, &screen);
    // The panel is a window of its own, owned by the main window: it goes to
    // the top as well, or a raised owner would cover it.
    ::SetWindowPos(m_picker.Handle.Get(), HWND_TOP, screen.left + m_pickerRect.left, screen.top + m_pickerRect.top, 0,
                   0, SWP_NOSIZE | SWP_NOACTIVATE);
}

Gdiplus::Status LumoColorPickerDlg::PaintBackground(Gdiplus::Graphics&)
{
    // The half-size backdrop stretched back over the whole popup (softened
    // by the bilinear stretch), copied straight into the surface that this
    // render draws on: it covers every pixel and is opaque.
    if (!m_stretchedBackdrop.GetSafeHdc() || !m_memDC.Bits() || m_stretchedBackdrop.Width() != m_memDC.Width() ||
        m_stretchedBackdrop.Height() != m_memDC.Height()) {
        return Gdiplus::Ok;
    }
    ::GdiFlush();
    std::memcpy(m_memDC.Bits(), m_stretchedBackdrop.Bits(),
                static_cast<size_t>(m_memDC.Width()) * m_memDC.Height() * 4);
    return Gdiplus::Ok;
}

void LumoColorPickerDlg::OnPaint(HDC paintDC)
{
    // Opaque: a copy does what blending would.
    if (!m_memDC.GetSafeHdc()) return;
    ::BitBlt(paintDC, 0, 0, m_memDC.Width(), m_memDC.Height(), m_memDC.GetSafeHdc(), 0, 0, SRCCOPY);
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
