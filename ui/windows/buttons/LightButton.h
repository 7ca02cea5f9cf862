#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <memory>

#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/buttons/MouseEventCtrl.h"
#include "ui/windows/shared/StateDcSet.h"

// The push button, tab button and on/off switch of the custom-drawn windows:
// shows one of eight pre-rendered faces, cross-fades between them on hover
// and press, and posts the "Light Button Click Message" to its parent with
// the button id and the hit-area index.
class CLightButton : public CWnd {
public:
    static constexpr int kStateCount = StateDcSet::kCount;
    static constexpr UINT_PTR kFadeTimerId = 1;
    static constexpr UINT kFadeTimerMs = 30;
    static constexpr int kFadeSteps = 4;
    static constexpr int kCaptionChars = 260;

    // Face states.
    enum State { Normal, Hover, Pressed, CheckedNormal, CheckedHover, CheckedPressed, Disabled, Spare };

    CLightButton() = default;
    ~CLightButton() override;

    // Images of the states 0, 1, 2 and 6 (the others are ignored), each
    // drawn stretched to width x height over the parent background.
    BOOL CreateFromImages(CWnd* parent, HDC background, const wchar_t* const imageNames[kStateCount], int x, int y,
                          int width, int height);
    // State DCs prepared by the caller (null for none), each a memory DC that
    // owns its bitmap (CreateMemoryDCBitmap); the button owns them from here on.
    BOOL CreateFromDCs(CWnd* parent, HDC background, const HDC stateDCs[kStateCount], int x, int y, int width,
                       int height, BOOL drawNow);

    void SetCheck(BOOL checked);
    BOOL GetCheck() const { return m_bChecked; }
    void SetText(const wchar_t* caption, int left, int top, int right, int bottom, HDC dc = nullptr);
    void SetTextStyle(const wchar_t* caption, int left, int top, int right, int bottom);
    void LoadFrameImages();
    void Destroy();
    // fadeStep 0 continues a running fade (or starts at 0 without one).
    void Refresh(BOOL fade, int fadeStep);
    void DrawFaceAt(HDC target, int y);

    // The caption with an optional red halo behind it; clip limits the halo's
    // fills and blur (null: no limit).
    static void DrawFace(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* caption,
                         int alignment, int styleId, BOOL halo, const Gdiplus::RectF* clip);

    int GetState() const;
    int GetHoverState() const { return m_nHoverState; }
    BOOL IsFading() const { return m_bFading; }
    HDC GetBackBuffer() const { return m_backBuffer.GetSafeHdc(); }
    const CMouseEventCtrl& GetTracker() const { return m_tracker; }

    // Set by the owner after creation: 0 posts nothing.
    UINT m_nButtonId = 0;
    // 1: refresh the face, then post; 0: post only (tab buttons).
    BOOL m_bPostBeforeRefresh = TRUE;
    // The mark (the applied profile's tab); the owner fills these directly.
    Gdiplus::RectF m_markRect;
    std::shared_ptr<Gdiplus::Bitmap> m_markImages[3];
    int m_markImageIndex[kStateCount] = {-1, -1, -1, -1, -1, -1, -1, -1};
    BOOL m_bShowMark = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The first text face whose state has the same frame and style (index into the face tables).
    size_t SameFaceAs(size_t index) const;
    BOOL CreateButtonWindow(CWnd* parent, int x, int y, int width, int height);
    void CommonSetUp(CWnd* parent, HDC background, int x, int y, int width, int height, BOOL drawNow);
    Gdiplus::Bitmap* MarkImageFor(int state) const;
    void OnClick(int pressedArea, int hoveredArea);
    void OnTimer();
    void Present();
    void BlendFaces(int step);
    void StopFadeTimer();
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(LPARAM lParam);
    void OnLButtonUp();
    void OnMouseLeave();
    int ButtonArea() const { return m_tracker.GetAreaCount() - 1; }
    void SetHoverState(int hoverState);

    StateDcSet m_stateDCs;
    int m_nX = 0, m_nY = 0, m_nWidth = 0, m_nHeight = 0;
    CMouseEventCtrl m_tracker;
    HWND m_hNotifyWnd = nullptr;
    int m_nHoverState = 0;
    HDC m_hBackgroundDC = nullptr;  // the parent's, not owned
    std::unique_ptr<platform::WindowDc> m_windowDC;
    CMemoryDC m_backBuffer;
    BOOL m_bChecked = FALSE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bCreated = FALSE;
    BOOL m_bFadeEnabled = TRUE;

    BOOL m_bCaption = FALSE;
    RECT m_captionRect = {};
    wchar_t m_szCaption[kCaptionChars] = {};
    int m_nCaptionAlignment = 4;
    int m_textStyle[kStateCount] = {};

    BOOL m_bFacesRendered = FALSE;
    StateDcSet m_textFaceDCs;
    StateDcSet m_frameDCs;

    CMemoryDC m_oldFace, m_newFace, m_composedFace;
    BOOL m_bFading = FALSE;
    int m_nFadeStep = 0;
};
