#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/buttons/MouseEventCtrl.h"
#include "ui/windows/selector/SelectorGeometry.h"
#include "ui/windows/selector/SentLevels.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

// The main window's backlight-level slider: a track filled left of the pin,
// four levels, and the percentage above. It starts the level watcher with
// its own window, follows the levels the watcher posts, and sets the level
// through the hotkey service when the user drags the pin or clicks beside it.
// A level sent comes back later through the watcher; until it does, reports
// of other levels are the service catching up and leave the pin alone.
// Drawn into a back buffer over a copy of the parent's background and
// copied to the window; the pin cross-fades between its faces on a timer
// that stops when the fade ends.
class CSelectorWnd : public CWnd {
public:
    static constexpr UINT_PTR kPinTimerId = 1;
    static constexpr UINT kPinTimerMs = 35;
    static constexpr ULONGLONG kPinFadeMs = 350;
    static constexpr int kPinFadeFirstProgress = 25;
    // Ends the wait for a sent level's report: a service that never answers
    // must not keep the selector from following the keyboard.
    static constexpr UINT_PTR kEchoTimerId = 2;
    static constexpr UINT kEchoWaitMs = 3000;
    // A fade step is drawn only once the alpha has moved this much further.
    static constexpr int kPinRedrawStep = 15;
    static constexpr int kTextAlignment = 8;  // bottom right
    static constexpr int kTextStyle = 42;
    static constexpr size_t kTextChars = 16;
    // Language whose percentage is written in the locale's native digits.
    static constexpr int kLangIndexNativeDigits = 4;
    static constexpr wchar_t kArabicPercentSign = 0x066A;

    enum PinState { PinNormal = 0, PinHover = 1, PinPressed = 2 };
    enum BlitMode { BlitWindow = 0, BlitPin = 1, BlitPinSpan = 2 };
    // Relative moves of SetLevel.
    enum LevelStep { StepDown = 0, StepUp = 1, StepUpWrapping = 2 };

    CSelectorWnd() = default;
    ~CSelectorWnd() override;

    // The window at (x, y, width, height) of the parent, its background
    // copied from background at (x, y), the track's top-left at (trackX,
    // trackY) of the window. FALSE when the window could not be created.
    BOOL Create(CWnd* parent, HDC background, int x, int y, int width, int height, int trackX, int trackY);
    // Stops the watcher, releases every DC and destroys the window.
    void Destroy();
    // True when the displayed level changed.
    bool SetLevel(bool absolute, int value);
    // Takes the level nearest the pin as the committed one and, unless
    // silent, sends a change on.
    void CommitLevel(bool silent);

    // "%d%%", or the Arabic percent sign and native digits for language 4
    // when the locale's digits are not the plain ones; digits shorter than
    // ten characters keep the plain text.
    static void FormatPercentText(int percent, int langIndex, const wchar_t* nativeDigits, wchar_t* text,
                                  size_t capacity);

    int DisplayedLevel() const { return m_nLevel; }
    int CommittedLevel() const { return m_nCommittedLevel; }
    int LastPercentage() const { return m_nLastPercent; }
    const wchar_t* LastText() const { return m_szText; }
    bool IsWatcherRunning() const { return m_bWatcherRunning; }
    bool IsDragging() const { return m_bDragging; }
    bool IsAnimating() const { return m_bAnimating; }
    int PinStateNow() const { return m_nPinState; }
    int PinX() const { return m_geometry.PinBaseX() + m_nLevelOffset + m_nDragOffset; }
    const SelectorGeometry& Geometry() const { return m_geometry; }
    const CMouseEventCtrl& GetTracker() const { return m_tracker; }
    HDC BackBuffer() const { return m_backBuffer.GetSafeHdc(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Image {
        UniqueMemoryDc dc;
        int width = 0;
        int height = 0;
    };

    void CreateBuffers();
    void LoadImages(int trackX, int trackY);
    void LayoutHitAreas();
    void DrawTrack();
    void DrawPinStatic();
    void DrawPinAnimated();
    void StartPinAnimation();
    void StepPinAnimation();
    // Puts the face over the back buffer at the pin with its glow.
    void BlendPinFace(HDC face, int glowAlpha);
    void BlitRegion(int mode);
    void RestorePinStrip();
    void RedrawPin();
    void SetPinState(int state);
    void StopPinTimer();
    HDC FaceOf(int state) const;
    static int GlowOf(int state) { return state == PinNormal ? 0 : 255; }
    void SendLevel(int level);
    void OnLevelReported(int level);
    void OnEchoWaitOver();
    void StopEchoWait();
    // Reads the keyboard's level and shows it.
    void ShowKeyboardLevel();
    void StartDrag(int anchorX, int dragOffset);

    void OnTimer(UINT_PTR id);
    void OnHover(int oldArea, int newArea, bool buttonHeld, POINT point);
    void OnPress(int area, POINT point);
    void OnDrag(POINT point);
    void OnDragEnd();
    void OnLevelClicked(int area, POINT point);

    CMouseEventCtrl m_tracker;
    HDC m_hBackgroundDC = nullptr;  // the parent's, not owned
    int m_nX = 0, m_nY = 0, m_nWidth = 0, m_nHeight = 0;

    std::unique_ptr<platform::WindowDc> m_windowDC;
    CMemoryDC m_backBuffer;
    CMemoryDC m_pinlessBuffer;
    Image m_trackEmpty, m_trackFilled;
    Image m_pinNormal, m_pinPressed, m_pinGlow;
    CMemoryDC m_fromFace, m_toFace, m_currentFace;

    bool m_bWatcherRunning = false;
    int m_nLevel = 1;
    int m_nCommittedLevel = 1;
    int m_nLastPercent = -1;
    wchar_t m_szText[kTextChars] = {};

    SelectorGeometry m_geometry;
    int m_nLevelOffset = 0;
    int m_nDragOffset = 0;
    int m_nPrevPinX = 0;

    bool m_bDragging = false;
    // The keyboard may stand elsewhere than the pin once the drag ends: the
    // watcher reported a level, or a send's wait ended, while the drag held it.
    bool m_bLevelChangedDuringDrag = false;
    SentLevels m_sentLevels;
    bool m_bClickPending = false;
    POINT m_pressPoint = {};
    int m_nDragStartX = 0;
    POINT m_lastPointer = {};

    int m_nPinState = PinNormal;
    int m_nSourceState = PinNormal;
    int m_nTargetState = PinNormal;
    bool m_bAnimating = false;
    int m_nProgress = 255;
    int m_nFromGlow = 0, m_nToGlow = 0, m_nGlow = 0;
    ULONGLONG m_ullAnimationStart = 0;

    bool m_bCreated = false;
};
