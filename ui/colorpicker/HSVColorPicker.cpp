// The picker's state, properties, setters, timers and animation start.
#include "ui/colorpicker/HSVColorPicker.h"

#include <utility>

#include "ui/colorpicker/ColorPickerAnimation2.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/scale/Scale.h"

HSVColorPicker::HSVColorPicker()
    : Hue([this] { return m_fHue.Load(); },
          [this](const float& hue) {
              if (hue == m_fHue.Load()) return;
              SetHue(hue);
              Color.RaiseChanged(this);
              OnColorChanged(Color);
          }),
      Saturation([this] { return m_fSaturation.Load(); },
                 [this](const float& saturation) {
                     if (saturation == m_fSaturation.Load()) return;
                     SetSaturation(saturation);
                     Color.RaiseChanged(this);
                     OnColorChanged(Color);
                 }),
      Value([this] { return m_fValue.Load(); },
            [this](const float& value) {
                if (value == m_fValue.Load()) return;
                SetValue(value);
                Color.RaiseChanged(this);
                OnColorChanged(Color);
            }),
      HSV([this] { return CurrentHSV(); },
          [this](const HSVColor& color) {
              if (color == CurrentHSV()) return;
              SetHSV(color);
          }),
      Color([this] { return Gdiplus::Color(CurrentArgb()); }),
      IsHueDragging([this] { return static_cast<int>(m_bHueDragging); }),
      IsTriangleDragging([this] { return static_cast<int>(m_bTriangleDragging); }),
      IsAnimationEnabled([this] { return static_cast<int>(m_bAnimationEnabled); },
                         [this](const int& enabled) {
                             if (enabled == m_bAnimationEnabled) return;
                             m_bAnimationEnabled = enabled;
                             IsAnimationEnabled.RaiseChanged(this);
                         }),
      AnimationDuration([this] { return m_dAnimationDuration; },
                        [this](const double& duration) {
                            if (duration == m_dAnimationDuration) return;
                            m_dAnimationDuration = duration;
                            AnimationDuration.RaiseChanged(this);
                        }),
      IsAnimating([this] { return m_pAnimation2->IsRunning(); }),
      m_pAnimation(std::make_unique<ColorPickerAnimation>(this)),
      m_pAnimation2(std::make_unique<ColorPickerAnimation2>(this))
{
}

HSVColorPicker::~HSVColorPicker()
{
    // No tick may run, and no frame call back, once the members start going.
    ShutDownTimers();
    m_pAnimation2.reset();
    m_pAnimation.reset();
}

// --- Colour ------------------------------------------------------------------

void HSVColorPicker::OnColorChanged(Gdiplus::Color color)
{
    ColorChanged.RaiseValue(this, color);
}

void HSVColorPicker::TurnTo(float hue)
{
    m_hueMatrix.Reset();
    m_hueMatrix.RotateAt(hue, m_geometry.centre);
    m_bGradientDirty = 1;
}

void HSVColorPicker::PlaceMarkerFromSV()
{
    const Gdiplus::PointF marker = SVMarkerFromSV(m_geometry, m_fSaturation, m_fValue);
    m_fMarkerX = marker.X;
    m_fMarkerY = marker.Y;
}

void HSVColorPicker::SetHue(float hue)
{
    m_fHue = hue;
    TurnTo(hue);
    Render();
    Hue.RaiseChanged(this);
}

void HSVColorPicker::SetSaturation(float saturation)
{
    m_fSaturation = saturation;
    PlaceMarkerFromSV();
    Render();
    Saturation.RaiseChanged(this);
}

void HSVColorPicker::SetValue(float value)
{
    m_fValue = value;
    PlaceMarkerFromSV();
    Render();
    Value.RaiseChanged(this);
}

void HSVColorPicker::SetHSV(const HSVColor& color)
{
    const int32_t suspended = m_bRenderSuspended;
    m_bRenderSuspended = 1;
    if (color.H != m_fHue.Load()) SetHue(color.H);
    if (color.S != m_fSaturation.Load()) SetSaturation(color.S);
    if (color.V != m_fValue.Load()) SetValue(color.V);
    m_bRenderSuspended = suspended;
    Render();
    HSV.RaiseChanged(this);
    Color.RaiseChanged(this);
    OnColorChanged(Color);
}

void HSVColorPicker::UpdateSVFromMarker()
{
    float saturation = 0.0f, value = 0.0f;
    SVFromMarker(m_geometry, SVMarker(), saturation, value);
    m_fSaturation = saturation;
    m_fValue = value;
    Saturation.RaiseChanged(this);
    Value.RaiseChanged(this);
}

// --- Window ------------------------------------------------------------------

LRESULT HSVColorPicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSVPICKER_COLORCHANGED) {
        OnColorChanged(Color);
        return 0;
    }
    if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != m_hWnd &&
        (m_bHueDragging || m_bTriangleDragging)) {
        // Another window took the mouse: no release will come, so end the
        // drag here as one would, or its timers would run on.
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_hWnd, &cursor);
        OnLButtonUp(0, POINTS{static_cast<SHORT>(cursor.x), static_cast<SHORT>(cursor.y)});
    }
    return Control::WindowProc(message, wParam, lParam);
}

DWORD HSVColorPicker::AdjustExStyle(DWORD exStyle)
{
    return ChildLayeredExStyle(exStyle | WS_EX_LAYERED);
}

int HSVColorPicker::OnCreated()
{
    const int created = Control::OnCreated();
    if (!created) return 0;

    // Nothing renders until the picture is complete.
    const int32_t suspended = m_bRenderSuspended;
    m_bRenderSuspended = 1;

    const float scale = g_fUIScale;
    m_geometry = PickerGeometry::For(m_nWidth, m_nHeight, scale);
    const int margin = static_cast<int>(ScaledLength(static_cast<float>(kMargin), scale));
    Margin = Thickness(margin);

    m_ringImage = std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(L"COLOR_RING"));
    BackgroundImage = m_ringImage;
    m_ringMarkerImage = LoadSkinImageScaled(L"COLOR_PICKER_TRIANGLE");
    m_triangleImage = LoadSkinImageScaled(L"COLOR_TRIANGLE");
    m_svMarkerImage = LoadSkinImageScaled(L"COLOR_PICKER");
    if (m_triangleImage) m_triangleImage->RotateFlip(Gdiplus::Rotate270FlipNone);
    if (m_ringMarkerImage) m_ringMarkerImage->RotateFlip(Gdiplus::Rotate90FlipNone);

    BuildPaths();
    PrepareLayers();
    m_gradientCache.reset();  // made for the size at the first GDI+ drawing
    m_bGradientDirty = 1;
    TurnTo(m_fHue);
    PlaceMarkerFromSV();
    InstallTimerHooks();

    m_bRenderSuspended = suspended;
    return created;
}

LRESULT HSVColorPicker::OnDestroy()
{
    // The window goes first: nothing may be posted to it from here on.
    m_bHueDragging = 0;
    m_bTriangleDragging = 0;
    ShutDownTimers();
    return Control::OnDestroy();
}

// --- Timers ------------------------------------------------------------------

void HSVColorPicker::InstallTimerHooks()
{
    m_paintTimer.SetStartHook([this] {
        m_fLastPaintedX = m_fMarkerX.Load();
        m_fLastPaintedY = m_fMarkerY.Load();
        m_fLastPaintedHue = m_fHue.Load();
    });
    m_paintTimer.SetTickHook([this] { PaintMarkersTick(); });
    m_paintTimer.SetStopHook([] {});

    m_colorTimer.SetStartHook([this] { m_pendingColor = CurrentArgb(); });
    m_colorTimer.SetTickHook([this] {
        const uint32_t color = CurrentArgb();
        if (color == m_pendingColor.Load()) return;
        m_pendingColor = color;
        ::PostMessageW(m_hWnd, WM_HSVPICKER_COLORCHANGED, 0, 0);
    });
    m_colorTimer.SetStopHook([this] { FlushColor(); });
}

void HSVColorPicker::PaintMarkersTick()
{
    const float x = m_fMarkerX, y = m_fMarkerY;
    if (x != m_fLastPaintedX.Load() || y != m_fLastPaintedY.Load()) {
        m_fLastPaintedX = x;
        m_fLastPaintedY = y;
        InvalidateAsync();
    }
    const float hue = m_fHue;
    if (hue != m_fLastPaintedHue.Load()) {
        m_fLastPaintedHue = hue;
        InvalidateAsync();
    }
}

void HSVColorPicker::FlushColor()
{
    const uint32_t color = CurrentArgb();
    if (color != m_pendingColor.Load()) {
        m_pendingColor = color;
        OnColorChanged(Gdiplus::Color(color));
    }
    m_pendingColor = 0;
}

void HSVColorPicker::StartTimers()
{
    if (!::IsWindow(m_hWnd)) return;  // a window that is gone gets no more ticks
    m_paintTimer.Start(0);
    m_colorTimer.Start(0);
}

void HSVColorPicker::StopTimers()
{
    m_paintTimer.Stop();
    m_colorTimer.Stop();
}

void HSVColorPicker::ShutDownTimers()
{
    m_paintTimer.Shutdown();
    m_colorTimer.Shutdown();
}

// --- Animation ---------------------------------------------------------------

void HSVColorPicker::AnimateTo(const HSVColor& target)
{
    AnimateTo(target, m_dAnimationDuration);
}

void HSVColorPicker::AnimateTo(const HSVColor& target, double duration)
{
    if (!m_bAnimationEnabled) return;
    const HSVColor current = CurrentHSV();
    if (target == current) return;

    const float targetHue = HueTargetTheShortWay(current.H, target.H);
    const Gdiplus::PointF targetMarker = SVMarkerFromSV(m_geometry, target.S, target.V);
    m_pAnimation2->Animate(current.H, m_fMarkerX, m_fMarkerY, targetHue, targetMarker.X, targetMarker.Y, duration);
}

void HSVColorPicker::SetAnimationClock(std::function<double()> clock)
{
    m_pAnimation->SetClock(clock);
    m_pAnimation2->SetClock(std::move(clock));
}

void HSVColorPicker::OnAnimationCompleted()
{
    IsHitTestVisible = 1;
    AnimationCompleted.Raise(this);
    // The press that clicked the ring is still held: it drags from here.
    if (m_bHueDragging) StartTimers();
}
