#include "ui/windows/overlay/ProgressWnd.h"

#include <cwchar>

#include "platform/win/BoundedFormat.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/shared/BackBufferPaint.h"
#include "ui/windows/shared/CustomDrawnChild.h"

namespace {

// The language whose numbers are shown in the user locale's native digits.
constexpr int kLangIndexNativeDigits = 4;
constexpr size_t kDigitCount = 10;

bool Blend(HDC target, int x, int y, int width, int height, HDC source, int sourceWidth, int sourceHeight,
           BYTE constantAlpha)
{
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    return AlphaBlend(target, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, blend) != FALSE;
}

}  // namespace

CProgressWnd::~CProgressWnd()
{
    // The base class would destroy the window after this object's handlers are gone.
    Close();
    if (m_hWnd) DestroyWindow();
}

RECT CProgressWnd::SpinnerSquare() const
{
    return RECT{m_nSpinnerX, m_nSpinnerY, m_nSpinnerX + m_nSpinnerSide, m_nSpinnerY + m_nSpinnerSide};
}

int CProgressWnd::FrameAt(uint64_t elapsedMs)
{
    if (elapsedMs < kFrameDelayMs) return -1;
    int frame = static_cast<int>(static_cast<float>(elapsedMs - kFrameDelayMs) / kFrameMs + 0.5f);
    if (frame >= kFrameCount) frame = (frame - kFrameCount) % kLoopFrameCount + kLoopFirstFrame;
    return frame;
}

int CProgressWnd::SpinnerSideFor(int resolutionClass, float uiScale)
{
    const float side = resolutionClass >= 2 ? kSpinnerSideLarge : kSpinnerSide;
    return static_cast<int>(side * uiScale + 0.5f);
}

void CProgressWnd::FormatPercent(int percent, const wchar_t* nativeDigits, wchar_t* text, size_t capacity)
{
    if (!text || capacity == 0) return;
    platform::FormatBounded(text, capacity, L"%02d", percent);
    if (!nativeDigits || wcslen(nativeDigits) < kDigitCount) return;
    const size_t length = wcslen(text);
    if (length > 3) return;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return;
    }
    for (size_t i = 0; i < length; ++i) text[i] = nativeDigits[text[i] - L'0'];
}

BOOL CProgressWnd::Create(CWnd* parent, int width, int height)
{
    if (m_bActive || m_hWnd || !parent || !parent->GetSafeHwnd()) return FALSE;
    if (!CreateCustomDrawnChild(*this, parent->GetSafeHwnd(), WS_CHILD | WS_CLIPSIBLINGS, 0, 0, width, height)) {
        return FALSE;
    }
    m_nWidth = width;
    m_nHeight = height;
    // Without the Direct2D client the backdrop is only darkened, not blurred.
    m_d2dClient.Add(m_hWnd);
    if (!CaptureBackdrop()) {
        ReleaseResources();
        DestroyWindow();
        return FALSE;
    }
    DrawBackdrop(true);
    Present(0, 0, m_nWidth, m_nHeight);

    // Opaque throughout; where child windows cannot be layered it is a plain child.
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    const DWORD layered = ChildLayeredExStyle(exStyle | WS_EX_LAYERED);
    if (layered != exStyle) {
        SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(layered));
        if (layered & WS_EX_LAYERED) SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
    }
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(SW_SHOW);
    m_bActive = true;
    return TRUE;
}

bool CProgressWnd::CaptureBackdrop()
{
    m_windowDc = std::make_unique<platform::WindowDc>(m_hWnd);
    if (!*m_windowDc) return false;
    if (!CreateMemoryDCBitmap(m_nWidth, m_nHeight, m_backBuffer.Put(), TRUE, nullptr)) return false;
    if (!CreateMemoryDCBitmap(m_nWidth, m_nHeight, m_snapshot.Put(), TRUE, nullptr)) return false;

    // Still hidden: the screen there is the main window as the user sees it.
    RECT screenRect = {};
    GetWindowRect(m_hWnd, &screenRect);
    {
        platform::WindowDc screen;
        if (!screen) return false;
        BitBlt(m_snapshot.Get(), 0, 0, m_nWidth, m_nHeight, screen.Get(), screenRect.left, screenRect.top,
               SRCCOPY | CAPTUREBLT);
    }
    if (m_d2dClient && D2DSetSourceFromDC(m_hWnd, m_nWidth, m_nHeight, m_snapshot.Get(), nullptr)) {
        D2DGaussianBlur(m_hWnd, m_nWidth, m_nHeight, m_blurred.Put());
    }

    m_nSpinnerSide = SpinnerSideFor(g_nResolutionClass, g_fUIScale);
    m_nSpinnerX = (m_nWidth - m_nSpinnerSide) / 2;
    m_nSpinnerY = (m_nHeight - m_nSpinnerSide) / 2;
    if (!CreateMemoryDCBitmap(m_nSpinnerSide, m_nSpinnerSide, m_spinnerBackground.Put(), TRUE, nullptr)) {
        return false;
    }
    DrawFrame(true, false);
    return true;
}

void CProgressWnd::ReadNativeDigits()
{
    m_szNativeDigits[0] = L'\0';
    if (g_nLangIndexUI != kLangIndexNativeDigits) return;
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVEDIGITS, m_szNativeDigits,
                        static_cast<int>(kTextChars))) {
        m_szNativeDigits[0] = L'\0';
    }
}

void CProgressWnd::DrawBackdrop(bool first)
{
    if (first) {
        ReadNativeDigits();
        m_nBackdropStep = 1;
        m_bBackdropRunning = true;
        SetTimer(m_hWnd, IDT_BACKDROP, kBackdropTimerMs, nullptr);
    } else if (!m_bBackdropRunning || !m_snapshot) {
        return;  // a tick queued before the timer was killed
    } else if (m_nBackdropStep == kBackdropSteps) {
        KillTimer(m_hWnd, IDT_BACKDROP);
        m_bBackdropRunning = false;
    }

    HDC back = m_backBuffer.Get();
    BitBlt(back, 0, 0, m_nWidth, m_nHeight, m_snapshot.Get(), 0, 0, SRCCOPY);
    if (m_blurred) {
        Blend(back, 0, 0, m_nWidth, m_nHeight, m_blurred.Get(), m_nWidth, m_nHeight,
              static_cast<BYTE>(m_nBackdropStep * kBlurAlphaPerStep));
    }
    {
        Gdiplus::Graphics graphics(back);
        Gdiplus::SolidBrush shade(
            Gdiplus::Color(static_cast<BYTE>(m_nBackdropStep * kDarkenAlphaMax / kBackdropSteps), 0, 0, 0));
        graphics.FillRectangle(&shade, 0, 0, m_nWidth, m_nHeight);
    }
    ++m_nBackdropStep;

    BitBlt(m_spinnerBackground.Get(), 0, 0, m_nSpinnerSide, m_nSpinnerSide, back, m_nSpinnerX, m_nSpinnerY, SRCCOPY);
    DrawFrame(false, false);

    if (!m_bBackdropRunning) {
        m_snapshot.Reset();
        m_blurred.Reset();
    }
}

void CProgressWnd::LoadFrames()
{
    HMODULE module = GetModuleHandleW(nullptr);
    for (int i = 0; i < kFrameCount; ++i) {
        Image& frame = m_frames[static_cast<size_t>(i)];
        if (frame.dc) continue;
        wchar_t name[kTextChars];
        platform::FormatBounded(name, kTextChars, L"LOADING%03d", i + 1);
        LoadSkinImageToDC(module, name, frame.dc.Put(), &frame.width, &frame.height);
    }
}

void CProgressWnd::BlendIntoSpinner(HDC image, int width, int height)
{
    if (!image) return;
    Blend(m_backBuffer.Get(), m_nSpinnerX, m_nSpinnerY, m_nSpinnerSide, m_nSpinnerSide, image, width, height, 255);
}

bool CProgressWnd::DrawFrame(bool load, bool fromFrameTimer)
{
    if (load) {
        LoadFrames();
        m_nLastFrame = -1;
        m_ullFrameStartTick = GetTickCount64();
        SetTimer(m_hWnd, IDT_SPINNER, kSpinnerTimerMs, nullptr);
        return false;
    }
    if (!m_backBuffer) return false;
    const int frame = FrameAt(GetTickCount64() - m_ullFrameStartTick);
    if (frame < 0) return false;
    if (frame == m_nLastFrame && fromFrameTimer) return false;
    m_nLastFrame = frame;

    if (fromFrameTimer) {
        BitBlt(m_backBuffer.Get(), m_nSpinnerX, m_nSpinnerY, m_nSpinnerSide, m_nSpinnerSide,
               m_spinnerBackground.Get(), 0, 0, SRCCOPY);
    }
    const Image& image = m_frames[static_cast<size_t>(frame)];
    BlendIntoSpinner(image.dc.Get(), image.width, image.height);
    if (m_nPercent >= 1) {
        LoadDueProgressImage();
        BlendIntoSpinner(m_progressImage.dc.Get(), m_progressImage.width, m_progressImage.height);
    }
    if (m_nPercent < 1 && frame < kFirstTextFrame) return true;
    DrawPercentText();
    return true;
}

void CProgressWnd::LoadDueProgressImage()
{
    if (m_nPercent < 1) return;
    wchar_t name[kTextChars];
    const int index = m_nPercent < kLastProgressImage ? m_nPercent : kLastProgressImage;
    platform::FormatBounded(name, kTextChars, L"PROGRESS%02d", index);
    if (wcscmp(name, m_szProgressImage) == 0) return;
    // A missing image keeps its name too, so it is not looked for again on every frame.
    platform::CopyBounded(m_szProgressImage, kTextChars, name);
    if (!LoadSkinImageToDC(GetModuleHandleW(nullptr), name, m_progressImage.dc.Put(), &m_progressImage.width,
                           &m_progressImage.height)) {
        m_progressImage.width = m_progressImage.height = 0;
    }
}

void CProgressWnd::DrawPercentText()
{
    wchar_t text[16];
    FormatPercent(m_nPercent, m_szNativeDigits, text, ARRAYSIZE(text));
    Gdiplus::Graphics graphics(m_backBuffer.Get());
    if (graphics.GetLastStatus() != Gdiplus::Ok) return;
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.SetTextContrast(0);
    const int shift = g_nResolutionClass >= 2 ? kTextShiftLarge : kTextShift;
    // Two coloured copies beside the white one give the number its fringe.
    const struct {
        int dx;
        int style;
    } passes[] = {{-shift, kTextStyleLeft}, {shift, kTextStyleRight}, {0, kTextStyleFront}};
    for (const auto& pass : passes) {
        DrawTextOnDC(&graphics, m_nSpinnerX + pass.dx, m_nSpinnerY, m_nSpinnerSide, m_nSpinnerSide, text,
                     kTextAlignmentCentre, pass.style);
    }
}

void CProgressWnd::Present(int x, int y, int width, int height)
{
    if (!m_windowDc || !*m_windowDc || !m_backBuffer) return;
    BitBlt(m_windowDc->Get(), x, y, width, height, m_backBuffer.Get(), x, y, SRCCOPY);
}

void CProgressWnd::OnTimer(UINT_PTR id)
{
    if (id == IDT_BACKDROP) {
        DrawBackdrop(false);
        Present(0, 0, m_nWidth, m_nHeight);
    } else if (id == IDT_SPINNER) {
        if (DrawFrame(false, true)) Present(m_nSpinnerX, m_nSpinnerY, m_nSpinnerSide, m_nSpinnerSide);
    }
}

void CProgressWnd::ReleaseResources()
{
    if (m_hWnd) {
        KillTimer(m_hWnd, IDT_BACKDROP);
        KillTimer(m_hWnd, IDT_SPINNER);
    }
    m_bBackdropRunning = false;
    for (Image& frame : m_frames) frame.dc.Reset();
    m_spinnerBackground.Reset();
    m_progressImage.dc.Reset();
    m_szProgressImage[0] = L'\0';
    m_snapshot.Reset();
    m_blurred.Reset();
    m_backBuffer.Reset();
    m_windowDc.reset();
    m_nPercent = 0;
    m_d2dClient.Remove();
    m_bActive = false;
}

void CProgressWnd::Close()
{
    if (!m_bActive) return;
    ReleaseResources();
    DestroyWindow();
}

LRESULT CProgressWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;  // then the default handling
    case WM_PAINT:
        PaintFromBackBuffer(m_hWnd, m_backBuffer.Get());
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_DESTROY:
        // The main window is going: release here, before the handle goes.
        ReleaseResources();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
