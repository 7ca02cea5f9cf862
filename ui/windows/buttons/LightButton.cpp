#include "ui/windows/buttons/LightButton.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/messages/WindowMessages.h"
#include "ui/windows/buttons/FaceDrawing.h"
#include "ui/windows/shared/BackBufferPaint.h"
#include "ui/windows/shared/CustomDrawnChild.h"
#include "ui/windows/shared/SkinOverlay.h"

namespace {

constexpr int kCaptionStyles[CLightButton::kStateCount] = {31, 32, 33, 34, 33, 33, 31, 0};
// Text faces are rendered for these states with these styles.
constexpr int kTextFaceStates[] = {0, 1, 2, 6};
constexpr int kTextFaceStyles[] = {210, 215, 215, 214};

}  // namespace

CLightButton::~CLightButton()
{
    Destroy();
}

BOOL CLightButton::CreateButtonWindow(CWnd* parent, int x, int y, int width, int height)
{
    if (parent == nullptr || m_hWnd != nullptr) return FALSE;
    return CreateCustomDrawnChild(*this, parent->GetSafeHwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                                  height, CS_DBLCLKS);
}

BOOL CLightButton::CreateFromImages(CWnd* parent, HDC background, const wchar_t* const imageNames[kStateCount],
                                    int x, int y, int width, int height)
{
    if (!CreateButtonWindow(parent, x, y, width, height)) return FALSE;
    const HMODULE module = ::GetModuleHandleW(nullptr);
    for (int state : {0, 1, 2, 6}) {
        Gdiplus::Bitmap* raw = nullptr;
        if (imageNames == nullptr || !LoadSkinImage(&raw, module, imageNames[state])) continue;
        std::unique_ptr<Gdiplus::Bitmap> image(raw);
        CMemoryDC* face = m_stateDCs.Make(state, width, height);
        if (face == nullptr) continue;
        CopyOpaqueBackground(*face, background, x, y);
        OverlaySkin(*face, *image);
    }
    CommonSetUp(parent, background, x, y, width, height, TRUE);
    return m_hWnd != nullptr;
}

BOOL CLightButton::CreateFromDCs(CWnd* parent, HDC background, const HDC stateDCs[kStateCount], int x, int y,
                                 int width, int height, BOOL drawNow)
{
    if (!CreateButtonWindow(parent, x, y, width, height)) return FALSE;
    if (stateDCs != nullptr)
        for (int state = 0; state < kStateCount; ++state) m_stateDCs.Adopt(state, stateDCs[state]);
    CommonSetUp(parent, background, x, y, width, height, drawNow);
    return m_hWnd != nullptr;
}

void CLightButton::CommonSetUp(CWnd* parent, HDC background, int x, int y, int width, int height, BOOL drawNow)
{
    m_hNotifyWnd = parent->GetSafeHwnd();
    m_hBackgroundDC = background;
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;
    const Gdiplus::RectF area(0, 0, static_cast<float>(width), static_cast<float>(height));
    m_tracker.SetAreas(m_hWnd, width, height, &area, 1);
    m_stateDCs.FillEmpty();
    m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
    m_backBuffer.Resize(width, height);
    if (drawNow) Refresh(FALSE, 0);
    m_bCreated = TRUE;
}

int CLightButton::GetState() const
{
    if (!m_bEnabled) return Disabled;
    return m_nHoverState + (m_bChecked ? 3 : 0);
}

Gdiplus::Bitmap* CLightButton::MarkImageFor(int state) const
{
    const int index = m_markImageIndex[state];
    return index >= 0 && index < 3 ? m_markImages[index].get() : nullptr;
}

void CLightButton::SetCheck(BOOL checked)
{
    if (!checked == !m_bChecked) return;
    m_bChecked = checked ? TRUE : FALSE;
    if (m_bCreated) Refresh(TRUE, 0);
}

void CLightButton::SetText(const wchar_t* caption, int left, int top, int right, int bottom, HDC dc)
{
    ::wcsncpy(m_szCaption, caption ? caption : L"", kCaptionChars - 1);
    m_szCaption[kCaptionChars - 1] = L'\0';
    m_captionRect = {left, top, right, bottom};
    m_nCaptionAlignment = 4;
    std::copy(std::begin(kCaptionStyles), std::end(kCaptionStyles), m_textStyle);
    m_bCaption = TRUE;
    if (dc) {
        Gdiplus::Graphics graphics(dc);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        graphics.SetTextContrast(0);
        DrawTextOnDC(&graphics, left, top, right - left, bottom - top, m_szCaption, m_nCaptionAlignment,
                     m_textStyle[0]);
    }
    if (m_bCreated) Refresh(FALSE, 0);
}

size_t CLightButton::SameFaceAs(size_t index) const
{
    for (size_t earlier = 0; earlier < index; ++earlier) {
        if (kTextFaceStyles[earlier] == kTextFaceStyles[index] &&
            m_frameDCs[kTextFaceStates[earlier]] == m_frameDCs[kTextFaceStates[index]]) {
            return earlier;
        }
    }
    return index;
}

void CLightButton::SetTextStyle(const wchar_t* caption, int left, int top, int right, int bottom)
{
    ::wcsncpy(m_szCaption, caption ? caption : L"", kCaptionChars - 1);
    m_szCaption[kCaptionChars - 1] = L'\0';
    m_captionRect = {left, top, right, bottom};
    const Gdiplus::RectF rect(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right - left),
                              static_cast<float>(bottom - top));
    bool made = false;
    for (size_t i = 0; i < sizeof(kTextFaceStates) / sizeof(kTextFaceStates[0]); ++i) {
        const int state = kTextFaceStates[i];
        if (!m_textFaceDCs.Empty(state)) continue;
        // Same frame and style as an earlier state: the same pixels, drawn once.
        const size_t same = SameFaceAs(i);
        if (same != i) {
            m_textFaceDCs.Borrow(state, kTextFaceStates[same]);
            if (!m_textFaceDCs.Empty(state)) continue;
        }
        CMemoryDC* face = m_textFaceDCs.Make(state, m_nWidth, m_nHeight);
        if (face == nullptr) continue;
        CopyOpaqueBackground(*face, m_hBackgroundDC, m_nX, m_nY);
        AlphaBlendWhole(*face, m_frameDCs[state], m_nWidth, m_nHeight, 255, true);
        Gdiplus::Graphics graphics(face->GetSafeHdc());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        graphics.SetTextContrast(0);
        DrawFace(&graphics, rect, m_szCaption, m_nCaptionAlignment, kTextFaceStyles[i], TRUE, nullptr);
        made = true;
    }
    if (made) {
        m_bFacesRendered = TRUE;
        m_textFaceDCs.FillEmpty();
    }
}

void CLightButton::LoadFrameImages()
{
    if (m_frameDCs.Any()) return;
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const struct {
        int state;
        const wchar_t* name;
    } frames[] = {{0, L"BTN_FRAME_NORMAL"}, {6, L"BTN_FRAME_DISABLE"}};
    for (const auto& frame : frames) {
        HDC dc = nullptr;
        if (LoadSkinImageToDC(module, frame.name, &dc, nullptr, nullptr)) m_frameDCs.Adopt(frame.state, dc);
    }
    m_frameDCs.FillEmpty();
    Refresh(FALSE, 0);
}

void CLightButton::StopFadeTimer()
{
    if (m_bFading && m_hWnd) ::KillTimer(m_hWnd, kFadeTimerId);
}

void CLightButton::Refresh(BOOL fade, int fadeStep)
{
    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    const int state = GetState();
    Gdiplus::Bitmap* mark = m_bShowMark ? MarkImageFor(state) : nullptr;
    const bool content = mark != nullptr || m_bCaption;

    StopFadeTimer();
    const bool fading = m_bFadeEnabled && fade && m_hWnd && ::IsWindowVisible(m_hWnd);
    const int step = fadeStep != 0 ? fadeStep : (m_bFading ? 1 : 0);

    if (!m_composedFace.GetSafeHdc()) m_composedFace.Resize(m_nWidth, m_nHeight);
    if (fading) {
        if (!m_oldFace.GetSafeHdc()) m_oldFace.Resize(m_nWidth, m_nHeight);
        if (!m_newFace.GetSafeHdc()) m_newFace.Resize(m_nWidth, m_nHeight);
        ::BitBlt(m_oldFace, 0, 0, m_nWidth, m_nHeight, m_composedFace, 0, 0, SRCCOPY);
    } else {
        m_oldFace.Resize(0, 0);
        m_newFace.Resize(0, 0);
        m_bFading = FALSE;
    }

    CMemoryDC& target = fading ? m_newFace : m_composedFace;
    if (!target.GetSafeHdc()) return;
    if (m_bFacesRendered && m_textFaceDCs[state]) {
        ::BitBlt(target, 0, 0, m_nWidth, m_nHeight, m_textFaceDCs[state], 0, 0, SRCCOPY);
        AlphaBlendWhole(target, m_frameDCs[state], m_nWidth, m_nHeight, 255, true);
    } else {
        if (m_hBackgroundDC) ::BitBlt(target, 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, SRCCOPY);
        AlphaBlendWhole(target, m_stateDCs[state], m_nWidth, m_nHeight, 255, true);
    }

    if (content) {
        Gdiplus::Graphics graphics(target.GetSafeHdc());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        graphics.SetTextContrast(0);
        if (m_bCaption)
            DrawTextOnDC(&graphics, m_captionRect.left, m_captionRect.top, m_captionRect.right - m_captionRect.left,
                         m_captionRect.bottom - m_captionRect.top, m_szCaption, m_nCaptionAlignment,
                         m_textStyle[state]);
        if (mark) graphics.DrawImage(mark, m_markRect);
    }

    if (fading) {
        m_bFading = TRUE;
        BlendFaces(step);
        m_nFadeStep = step + 1;
        if (::SetTimer(m_hWnd, kFadeTimerId, kFadeTimerMs, nullptr) == 0) {
            // No timer, no fade: show the new face at once.
            ::BitBlt(m_composedFace, 0, 0, m_nWidth, m_nHeight, m_newFace, 0, 0, SRCCOPY);
            m_bFading = FALSE;
        }
    }
    Present();
}

void CLightButton::BlendFaces(int step)
{
    ::BitBlt(m_composedFace, 0, 0, m_nWidth, m_nHeight, m_oldFace, 0, 0, SRCCOPY);
    if (step != 0)
        AlphaBlendWhole(m_composedFace, m_newFace, m_nWidth, m_nHeight, static_cast<BYTE>(step * 255 / kFadeSteps),
                        false);
}

void CLightButton::OnTimer()
{
    if (!m_bFading) {
        ::KillTimer(m_hWnd, kFadeTimerId);
        return;
    }
    if (m_nFadeStep != kFadeSteps) {
        BlendFaces(m_nFadeStep);
        ++m_nFadeStep;
    } else {
        ::KillTimer(m_hWnd, kFadeTimerId);
        m_bFading = FALSE;
        ::BitBlt(m_composedFace, 0, 0, m_nWidth, m_nHeight, m_newFace, 0, 0, SRCCOPY);
        m_oldFace.Resize(0, 0);
        m_newFace.Resize(0, 0);
    }
    Present();
}

void CLightButton::Present()
{
    if (!m_backBuffer.GetSafeHdc() || !m_composedFace.GetSafeHdc()) return;
    ::BitBlt(m_backBuffer, 0, 0, m_nWidth, m_nHeight, m_composedFace, 0, 0, SRCCOPY);
    if (m_windowDC && m_windowDC->Get())
        ::BitBlt(m_windowDC->Get(), 0, 0, m_nWidth, m_nHeight, m_backBuffer, 0, 0, SRCCOPY);
}

void CLightButton::DrawFaceAt(HDC target, int y)
{
    if (!m_composedFace.GetSafeHdc()) m_composedFace.Resize(m_nWidth, m_nHeight);
    if (!m_composedFace.GetSafeHdc()) return;
    if (m_hBackgroundDC) ::BitBlt(m_composedFace, 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, SRCCOPY);
    AlphaBlendWhole(m_composedFace, m_stateDCs[GetState()], m_nWidth, m_nHeight, 255, true);
    if (target) ::BitBlt(target, m_nX, y, m_nWidth, m_nHeight, m_composedFace, 0, 0, SRCCOPY);
}

void CLightButton::SetHoverState(int hoverState)
{
    if (hoverState == m_nHoverState) return;
    m_nHoverState = hoverState;
    Refresh(TRUE, 1);
}

void CLightButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    int oldIndex = -1, newIndex = -1;
    if (!m_tracker.OnMouseMove(lParam, &oldIndex, &newIndex)) return;
    int hover = 0;
    if (newIndex == ButtonArea() && newIndex >= 0) hover = (wParam & MK_LBUTTON) ? 2 : 1;
    SetHoverState(hover);
}

void CLightButton::OnLButtonDown(LPARAM lParam)
{
    const int pressed = m_tracker.OnLButtonDown(lParam);
    if (pressed >= 0 && pressed == ButtonArea()) {
        m_nHoverState = 2;
        Refresh(TRUE, 1);
    }
}

void CLightButton::OnLButtonUp()
{
    const int pressed = m_tracker.GetPressed();
    const int hovered = m_tracker.GetHovered();
    if (pressed == hovered) m_tracker.SetPressed(-1);
    OnClick(pressed, hovered);
}

void CLightButton::OnClick(int pressedArea, int hoveredArea)
{
    if (hoveredArea >= 0 && hoveredArea == ButtonArea()) m_nHoverState = 1;
    const bool click = pressedArea == hoveredArea && pressedArea != -1 && m_nButtonId != 0;
    if (m_bPostBeforeRefresh) Refresh(TRUE, 1);
    if (click)
        ::PostMessageW(m_hNotifyWnd, WM_LIGHTBUTTON_CLICK_MESSAGE, m_nButtonId, static_cast<LPARAM>(pressedArea));
}

void CLightButton::OnMouseLeave()
{
    int oldIndex = -1, newIndex = -1;
    const BOOL wasHovered = m_tracker.OnMouseLeave(&oldIndex, &newIndex);
    // A press does not survive leaving the button: a release after coming
    // back must not count as a click.
    m_tracker.SetPressed(-1);
    if (wasHovered) SetHoverState(0);
}

LRESULT CLightButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(lParam);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp();
        break;
    case WM_LBUTTONDBLCLK:
        // The second click is reported by its button-up like a single click.
        m_tracker.OnLButtonDown(lParam);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case WM_TIMER:
        if (wParam == kFadeTimerId) OnTimer();
        break;
    case WM_PAINT:
        PaintFromBackBuffer(m_hWnd, m_backBuffer.GetSafeHdc());
        return 0;
    case WM_DESTROY:
        StopFadeTimer();
        m_bFading = FALSE;
        m_windowDC.reset();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CLightButton::Destroy()
{
    StopFadeTimer();
    m_stateDCs.Clear();
    m_textFaceDCs.Clear();
    m_frameDCs.Clear();
    m_oldFace.Resize(0, 0);
    m_newFace.Resize(0, 0);
    m_composedFace.Resize(0, 0);
    m_backBuffer.Resize(0, 0);
    m_windowDC.reset();
    m_bEnabled = TRUE;
    m_bFadeEnabled = TRUE;
    m_bPostBeforeRefresh = TRUE;
    m_bCreated = FALSE;
    m_bFading = FALSE;
    m_bFacesRendered = FALSE;
    m_nHoverState = 0;
    m_bChecked = FALSE;
    m_tracker.Release(TRUE);
    if (m_hWnd) DestroyWindow();
}
