#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/windows/shared/D2DClientRegistration.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

// The overlay over the whole main window while Apply runs: a blurred,
// darkened snapshot of the window fades in, and a spinner with a progress
// image and the percentage turns in the middle. The owner writes m_nPercent
// and closes the overlay after 100; a new progress image is decoded in the
// frame that first shows it. Everything is composed in a back buffer and
// copied to the window; the snapshot, blur, frames, DCs and the Direct2D
// client are released once, by Close or when the window or object goes.
class CProgressWnd : public CWnd {
public:
    static constexpr UINT_PTR IDT_BACKDROP = 1;
    static constexpr UINT_PTR IDT_SPINNER = 2;
    static constexpr UINT kBackdropTimerMs = 30;
    static constexpr UINT kSpinnerTimerMs = 16;

    static constexpr int kBackdropSteps = 5;
    static constexpr int kBlurAlphaPerStep = 51;
    static constexpr int kDarkenAlphaMax = 128;

    static constexpr int kFrameCount = 138;
    static constexpr int kLoopFirstFrame = 47;
    static constexpr int kLoopFrameCount = 91;
    static constexpr uint64_t kFrameDelayMs = 50;
    static constexpr float kFrameMs = 42.0f;
    // Before any progress the number waits for this frame.
    static constexpr int kFirstTextFrame = 40;
    static constexpr int kLastProgressImage = 96;

    static constexpr float kSpinnerSide = 183.0f;
    static constexpr float kSpinnerSideLarge = 182.5f;  // resolution class 2 and above
    static constexpr int kTextShift = 2;
    static constexpr int kTextShiftLarge = 3;
    static constexpr int kTextAlignmentCentre = 4;
    static constexpr int kTextStyleLeft = 44;
    static constexpr int kTextStyleRight = 45;
    static constexpr int kTextStyleFront = 46;

    static constexpr size_t kTextChars = 260;

    CProgressWnd() = default;
    ~CProgressWnd() override;

    // Builds the overlay at (0, 0, width, height) of the parent and shows
    // it; FALSE while it is already active or when it could not be built.
    BOOL Create(CWnd* parent, int width, int height);
    // Releases everything and destroys the window; nothing when not active.
    void Close();

    // Progress 0..100, written by the owner; read at each spinner frame.
    int m_nPercent = 0;

    bool IsActive() const { return m_bActive; }
    bool IsBackdropRunning() const { return m_bBackdropRunning; }
    int BackdropStep() const { return m_nBackdropStep; }
    int LastFrame() const { return m_nLastFrame; }
    // "PROGRESS%02d" of the progress image last asked for (loaded or
    // missing), empty before the first.
    const wchar_t* LoadedProgressImage() const { return m_szProgressImage; }
    bool HasProgressImage() const { return m_progressImage.dc.IsValid(); }
    bool HoldsSnapshot() const { return m_snapshot.IsValid() || m_blurred.IsValid(); }
    HDC BackBuffer() const { return m_backBuffer.Get(); }
    RECT SpinnerSquare() const;

    // The spinner frame at a time since the frames were loaded: -1 during
    // the first 50 ms, then one pass over all frames and loops over 47..137.
    static int FrameAt(uint64_t elapsedMs);
    // The spinner square's side for a resolution class and UI scale.
    static int SpinnerSideFor(int resolutionClass, float uiScale);
    // "%02d" of percent, its digits replaced by the ten native digits when
    // given (an empty or short digit string keeps the plain ones).
    static void FormatPercent(int percent, const wchar_t* nativeDigits, wchar_t* text, size_t capacity);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CaptureBackdrop();
    void DrawBackdrop(bool first);
    // Loads the frames and starts the spinner timer when load is set, else
    // draws the frame due now; true when the back buffer changed.
    bool DrawFrame(bool load, bool fromFrameTimer);
    void LoadFrames();
    void BlendIntoSpinner(HDC image, int width, int height);
    // Loads the progress image for the percentage unless it was the last asked for.
    void LoadDueProgressImage();
    void DrawPercentText();
    void ReadNativeDigits();
    void Present(int x, int y, int width, int height);
    void OnTimer(UINT_PTR id);
    void ReleaseResources();

    struct Image {
        UniqueMemoryDc dc;
        int width = 0;
        int height = 0;
    };

    std::unique_ptr<platform::WindowDc> m_windowDc;
    UniqueMemoryDc m_backBuffer;
    int m_nWidth = 0, m_nHeight = 0;  // at (0, 0) of the parent
    wchar_t m_szNativeDigits[kTextChars] = {};
    bool m_bActive = false;
    bool m_bBackdropRunning = false;
    int m_nBackdropStep = 0;
    UniqueMemoryDc m_snapshot;
    UniqueMemoryDc m_blurred;
    std::array<Image, kFrameCount> m_frames;
    UniqueMemoryDc m_spinnerBackground;
    Image m_progressImage;
    wchar_t m_szProgressImage[kTextChars] = {};
    int m_nSpinnerX = 0, m_nSpinnerY = 0, m_nSpinnerSide = 0;
    uint64_t m_ullFrameStartTick = 0;
    int m_nLastFrame = -1;
    D2DClientRegistration m_d2dClient;
};
