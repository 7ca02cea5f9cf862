#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/colorpicker/HSVColor.h"
#include "ui/colorpicker/PickerGeometry.h"
#include "ui/colorpicker/PremultipliedImage.h"
#include "ui/colorpicker/RelaxedAtomic.h"
#include "ui/colorpicker/TimerThread.h"
#include "ui/framework/core/Control.h"

// Posted by the colour timer's worker to the picker's own window.
constexpr UINT WM_HSVPICKER_COLORCHANGED = WM_USER + 0xDF;
static_assert(WM_HSVPICKER_COLORCHANGED == 0x4DF, "WM_HSVPICKER_COLORCHANGED is 0x4DF");

// A hue ring around a saturation/value triangle that turns with the hue.
// Drags only change state; two 60 ms timer threads repaint and report the
// colour, and the release reports the last colour at once. Ring clicks and
// AnimateTo move the colour smoothly.
class HSVColorPicker : public Control {
public:
    class ColorPickerAnimation;
    class ColorPickerAnimation2;

    static constexpr int32_t kTimerPeriodMs = 60;
    // Layout at 100 %.
    static constexpr int kMargin = 10;                   // on all four sides
    static constexpr float kRingMarkerSize = 22.5f;      // side of the ring marker's hit triangle
    static constexpr float kRingMarkerTipInset = 5.0f;   // tip inside the ring's outer edge, never scaled
    static constexpr int kRingMarkerImageInset = 10;     // marker image's left edge inside the outer edge
    static constexpr float kSVMarkerImageOffset = 2.0f;  // SV marker image right and down of centred
    static constexpr float kTextureOverscale = 0.4f;     // added to the gradient's magnification

    HSVColorPicker();
    ~HSVColorPicker() override;

    property_bst_override<float> Hue;
    property_bst_override<float> Saturation;
    property_bst_override<float> Value;
    property_bst_override<HSVColor> HSV;
    property_bs_readonly_override<Gdiplus::Color> Color;
    property_override_readonly<int> IsHueDragging;
    property_override_readonly<int> IsTriangleDragging;
    property_bst_override<int> IsAnimationEnabled;
    property_bst_override<double> AnimationDuration;
    property_override_readonly<int> IsAnimating;

    Event<Gdiplus::Color&> ColorChanged;
    Event<> AnimationStarted;
    Event<> AnimationCompleted;

    // Moves to the target over AnimationDuration; nothing when animation is
    // off or the target is the colour shown.
    void AnimateTo(const HSVColor& target);
    void AnimateTo(const HSVColor& target, double duration);
    // The animations' time source in seconds: a steady clock unless a test
    // sets one to step the frames (null: the steady clock again).
    void SetAnimationClock(std::function<double()> clock);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Renders compose the picture with the picker's own pixel code.
    void Render() override;
    void RenderRect(RECT dirty) override;

    // The new virtual operations, in slot order.
    virtual void OnColorChanged(Gdiplus::Color color);  // 45
    virtual void SetHue(float hue);                     // 46
    virtual void SetSaturation(float saturation);       // 47
    virtual void SetValue(float value);                 // 48
    // Always reports the colour, even when nothing changed.
    virtual void SetHSV(const HSVColor& color);         // 49

    // The layout this picker works in, and where its marker is.
    const PickerGeometry& Geometry() const { return m_geometry; }
    Gdiplus::PointF SVMarker() const { return Gdiplus::PointF(m_fMarkerX, m_fMarkerY); }

protected:
    LRESULT OnDestroy() override;
    void OnMouseMove(UINT keys, POINTS pt) override;
    void OnLButtonDown(UINT keys, POINTS pt) override;
    void OnLButtonUp(UINT keys, POINTS pt) override;
    DWORD AdjustExStyle(DWORD exStyle) override;
    int OnCreated() override;
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;
    // Into the picker's own surface during a render, the same picture from
    // prepared pixels; into any other graphics, drawn with GDI+.
    void PaintContent(Gdiplus::Graphics& graphics) override;

    // Draws the picture into the surface with the picker's own pixel code; false when nothing was drawn.
    bool RenderComposed();

    bool HitRingMarker(float x, float y) const;
    bool HitTriangle(float x, float y) const;
    bool InsideRing(float x, float y) const;
    // The point in the unturned frame of the triangle.
    Gdiplus::PointF UnturnedPoint(float x, float y) const;

private:
    HSVColor CurrentHSV() const { return HSVColor(m_fHue, m_fSaturation, m_fValue); }
    uint32_t CurrentArgb() const { return HsvToArgb(CurrentHSV()); }
    void TurnTo(float hue);
    void PlaceMarkerFromSV();
    void UpdateSVFromMarker();
    void StartTimers();
    void StopTimers();
    void ShutDownTimers();
    void InstallTimerHooks();
    void PaintMarkersTick();
    void FlushColor();
    void OnAnimationCompleted();
    void BuildPaths();
    void RenderGradient();
    void PaintContentGdiplus(Gdiplus::Graphics& graphics);

    // The picker's own drawing into its surface (HSVColorPickerCompose.cpp).
    void PrepareLayers();
    void UpdateSmallGradient();
    void ComposeRing();
    void ComposeTurned();

    PickerGeometry m_geometry;
    // Read by the timer threads.
    RelaxedAtomic<float> m_fHue{0.0f};
    RelaxedAtomic<float> m_fSaturation{1.0f};
    RelaxedAtomic<float> m_fValue{1.0f};
    RelaxedAtomic<float> m_fMarkerX{0.0f};
    RelaxedAtomic<float> m_fMarkerY{0.0f};
    RelaxedAtomic<float> m_fLastPaintedX{-1.0f};
    RelaxedAtomic<float> m_fLastPaintedY{-1.0f};
    RelaxedAtomic<float> m_fLastPaintedHue{-1.0f};
    RelaxedAtomic<uint32_t> m_pendingColor{0};

    Gdiplus::Matrix m_hueMatrix;
    std::unique_ptr<Gdiplus::GraphicsPath> m_ringPath;
    std::unique_ptr<Gdiplus::GraphicsPath> m_trianglePath;
    std::unique_ptr<Gdiplus::GraphicsPath> m_ringMarkerPath;
    std::unique_ptr<Gdiplus::Bitmap> m_gradientCache;
    // Saturation and value of each pixel of the small gradient: the same for every hue.
    std::vector<Gdiplus::PointF> m_gradientSV;
    int m_gradientWidth = 0;
    int m_gradientHeight = 0;
    int32_t m_bGradientDirty = 1;
    int32_t m_bHueDragging = 0;
    int32_t m_bTriangleDragging = 0;
    int32_t m_bAnimationEnabled = 1;
    double m_dAnimationDuration = 0.5;

    std::shared_ptr<Gdiplus::Bitmap> m_ringImage;
    std::unique_ptr<Gdiplus::Bitmap> m_ringMarkerImage;
    std::unique_ptr<Gdiplus::Bitmap> m_triangleImage;
    std::unique_ptr<Gdiplus::Bitmap> m_svMarkerImage;

    // Prepared for the picker's own drawing: the ring at its drawn size with
    // its runs, the turned images, the small gradient of m_fSmallGradientHue,
    // and how far the frame image's pixels reach from the triangle's edges.
    bool m_bComposing = false;
    PremultipliedImage m_ringLayer;
    std::vector<PremultipliedImage::Run> m_ringRuns;
    PremultipliedImage m_ringMarkerLayer;
    PremultipliedImage m_triangleLayer;
    PremultipliedImage m_svMarkerLayer;
    PremultipliedImage m_smallGradient;
    float m_fSmallGradientHue = -1.0f;
    float m_fFrameReach = 0.0f;

    TimerThread m_paintTimer{kTimerPeriodMs};
    TimerThread m_colorTimer{kTimerPeriodMs};
    std::unique_ptr<ColorPickerAnimation> m_pAnimation;
    std::unique_ptr<ColorPickerAnimation2> m_pAnimation2;
};
