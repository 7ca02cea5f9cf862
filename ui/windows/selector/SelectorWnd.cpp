#include "ui/windows/selector/SelectorWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "backend/device/LightLevel.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/messages/WindowMessages.h"
#include "ui/windows/shared/BackBufferPaint.h"
#include "ui/windows/shared/CustomDrawnChild.h"

namespace {

constexpr wchar_t kPlainDigits[] = L"0123456789";
constexpr size_t kDigitCount = 10;

void BlendImage(HDC target, int x, int y, int width, int height, HDC source, int sourceX, BYTE alpha)
{
    if (!target || !source || width <= 0 || height <= 0) return;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    ::AlphaBlend(target, x, y, width, height, source, sourceX, 0, width, height, blend);
}

void ClearSurface(CMemoryDC& surface)
{
    ::GdiFlush();
    if (surface.Bits())
        std::fill_n(static_cast<uint32_t*>(surface.Bits()),
                    static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()), 0u);
}

void CopySurface(CMemoryDC& target, HDC source)
{
    if (target.GetSafeHdc() && source)
        ::BitBlt(target, 0, 0, target.Width(), target.Height(), source, 0, 0, SRCCOPY);
}

}  // namespace

CSelectorWnd::~CSelectorWnd()
{
    Destroy();
}

void CSelectorWnd::FormatPercentText(int percent, int langIndex, const wchar_t* nativeDigits, wchar_t* text,
                                     size_t capacity)
{
    if (!text || capacity == 0) return;
    platform::FormatBounded(text, capacity, L"%d%s", percent, L"%");
    if (langIndex != kLangIndexNativeDigits || !nativeDigits) return;
    if (wcslen(nativeDigits) < kDigitCount || wcsncmp(nativeDigits, kPlainDigits, kDigitCount) == 0) return;
    wchar_t digits[kTextChars];
    platform::FormatBounded(digits, kTextChars, L"%d", percent);
    const size_t length = wcslen(digits);
    if (length + 2 > capacity) return;
    for (size_t i = 0; i < length; ++i)
        if (digits[i] < L'0' || digits[i] > L'9') return;
    text[0] = kArabicPercentSign;
    for (size_t i = 0; i < length; ++i) text[i + 1] = nativeDigits[digits[i] - L'0'];
    text[length + 1] = L'\0';
}

BOOL CSelectorWnd::Create(CWnd* parent, HDC background, int x, int y, int width, int height, int trackX, int trackY)
{
    if (m_hWnd || !parent || !parent->GetSafeHwnd()) return FALSE;
    if (!CreateCustomDrawnChild(*this, parent->GetSafeHwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, x,
                                y, width, height)) {
        return FALSE;
    }
    m_hBackgroundDC = background;
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;

    DWORD level = 0;
    if (StartStopLightLevelWatcher(true, m_hWnd, &level)) {
        m_bWatcherRunning = true;
        m_nLevel = m_nCommittedLevel = static_cast<int>(std::min<DWORD>(level, SelectorGeometry::kLevels - 1));
    } else {
        m_nLevel = m_nCommittedLevel = 1;
    }

    CreateBuffers();
    LoadImages(trackX, trackY);
    LayoutHitAreas();
    DrawTrack();
    DrawPinStatic();
    CommitLevel(true);
    m_bCreated = true;
    return TRUE;
}

void CSelectorWnd::CreateBuffers()
{
    m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
    m_backBuffer.Resize(m_nWidth, m_nHeight);
    m_pinlessBuffer.Resize(m_nWidth, m_nHeight);
}

void CSelectorWnd::LoadImages(int trackX, int trackY)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const struct {
        Image& image;
        const wchar_t* name;
    } images[] = {
        {m_trackEmpty, L"SLIDER_0"},           {m_trackFilled, L"SLIDER_100"},
        {m_pinNormal, L"SLIDER_PIN_NORMAL"},   {m_pinPressed, L"SLIDER_PIN_CLICK"},
        {m_pinGlow, L"SLIDER_PIN_GLOW"},
    };
    for (const auto& entry : images) {
        // A missing image leaves its DC empty and its size 0; drawing goes on.
        if (!LoadSkinImageToDC(module, entry.name, entry.image.dc.Put(), &entry.image.width, &entry.image.height)) {
            entry.image.dc.Reset();
            entry.image.width = entry.image.height = 0;
        }
    }
    m_geometry = SelectorGeometry(m_nWidth, m_nHeight, trackX, trackY, m_trackEmpty.width, m_trackEmpty.height,
                                  m_pinNormal.width, m_pinNormal.height);
    for (CMemoryDC* face : {&m_fromFace, &m_toFace, &m_currentFace}) face->Resize(m_pinNormal.width, m_pinNormal.height);
    m_nLevelOffset = m_geometry.LevelOffset(m_nLevel);
    m_nPrevPinX = PinX();
}

void CSelectorWnd::LayoutHitAreas()
{
    m_tracker.SetAreas(m_hWnd, m_nWidth, m_nHeight, m_geometry.Areas(), SelectorGeometry::kAreaCount);
}

void CSelectorWnd::DrawTrack()
{
    HDC back = m_backBuffer.GetSafeHdc();
    if (!back) return;
    if (m_hBackgroundDC) ::BitBlt(back, 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, SRCCOPY);

    const int trackX = m_geometry.TrackX();
    const int trackY = m_geometry.TrackY();
    const int trackWidth = m_geometry.TrackWidth();
    const int trackHeight = m_geometry.TrackHeight();
    const int offset = std::clamp(m_nLevelOffset + m_nDragOffset, 0, trackWidth);
    BlendImage(back, trackX + offset, trackY, trackWidth - offset, trackHeight, m_trackEmpty.dc.Get(), offset, 255);
    BlendImage(back, trackX, trackY, offset, trackHeight, m_trackFilled.dc.Get(), 0, 255);

    const int percent = m_geometry.Percentage(m_nLevelOffset + m_nDragOffset);
    wchar_t nativeDigits[kTextChars * 2] = {};
    if (g_nLangIndex == kLangIndexNativeDigits &&
        !::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVEDIGITS, nativeDigits,
                          static_cast<int>(kTextChars * 2))) {
        nativeDigits[0] = L'\0';
    }
    FormatPercentText(percent, g_nLangIndex, nativeDigits, m_szText, kTextChars);

    const int textHeight =
        static_cast<int>(m_geometry.Area(SelectorGeometry::PinArea(SelectorGeometry::kLevels - 1)).Y);
    {
        ::GdiFlush();
        Gdiplus::Graphics graphics(back);
        DrawTextOnDC(&graphics, trackX, 0, trackWidth, textHeight, m_szText, kTextAlignment, kTextStyle);
    }
    // The whole text box goes to the window: a measured box can be narrower
    // than the drawn glyphs (seen under Wine) and would leave old digits.
    if (m_windowDC && m_windowDC->Get() && textHeight > 0)
        ::BitBlt(m_windowDC->Get(), trackX, 0, trackWidth, textHeight, back, trackX, 0, SRCCOPY);
    m_nLastPercent = percent;

    CopySurface(m_pinlessBuffer, back);
}

HDC CSelectorWnd::FaceOf(int state) const
{
    return state == PinPressed ? m_pinPressed.dc.Get() : m_pinNormal.dc.Get();
}

void CSelectorWnd::RestorePinStrip()
{
    const int pinY = m_geometry.PinY();
    if (m_backBuffer.GetSafeHdc() && m_pinlessBuffer.GetSafeHdc())
        ::BitBlt(m_backBuffer, 0, pinY, m_nWidth, m_geometry.PinHeight(), m_pinlessBuffer, 0, pinY, SRCCOPY);
}

void CSelectorWnd::BlendPinFace(HDC face, int glowAlpha)
{
    const int width = m_geometry.PinWidth();
    const int height = m_geometry.PinHeight();
    BlendImage(m_backBuffer, PinX(), m_geometry.PinY(), width, height, face, 0, 255);
    if (glowAlpha > 0)
        BlendImage(m_backBuffer, PinX(), m_geometry.PinY(), width, height, m_pinGlow.dc.Get(), 0,
                   static_cast<BYTE>(std::min(glowAlpha, 255)));
}

void CSelectorWnd::StopPinTimer()
{
    if (m_hWnd) ::KillTimer(m_hWnd, kPinTimerId);
}

void CSelectorWnd::DrawPinStatic()
{
    // A static face ends any fade, so no timer outlives it.
    StopPinTimer();
    m_bAnimating = false;
    m_nSourceState = m_nTargetState = m_nPinState;
    m_nProgress = 255;
    m_nGlow = m_nFromGlow = m_nToGlow = GlowOf(m_nPinState);

    RestorePinStrip();
    ClearSurface(m_currentFace);
    CopySurface(m_currentFace, FaceOf(m_nPinState));
    BlendPinFace(m_currentFace, m_nGlow);
}

void CSelectorWnd::StartPinAnimation()
{
    StopPinTimer();
    const int state = m_nPinState;
    if (!m_bAnimating && state == m_nTargetState) {
        ClearSurface(m_toFace);
        CopySurface(m_toFace, FaceOf(state));
        m_nFromGlow = m_nToGlow = GlowOf(state);
        m_nProgress = 255;
        return;
    }
    if (m_bAnimating && state == m_nTargetState) {
        CopySurface(m_fromFace, m_currentFace);
        ClearSurface(m_toFace);
        CopySurface(m_toFace, FaceOf(state));
        m_nFromGlow = m_nGlow;
        const ULONGLONG elapsed = ::GetTickCount64() - m_ullAnimationStart;
        if (elapsed >= kPinFadeMs) {
            m_nProgress = 255;
            m_bAnimating = false;
            m_nSourceState = m_nTargetState;
        } else {
            m_nProgress = static_cast<int>(elapsed * 255 / kPinFadeMs);
            ::SetTimer(m_hWnd, kPinTimerId, kPinTimerMs, nullptr);
        }
        return;
    }
    m_nSourceState = m_nTargetState;
    m_nTargetState = state;
    CopySurface(m_fromFace, m_currentFace);
    ClearSurface(m_toFace);
    CopySurface(m_toFace, FaceOf(state));
    m_nFromGlow = m_bAnimating ? m_nGlow : GlowOf(m_nSourceState);
    m_nToGlow = GlowOf(state);
    m_nProgress = kPinFadeFirstProgress;
    m_ullAnimationStart = ::GetTickCount64() - kPinTimerMs;
    m_bAnimating = ::SetTimer(m_hWnd, kPinTimerId, kPinTimerMs, nullptr) != 0;
    // Without a timer there is no fade: show the new face at once.
    if (!m_bAnimating) m_nProgress = 255;
}

void CSelectorWnd::StepPinAnimation()
{
    if (!m_bAnimating) {
        StopPinTimer();
        return;
    }
    const ULONGLONG elapsed = ::GetTickCount64() - m_ullAnimationStart;
    const int alpha = static_cast<int>(std::min<ULONGLONG>(elapsed * 255 / kPinFadeMs, 255));
    if (alpha < 255) {
        if (alpha > m_nProgress + kPinRedrawStep) {
            m_nProgress = alpha;
            DrawPinAnimated();
        }
        return;
    }
    StopPinTimer();
    m_bAnimating = false;
    m_nProgress = 255;
    DrawPinAnimated();
    m_nSourceState = m_nTargetState;
}

void CSelectorWnd::DrawPinAnimated()
{
    RestorePinStrip();
    CopySurface(m_currentFace, m_fromFace);
    if (m_nProgress >= 255) {
        ClearSurface(m_currentFace);
        CopySurface(m_currentFace, m_toFace);
    } else {
        BlendImage(m_currentFace, 0, 0, m_currentFace.Width(), m_currentFace.Height(), m_toFace, 0,
                   static_cast<BYTE>(std::max(m_nProgress, 0)));
    }
    m_nGlow = m_nFromGlow * (255 - m_nProgress) / 255 + m_nToGlow * m_nProgress / 255;
    BlendPinFace(m_currentFace, m_nGlow);
}

void CSelectorWnd::RedrawPin()
{
    if (::IsWindowVisible(m_hWnd)) {
        StartPinAnimation();
        DrawPinAnimated();
    } else {
        DrawPinStatic();
    }
}

void CSelectorWnd::SetPinState(int state)
{
    m_nPinState = state;
}

void CSelectorWnd::BlitRegion(int mode)
{
    if (!m_windowDC || !m_windowDC->Get() || !m_backBuffer.GetSafeHdc()) return;
    HDC window = m_windowDC->Get();
    const int pinX = PinX();
    const int pinY = m_geometry.PinY();
    const int pinWidth = m_geometry.PinWidth();
    const int pinHeight = m_geometry.PinHeight();
    switch (mode) {
    case BlitWindow:
        ::BitBlt(window, 0, 0, m_nWidth, m_nHeight, m_backBuffer, 0, 0, SRCCOPY);
        break;
    case BlitPin:
        ::BitBlt(window, pinX, pinY, pinWidth, pinHeight, m_backBuffer, pinX, pinY, SRCCOPY);
        break;
    case BlitPinSpan: {
        const int left = std::min(m_nPrevPinX, pinX);
        const int right = std::max(m_nPrevPinX, pinX) + pinWidth;
        ::BitBlt(window, left, pinY, right - left, pinHeight, m_backBuffer, left, pinY, SRCCOPY);
        m_nPrevPinX = pinX;
        break;
    }
    default:
        break;
    }
}

void CSelectorWnd::SendLevel(int level)
{
    if (m_bWatcherRunning) {
        // Nothing is sent when the keyboard is already there, and without a
        // timer nothing would end the wait: then no report is held back.
        if (SetLightLevel(static_cast<DWORD>(level)) && ::SetTimer(m_hWnd, kEchoTimerId, kEchoWaitMs, nullptr))
            m_sentLevels.Sent(level);
    } else if (HWND top = ::GetAncestor(m_hWnd, GA_ROOT)) {
        ::PostMessageW(top, WM_LIGHTLEVEL_CHANGED, 0, static_cast<LPARAM>(level));
    }
}

void CSelectorWnd::StopEchoWait()
{
    if (m_hWnd) ::KillTimer(m_hWnd, kEchoTimerId);
    m_sentLevels.Clear();
}

void CSelectorWnd::OnLevelReported(int level)
{
    if (!m_sentLevels.TakeReport(level)) return;
    StopEchoWait();
    if (m_bDragging)
        m_bLevelChangedDuringDrag = true;
    else
        SetLevel(true, level);
}

void CSelectorWnd::OnEchoWaitOver()
{
    StopEchoWait();
    // The reports held back meanwhile are lost: the keyboard tells its level.
    if (m_bDragging)
        m_bLevelChangedDuringDrag = true;
    else
        ShowKeyboardLevel();
}

void CSelectorWnd::ShowKeyboardLevel()
{
    DWORD level = 0;
    if (m_bWatcherRunning && GetLightLevel(&level, false, false)) SetLevel(true, static_cast<int>(level));
}

void CSelectorWnd::CommitLevel(bool silent)
{
    const int chosen = m_geometry.NearestLevel(m_nLevelOffset + m_nDragOffset, m_nCommittedLevel);
    if (chosen == m_nCommittedLevel) return;
    m_nCommittedLevel = chosen;
    if (!silent) SendLevel(chosen);
}

bool CSelectorWnd::SetLevel(bool absolute, int value)
{
    if (!m_bCreated || !::IsWindowEnabled(m_hWnd) || m_bDragging) return false;
    constexpr int top = SelectorGeometry::kLevels - 1;
    int level = m_nLevel;
    if (absolute) {
        level = std::clamp(value, 0, top);
    } else if (value == StepDown) {
        level = std::max(m_nLevel - 1, 0);
    } else if (value == StepUp) {
        level = std::min(m_nLevel + 1, top);
    } else if (value == StepUpWrapping) {
        level = m_nLevel == top ? 0 : m_nLevel + 1;
    }
    if (level == m_nLevel) return false;

    const int hovered = m_tracker.GetHovered();
    if (!SelectorGeometry::IsLevelArea(hovered, level))
        SetPinState(PinNormal);
    else
        SetPinState(hovered == m_tracker.GetPressed() ? PinPressed : PinHover);

    // The committed level moves first, so a level that came from the
    // watcher is not sent back to the hotkey service.
    m_nLevel = m_nCommittedLevel = level;
    m_nLevelOffset = m_geometry.LevelOffset(level);
    DrawTrack();
    RedrawPin();
    CommitLevel(false);
    BlitRegion(BlitPinSpan);
    return true;
}

void CSelectorWnd::StartDrag(int anchorX, int dragOffset)
{
    ::SetCapture(m_hWnd);
    m_bDragging = true;
    m_nDragStartX = anchorX;
    m_nDragOffset = dragOffset;
    SetPinState(PinPressed);
    DrawTrack();
    RedrawPin();
    CommitLevel(false);
    BlitRegion(BlitPinSpan);
}

void CSelectorWnd::OnPress(int area, POINT point)
{
    m_lastPointer = point;
    if (SelectorGeometry::IsLevelArea(area, m_nLevel)) {
        StartDrag(point.x, 0);
    } else if (area >= 0 && area != SelectorGeometry::kWindowArea) {
        m_bClickPending = true;
        m_pressPoint = point;
    }
}

void CSelectorWnd::OnHover(int oldArea, int newArea, bool buttonHeld, POINT point)
{
    if (oldArea != newArea) {
        const bool onLevel = SelectorGeometry::IsLevelArea(newArea, m_nLevel);
        const int state = onLevel ? (buttonHeld ? PinPressed : PinHover) : PinNormal;
        if (state != m_nPinState) {
            SetPinState(state);
            RedrawPin();
            BlitRegion(BlitPin);
        }
    }
    if (!m_bClickPending) return;
    if (!buttonHeld) {
        m_bClickPending = false;
        return;
    }
    if (point.x == m_pressPoint.x && point.y == m_pressPoint.y) return;
    m_bClickPending = false;
    if (newArea < 0) return;
    // The pin jumps under the pointer and follows it from there.
    const Gdiplus::RectF& pin = m_geometry.Area(SelectorGeometry::PinArea(m_nLevel));
    const int reference = static_cast<int>(pin.X + pin.Width * 5.0f / 8.0f);
    m_lastPointer = point;
    StartDrag(reference, m_geometry.ClampDragOffset(m_nLevel, point.x - reference));
}

void CSelectorWnd::OnDrag(POINT point)
{
    if (point.x != m_lastPointer.x) {
        const int offset = m_geometry.ClampDragOffset(m_nLevel, point.x - m_nDragStartX);
        if (offset != m_nDragOffset) {
            m_nDragOffset = offset;
            DrawTrack();
            RedrawPin();
            CommitLevel(false);
            BlitRegion(BlitPinSpan);
        }
    }
    m_lastPointer = point;
}

void CSelectorWnd::OnDragEnd()
{
    const bool wasDragging = m_bDragging;
    m_bDragging = false;
    m_bClickPending = false;
    m_nDragOffset = 0;
    if (wasDragging && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    // The pin snaps to the level nearest to where it was let go.
    m_nLevel = m_nCommittedLevel;
    SetPinState(SelectorGeometry::IsLevelArea(m_tracker.GetHovered(), m_nLevel) ? PinHover : PinNormal);
    m_nLevelOffset = m_geometry.LevelOffset(m_nLevel);
    DrawTrack();
    RedrawPin();
    CommitLevel(false);
    BlitRegion(BlitPinSpan);
    // A level the watcher brought meanwhile was not taken: the keyboard may
    // stand elsewhere than the pin now, so ask it again. Not while a send is
    // on its way: the registry still holds an older level, and the send's
    // report will come.
    const bool askKeyboard = m_bLevelChangedDuringDrag && !m_sentLevels.Awaiting();
    m_bLevelChangedDuringDrag = false;
    if (askKeyboard) ShowKeyboardLevel();
}

void CSelectorWnd::OnLevelClicked(int area, POINT point)
{
    if (!m_bClickPending) {
        if (SelectorGeometry::IsLevelArea(area, m_nLevel)) {
            SetPinState(PinHover);
            RedrawPin();
            BlitRegion(BlitPin);
        }
        return;
    }
    m_bClickPending = false;
    if (SelectorGeometry::IsLevelArea(area, m_nLevel)) return;
    const int before = m_nLevel;
    const Gdiplus::RectF& segment = m_geometry.Area(SelectorGeometry::TrackSegmentArea(m_nLevel));
    const float x = static_cast<float>(point.x);
    if (x >= segment.X + segment.Width)
        SetLevel(false, StepUp);
    else if (x < segment.X)
        SetLevel(false, StepDown);
    if (m_nLevel != before) SendLevel(m_nCommittedLevel);
}

void CSelectorWnd::OnTimer(UINT_PTR id)
{
    if (id == kEchoTimerId) {
        OnEchoWaitOver();
    } else if (id == kPinTimerId) {
        StepPinAnimation();
        BlitRegion(BlitPin);
    }
}

LRESULT CSelectorWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT:
        PaintFromBackBuffer(m_hWnd, m_backBuffer.GetSafeHdc());
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_MOUSEMOVE: {
        if (!m_bCreated) break;
        int oldArea = m_tracker.GetHovered();
        int newArea = oldArea;
        m_tracker.OnMouseMove(lParam, &oldArea, &newArea);
        const bool held = (wParam & MK_LBUTTON) != 0;
        if (!m_bDragging)
            OnHover(oldArea, newArea, held, point);
        else if (held)
            OnDrag(point);
        else
            OnDragEnd();
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (!m_bCreated) break;
        OnPress(m_tracker.OnLButtonDown(lParam), point);
        return 0;
    case WM_LBUTTONUP:
        if (!m_bCreated) break;
        if (m_tracker.GetPressed() == m_tracker.GetHovered()) m_tracker.SetPressed(-1);
        if (!m_bDragging)
            OnLevelClicked(m_tracker.GetHovered(), point);
        else
            OnDragEnd();
        return 0;
    case WM_MOUSELEAVE: {
        if (!m_bCreated) break;
        int oldArea = -1;
        int newArea = -1;
        if (m_tracker.OnMouseLeave(&oldArea, &newArea) && !m_bDragging) OnHover(oldArea, -1, false, point);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Another window took the mouse mid-drag: no release will come, so
        // the pin snaps now rather than block level changes until the
        // pointer returns.
        if (m_bDragging && reinterpret_cast<HWND>(lParam) != m_hWnd) OnDragEnd();
        break;
    case WM_LIGHTLEVEL_CHANGED:
        if (wParam != 0 || !m_bWatcherRunning) return 0;
        OnLevelReported(static_cast<int>(std::clamp<LPARAM>(lParam, 0, SelectorGeometry::kLevels - 1)));
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CSelectorWnd::Destroy()
{
    if (m_bCreated) {
        StopPinTimer();
        StopEchoWait();
        m_bAnimating = false;
        // The watcher's own stop: it waits for the thread before any handle goes.
        if (m_bWatcherRunning) StartStopLightLevelWatcher(false, nullptr, nullptr);
        m_bWatcherRunning = false;
        if (m_bDragging && ::GetCapture() == m_hWnd) ::ReleaseCapture();
        m_bDragging = false;
        m_bLevelChangedDuringDrag = false;
        for (Image* image : {&m_trackEmpty, &m_trackFilled, &m_pinNormal, &m_pinPressed, &m_pinGlow}) {
            image->dc.Reset();
            image->width = image->height = 0;
        }
        for (CMemoryDC* surface : {&m_backBuffer, &m_pinlessBuffer, &m_fromFace, &m_toFace, &m_currentFace})
            surface->Resize(0, 0);
        m_windowDC.reset();
        m_tracker.Release(TRUE);
        m_bCreated = false;
    }
    if (m_hWnd) DestroyWindow();
}
