#include "ui/colorpicker/LumoColorPicker.h"

#include <system_error>
#include <utility>

#include "platform/ui/Wnd.h"
#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/language/LanguageLayout.h"
#include "ui/framework/scale/Scale.h"
#include "ui/messages/WindowMessages.h"
#include "ui/windows/buttons/LightButton.h"

namespace {

// A rectangle as x, y, width and height in the fields that ScaleThickness scales.
struct Box {
    int32_t left, top, right, bottom;
    int X() const { return left; }
    int Y() const { return top; }
    int W() const { return right; }
    int H() const { return bottom; }
};

// Layout at 100 %.
constexpr Box kPickerBox = {37, 88, 413, 413};
constexpr Box kTitleBox = {23, 25, 400, 40};
constexpr Box kColorLabelBox = {504, 90, 90, 30};
constexpr Box kRedLabelBox = {594, 123, 20, 20};
constexpr Box kGreenLabelBox = {594, 160, 20, 20};
constexpr Box kBlueLabelBox = {594, 197, 20, 20};
constexpr Box kRedBoxBox = {611, 113, 54, 31};
constexpr Box kGreenBoxBox = {611, 150, 54, 31};
constexpr Box kBlueBoxBox = {611, 187, 54, 31};
constexpr Box kDefaultLabelBox = {504, 260, 200, 20};
constexpr Box kRecentLabelBox = {504, 387, 200, 20};
constexpr Box kCloseBox = {663, 8, 33, 32};
constexpr Box kOkBox = {362, 527, 150, 38};
constexpr Box kCancelBox = {517, 527, 150, 38};
constexpr Box kDefaultSwatchBox = {500, 283, 34, 34};
constexpr Box kRecentSwatchBox = {500, 411, 34, 34};
constexpr Box kPreviewBox = {512, 120, 61, 90};
// The "4K" image set draws OK and Cancel half a pixel lower at 100 %.
constexpr float kLightButtonHeight4K = 37.5f;
constexpr int kSwatchesPerRow = 5;

constexpr Gdiplus::ARGB kLabelColor = 0xFFFFFFFF;
constexpr wchar_t kSwatchNormal[] = L"COLOR_PICKER_COLOR_NORMAL";
constexpr wchar_t kSwatchHover[] = L"COLOR_PICKER_COLOR_HOVER";

const wchar_t* const kLightButtonImages[CLightButton::kStateCount] = {
    L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", nullptr, nullptr, nullptr, L"BTN_DISABLE", nullptr};

Box Scaled(Box box)
{
    ScaleThickness(box);
    return box;
}

uint32_t PackRgb(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red & 0xFF) << 16 | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF);
}

// A class-library view of a window that a framework control owns: it never
// destroys the window.
class BorrowedWnd : public CWnd {
public:
    explicit BorrowedWnd(HWND window) { m_hWnd = window; }
    ~BorrowedWnd() override { m_hWnd = nullptr; }
};

}  // namespace

struct LumoColorPicker::Layout {
    Box picker, title, colorLabel, redLabel, greenLabel, blueLabel, redBox, greenBox, blueBox, defaultLabel,
        recentLabel, close, ok, cancel, defaultSwatch, recentSwatch, preview;
};

LumoColorPicker::LumoColorPicker()
    : Color([this] { return Gdiplus::Color(m_color.load()); },
            [this](const Gdiplus::Color& color) {
                if (color.GetValue() != m_color.load()) SetColor(color, kModeBoxesAndPicker);
            }),
      m_title(kLabelColor, L"IDS_CP_COLORPICKER", L"[ ", L" ]"),
      m_colorLabel(kLabelColor, L"IDS_CP_COLOR"),
      m_redLabel(kLabelColor, L"IDS_CP_RED"),
      m_greenLabel(kLabelColor, L"IDS_CP_GREEN"),
      m_blueLabel(kLabelColor, L"IDS_CP_BLUE"),
      m_defaultLabel(kLabelColor, L"IDS_CP_DEFAULT"),
      m_recentLabel(kLabelColor, L"IDS_CP_RECENT"),
      m_closeButton(L"POPUP_CLOSE_NORMAL", L"POPUP_CLOSE_HOVER", L"POPUP_CLOSE_CLICK")
{
    for (size_t i = 0; i < kSwatchCount; ++i) {
        m_defaultSwatches[i] =
            std::make_unique<LumoColorButton2>(kSwatchNormal, kSwatchHover, kSwatchHover, Gdiplus::Color(kDefaultColors[i]));
        m_recentSwatches[i] =
            std::make_unique<LumoColorButton2>(kSwatchNormal, kSwatchHover, kSwatchHover, Gdiplus::Color(kInitialColor));
    }
}

LumoColorPicker::~LumoColorPicker()
{
    // The notify thread ends before anything it reads goes away.
    if (m_stopEvent) ::SetEvent(m_stopEvent.Get());
    if (m_notifyThread.joinable()) m_notifyThread.join();
    if (m_okButton) m_okButton->Destroy();
    if (m_cancelButton) m_cancelButton->Destroy();
}

DWORD LumoColorPicker::AdjustStyle(DWORD style)
{
    return (style & ~WS_VISIBLE) | WS_POPUP;
}

DWORD LumoColorPicker::AdjustExStyle(DWORD exStyle)
{
    // A top-level window: layered windows of that kind work everywhere.
    return exStyle | WS_EX_LAYERED;
}

void LumoColorPicker::SetBackdropWindow(HWND window)
{
    m_hBackdropWnd = window;
}

RECT LumoColorPicker::PreviewRect() const
{
    return m_previewRect;
}

int LumoColorPicker::OnCreated()
{
    const int created = Control::OnCreated();
    if (!created) return created;

    Layout layout = {Scaled(kPickerBox),       Scaled(kTitleBox),       Scaled(kColorLabelBox),
                     Scaled(kRedLabelBox),     Scaled(kGreenLabelBox),  Scaled(kBlueLabelBox),
                     Scaled(kRedBoxBox),       Scaled(kGreenBoxBox),    Scaled(kBlueBoxBox),
                     Scaled(kDefaultLabelBox), Scaled(kRecentLabelBox), Scaled(kCloseBox),
                     Scaled(kOkBox),           Scaled(kCancelBox),      Scaled(kDefaultSwatchBox),
                     Scaled(kRecentSwatchBox), Scaled(kPreviewBox)};
    if (g_nResolutionClass > 1) {
        const int height = static_cast<int>(kLightButtonHeight4K * g_fUIScale + 0.5f);
        layout.ok.bottom = height;
        layout.cancel.bottom = height;
        layout.close.right -= 1;
    }
    m_previewRect = {layout.preview.X(), layout.preview.Y(), layout.preview.X() + layout.preview.W(),
                     layout.preview.Y() + layout.preview.H()};

    BackgroundImage = std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(L"COLOR_PICKER_BG"));
    CreateParts(layout);
    AdjustColorPickerForLanguage(m_redLabel);
    AdjustColorPickerForLanguage(m_greenLabel);
    AdjustColorPickerForLanguage(m_blueLabel);
    SubscribeParts();
    return created;
}

void LumoColorPicker::CreateParts(const Layout& layout)
{
    HDC renderDC = m_memDC.GetSafeHdc();
    auto create = [&](Control& part, const Box& box) { part.Create(m_hWnd, box.X(), box.Y(), box.W(), box.H()); };
    // Drawn over the panel's own rendered background.
    auto overPanel = [&](Control& part) {
        part.IsLayered = 0;
        part.BackgroundDC = renderDC;
    };
    create(m_picker, layout.picker);
    create(m_title, layout.title);
    create(m_colorLabel, layout.colorLabel);
    create(m_redLabel, layout.redLabel);
    create(m_greenLabel, layout.greenLabel);
    create(m_blueLabel, layout.blueLabel);
    create(m_redBox, layout.redBox);
    create(m_greenBox, layout.greenBox);
    create(m_blueBox, layout.blueBox);
    create(m_defaultLabel, layout.defaultLabel);
    create(m_recentLabel, layout.recentLabel);
    create(m_closeButton, layout.close);
    for (Control* label : {static_cast<Control*>(&m_title), static_cast<Control*>(&m_colorLabel),
                           static_cast<Control*>(&m_redLabel), static_cast<Control*>(&m_greenLabel),
                           static_cast<Control*>(&m_blueLabel), static_cast<Control*>(&m_defaultLabel),
                           static_cast<Control*>(&m_recentLabel)}) {
        overPanel(*label);
    }
    // Children that cannot be layered here draw over the panel's background too.
    for (Control* part : {static_cast<Control*>(&m_picker), static_cast<Control*>(&m_redBox),
                          static_cast<Control*>(&m_greenBox), static_cast<Control*>(&m_blueBox),
                          static_cast<Control*>(&m_closeButton)}) {
        if (!part->IsLayered.Get()) part->BackgroundDC = renderDC;
    }

    // The image buttons keep a copy of what lies under them: the panel's
    // background must be in the surface before they are made.
    RenderSurface();
    m_notifyWnd = std::make_unique<BorrowedWnd>(m_hWnd);
    auto createLightButton = [&](std::unique_ptr<CLightButton>& button, const Box& box, UINT id, const wchar_t* key) {
        button = std::make_unique<CLightButton>();
        button->CreateFromImages(m_notifyWnd.get(), renderDC, kLightButtonImages, box.X(), box.Y(), box.W(), box.H());
        button->m_nButtonId = id;
        button->LoadFrameImages();
        const std::wstring caption = LocalizedText(key, L"", L"", L"").ToString();
        button->SetTextStyle(caption.c_str(), 0, 0, box.W(), box.H());
        button->Refresh(FALSE, 0);
    };
    createLightButton(m_okButton, layout.ok, kOkButtonId, L"IDS_OK");
    createLightButton(m_cancelButton, layout.cancel, kCancelButtonId, L"IDS_CANCEL");

    auto createSwatches = [&](std::array<std::unique_ptr<LumoColorButton2>, kSwatchCount>& row, const Box& first) {
        for (size_t i = 0; i < kSwatchCount; ++i) {
            const int x = first.X() + static_cast<int>(i % kSwatchesPerRow) * first.W();
            const int y = first.Y() + static_cast<int>(i / kSwatchesPerRow) * first.H();
            row[i]->Create(m_hWnd, x, y, first.W(), first.H());
            overPanel(*row[i]);
        }
    };
    createSwatches(m_defaultSwatches, layout.defaultSwatch);
    createSwatches(m_recentSwatches, layout.recentSwatch);
    // Recent colours may have come before the window.
    const size_t recent = m_recent.Colors().size();
    for (size_t i = 0; i < kSwatchCount; ++i) m_recentSwatches[i]->IsEnabled = i < recent ? 1 : 0;
}

void LumoColorPicker::SubscribeParts()
{
    m_picker.ColorChanged.Subscribe([this](void*, Gdiplus::Color& color) { OnPickerColorChanged(color); });
    for (LumoNumberTextBox* box : {&m_redBox, &m_greenBox, &m_blueBox}) {
        box->TextChanged.Subscribe([this](void*, TextChangedEventArgs&) { OnBoxTextChanged(); });
    }
    m_closeButton.Click.Subscribe([this](void*, ButtonClickEventArgs&) {
        RaiseCancel();
    });
    for (auto& swatch : m_defaultSwatches) {
        LumoColorButton2* target = swatch.get();
        const uint32_t color = target->Color.Get().GetValue();
        if (color == 0xFF000000u || color == 0xFFFFFFFFu) {
            swatch->Click.Subscribe([this, target](void*, ButtonClickEventArgs&) { OnBlackOrWhiteClick(*target); });
        } else {
            swatch->Click.Subscribe([this, target](void*, ButtonClickEventArgs&) { OnSwatchClick(*target); });
        }
    }
    for (auto& swatch : m_recentSwatches) {
        LumoColorButton2* target = swatch.get();
        swatch->Click.Subscribe([this, target](void*, ButtonClickEventArgs&) { OnSwatchClick(*target); });
    }
    for (auto* row : {&m_defaultSwatches, &m_recentSwatches}) {
        for (auto& swatch : *row) {
            LumoColorButton2* target = swatch.get();
            swatch->LButtonDown.Subscribe([this, target](void*, MouseEventArgs&) { OnSwatchPress(*target); });
        }
    }
    m_picker.LButtonDown.Subscribe([this](void*, MouseEventArgs&) { StartNotifyTimer(); });
    m_picker.LButtonUp.Subscribe([this](void*, MouseEventArgs&) { StopNotifyTimer(); });
    m_picker.AnimationStarted.Subscribe([this](void*) { OnAnimationStarted(); });
    m_picker.AnimationCompleted.Subscribe([this](void*) { OnAnimationCompleted(); });
}

void LumoColorPicker::SetColor(Gdiplus::Color color, int mode)
{
    m_color = color.GetValue();
    RenderRect(m_previewRect);
    this->Color.RaiseChanged(this);
    if (mode == kModeBoxes || mode == kModeBoxesAndPicker) WriteBoxes(color.GetValue());
    if (mode == kModePicker || mode == kModeBoxesAndPicker) SetPickerColor(color.GetValue());
    // During a drag the notify timer reports instead.
    if (mode != kModeBoxes) ColorChanged.Raise(this, color);
}

void LumoColorPicker::WriteBoxes(uint32_t color)
{
    m_bBoxGuard = 1;
    m_redBox.Value = static_cast<int>((color >> 16) & 0xFF);
    m_greenBox.Value = static_cast<int>((color >> 8) & 0xFF);
    m_blueBox.Value = static_cast<int>(color & 0xFF);
    m_bBoxGuard = 0;
}

void LumoColorPicker::SetPickerColor(uint32_t color)
{
    m_bPickerGuard = 1;
    m_picker.HSV = HSVColor(color);
    m_bPickerGuard = 0;
}

void LumoColorPicker::AddRecentColor(Gdiplus::ARGB color)
{
    m_recent.Add(color);
    const std::vector<uint32_t>& colors = m_recent.Colors();
    for (size_t i = 0; i < colors.size() && i < kSwatchCount; ++i) {
        m_recentSwatches[i]->Color = Gdiplus::Color(colors[i]);
        m_recentSwatches[i]->IsEnabled = 1;
    }
}

void LumoColorPicker::FocusPicker()
{
    if (m_picker.Handle.Get()) ::SetFocus(m_picker.Handle.Get());
}

void LumoColorPicker::RaiseOk()
{
    OK.Raise(this);
}

void LumoColorPicker::RaiseCancel()
{
    Cancel.Raise(this);
    FocusPicker();
}

LRESULT LumoColorPicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LIGHTBUTTON_CLICK_MESSAGE && WM_LIGHTBUTTON_CLICK_MESSAGE != 0) {
        if (wParam == kOkButtonId) {
            RaiseOk();
            AddRecentColor(m_color.load());
            FocusPicker();
        } else if (wParam == kCancelButtonId) {
            RaiseCancel();
        }
        return 0;
    }
    if (message == WM_LUMOPICKER_NOTIFY) {
        m_notifyPosted = false;
        ReportIfChanged();
        return 0;
    }
    return Control::WindowProc(message, wParam, lParam);
}

void LumoColorPicker::SetIsVisible(int, int)
{
    Render();
}

bool LumoColorPicker::PrepareBackgroundFace()
{
    if (!m_pBackgroundImage) return false;
    if (m_backgroundFace.GetSafeHdc() && m_backgroundFace.Width() == m_nWidth &&
        m_backgroundFace.Height() == m_nHeight) {
        return true;
    }
    if (!m_backgroundFace.Resize(m_nWidth, m_nHeight)) return false;
    Gdiplus::Bitmap* surface = m_backgroundFace.Surface();
    if (!surface) return false;
    Gdiplus::Graphics face(surface);
    const INT width = m_nWidth - m_margin.left - m_margin.right, height = m_nHeight - m_margin.top - m_margin.bottom;
    face.DrawImage(m_pBackgroundImage.get(),
                   m_bStretchImage ? Gdiplus::Rect(m_margin.left, m_margin.top, width, height)
                                   : Gdiplus::Rect(m_margin.left, m_margin.top,
                                                   static_cast<INT>(m_pBackgroundImage->GetWidth()),
                                                   static_cast<INT>(m_pBackgroundImage->GetHeight())));
    face.Flush(Gdiplus::FlushIntentionSync);
    return true;
}

Gdiplus::Status LumoColorPicker::PaintBackground(Gdiplus::Graphics& graphics)
{
    // Drawn with GDI straight into the surface this render draws on: the
    // popup's backdrop under the panel, then the background image, made
    // once at the panel's size (GDI+ would stretch it again every time).
    HDC surface = m_memDC.GetSafeHdc();
    if (!surface) return Control::PaintBackground(graphics);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const HWND backdropWindow = m_hBackdropWnd ? m_hBackdropWnd : m_hParentWnd;
    if (!m_bLayered && m_hBackgroundDC && backdropWindow) {
        // The panel's place on screen relative to the popup window.
        RECT owner = {}, self = {};
        ::GetWindowRect(backdropWindow, &owner);
        ::GetWindowRect(m_hWnd, &self);
        LayBackdrop(surface, self.left - owner.left, self.top - owner.top);
    }
    if (PrepareBackgroundFace()) {
        ::AlphaBlend(surface, 0, 0, m_nWidth, m_nHeight, m_backgroundFace.GetSafeHdc(), 0, 0, m_nWidth, m_nHeight,
                     blend);
    }
    ::GdiFlush();
    return Gdiplus::Ok;
}

void LumoColorPicker::LayBackdrop(HDC surface, int sourceX, int sourceY)
{
    // The popup's blurred snapshot is opaque: blended over anything it gives
    // its own pixels, which a copy gives for a fraction of the cost. Any
    // other backdrop is blended.
    SIZE from = {};
    if (SelectedDib32Size(m_hBackgroundDC, from) && sourceX >= 0 && sourceY >= 0 && m_nWidth <= from.cx - sourceX &&
        m_nHeight <= from.cy - sourceY &&
        ((m_backdropCopy.Width() == m_nWidth && m_backdropCopy.Height() == m_nHeight) ||
         m_backdropCopy.Resize(m_nWidth, m_nHeight))) {
        ::BitBlt(m_backdropCopy, 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, sourceX, sourceY, SRCCOPY);
        ::GdiFlush();
        if (AllPixelsOpaque(static_cast<const uint32_t*>(m_backdropCopy.Bits()), m_nWidth, m_nHeight)) {
            ::BitBlt(surface, 0, 0, m_nWidth, m_nHeight, m_backdropCopy, 0, 0, SRCCOPY);
            return;
        }
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(surface, 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, sourceX, sourceY, m_nWidth, m_nHeight, blend);
}

void LumoColorPicker::OnPaint(HDC paintDC)
{
    // A top-level window over nothing of its own: blending onto the erased
    // paint DC gives what a copy gives.
    if (!m_memDC.GetSafeHdc()) return;
    ::BitBlt(paintDC, 0, 0, m_memDC.Width(), m_memDC.Height(), m_memDC.GetSafeHdc(), 0, 0, SRCCOPY);
}

void LumoColorPicker::PaintContent(Gdiplus::Graphics& graphics)
{
    const RECT& r = m_previewRect;
    const Gdiplus::Point corners[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom},
                                       {r.left, r.top}};
    Gdiplus::SolidBrush brush{Gdiplus::Color(m_color.load())};
    graphics.FillPolygon(&brush, corners, 5);
}

// --- Handlers -----------------------------------------------------------------

void LumoColorPicker::OnPickerColorChanged(Gdiplus::Color color)
{
    if (m_bFocusPicker) FocusPicker();
    if (m_bPickerGuard) return;
    SetColor(color, m_bTyping ? kModePanelOnly : kModeBoxes);
}

void LumoColorPicker::OnBoxTextChanged()
{
    if (m_bBoxGuard) return;
    const uint32_t color = PackRgb(LumoNumberTextBox::ParseNumber(m_redBox.Text.Get()),
                                   LumoNumberTextBox::ParseNumber(m_greenBox.Text.Get()),
                                   LumoNumberTextBox::ParseNumber(m_blueBox.Text.Get()));
    if (color == m_color.load()) return;
    if (!m_picker.IsAnimationEnabled.Get()) {
        SetColor(Gdiplus::Color(color), kModePicker);
        return;
    }
    m_bTyping = 1;
    m_picker.AnimateTo(HSVColor(color));
    // An animation that ended at once has reported and cleared the flag.
    if (m_bTyping && !m_picker.IsAnimating.Get()) {
        // Nothing to animate (the picker shows that colour already): take it at once.
        m_bTyping = 0;
        SetColor(Gdiplus::Color(color), kModePicker);
    }
}

void LumoColorPicker::OnSwatchClick(LumoColorButton2& swatch)
{
    if (m_picker.IsAnimating.Get()) return;
    const uint32_t color = swatch.Color.Get().GetValue();
    if (color == m_color.load()) {
        if (::GetFocus() != m_hWnd) ::SetFocus(swatch.Handle.Get());
        return;
    }
    if (!m_picker.IsAnimationEnabled.Get()) {
        SetColor(Gdiplus::Color(color), kModeBoxesAndPicker);
        return;
    }
    m_bFocusPicker = 0;
    m_picker.AnimateTo(HSVColor(color));
    if (!m_picker.IsAnimating.Get()) {
        m_bFocusPicker = 1;
        SetColor(Gdiplus::Color(color), kModeBoxesAndPicker);
    }
}

void LumoColorPicker::OnBlackOrWhiteClick(LumoColorButton2& swatch)
{
    if (m_picker.IsAnimating.Get()) return;
    HSVColor target(swatch.Color.Get().GetValue());
    // Keep the triangle where it is.
    target.H = m_picker.Hue.Get();
    if (!m_picker.IsAnimationEnabled.Get()) {
        m_picker.HSV = target;
    } else {
        m_bFocusPicker = 0;
        m_picker.AnimateTo(target);
        if (!m_picker.IsAnimating.Get()) m_bFocusPicker = 1;
    }
    ::SetFocus(swatch.Handle.Get());
}

void LumoColorPicker::OnSwatchPress(LumoColorButton2& swatch)
{
    if (m_picker.IsAnimating.Get()) WriteBoxes(m_color.load());
    ::SetFocus(swatch.Handle.Get());
}

void LumoColorPicker::OnAnimationStarted()
{
    for (Control* part : {static_cast<Control*>(&m_redBox), static_cast<Control*>(&m_greenBox),
                          static_cast<Control*>(&m_blueBox), static_cast<Control*>(&m_closeButton)}) {
        part->IsHitTestVisible = 0;
    }
    if (m_okButton) ::EnableWindow(m_okButton->GetSafeHwnd(), FALSE);
    if (m_cancelButton) ::EnableWindow(m_cancelButton->GetSafeHwnd(), FALSE);
    // The frames of an animation are not reported one by one.
    ColorChanged.SetEnabled(false);
}

void LumoColorPicker::OnAnimationCompleted()
{
    m_bFocusPicker = 1;
    for (Control* part : {static_cast<Control*>(&m_redBox), static_cast<Control*>(&m_greenBox),
                          static_cast<Control*>(&m_blueBox), static_cast<Control*>(&m_closeButton)}) {
        part->IsHitTestVisible = 1;
    }
    if (m_okButton) ::EnableWindow(m_okButton->GetSafeHwnd(), TRUE);
    if (m_cancelButton) ::EnableWindow(m_cancelButton->GetSafeHwnd(), TRUE);
    ColorChanged.SetEnabled(true);
    SetColor(Gdiplus::Color(m_color.load()), kModePanelOnly);
    m_bTyping = 0;
}

// --- Notify thread ------------------------------------------------------------

void LumoColorPicker::StartNotifyTimer()
{
    if (!m_picker.IsHueDragging.Get() && !m_picker.IsTriangleDragging.Get()) return;
    if (!m_notifyThread.joinable()) {
        m_notifyTimer.Reset(::CreateWaitableTimerW(nullptr, FALSE, nullptr));
        m_stopEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!m_notifyTimer || !m_stopEvent) return;
        try {
            m_notifyThread = std::thread(&LumoColorPicker::NotifyThread, this);
        } catch (const std::system_error&) {
            return;  // no drag reports until the release
        }
    }
    LARGE_INTEGER due = {};
    ::SetWaitableTimer(m_notifyTimer.Get(), &due, m_nNotifyPeriod, nullptr, nullptr, FALSE);
}

void LumoColorPicker::StopNotifyTimer()
{
    if (m_notifyTimer) ::CancelWaitableTimer(m_notifyTimer.Get());
    ReportIfChanged();
}

void LumoColorPicker::NotifyThread()
{
    const HANDLE handles[2] = {m_notifyTimer.Get(), m_stopEvent.Get()};
    for (;;) {
        const DWORD result = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (result != WAIT_OBJECT_0) return;  // the stop event, or the handles are gone
        // The report itself is made on the UI thread, where every handler
        // of ColorChanged may touch the controls and the profile table.
        if (m_color.load() != m_lastReported.load() && !m_notifyPosted.exchange(true)) {
            if (!::PostMessageW(m_hWnd, WM_LUMOPICKER_NOTIFY, 0, 0)) m_notifyPosted = false;
        }
    }
}

void LumoColorPicker::ReportIfChanged()
{
    const uint32_t color = m_color.load();
    if (color == m_lastReported.load()) return;
    m_lastReported = color;
    Gdiplus::Color report(color);
    ColorChanged.Raise(this, report);
}
