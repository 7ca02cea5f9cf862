#pragma once
#include <windows.h>

#include <cstdint>

// Fades a top-level window in when it opens and out when it closes through
// the constant alpha of a layered window. The owner routes WM_TIMER
// IDT_FADE_IN and IDT_FADE_OUT to the timer handlers; while a fade runs the
// window is disabled. Without a compositing window manager (Wine on a bare
// X server) the alphas show as an opaque window: the fade-out therefore never
// relies on alpha 0 to hide the window, its end message ends it.
class CFadeDialogEffect {
public:
    static constexpr UINT_PTR IDT_FADE_IN = 67;
    static constexpr UINT_PTR IDT_FADE_OUT = 66;
    static constexpr UINT kFadeTimerMs = 16;
    static constexpr BYTE kFadeInStartAlpha = 28;
    static constexpr BYTE kFadeOutStartAlpha = 226;

    CFadeDialogEffect() = default;
    virtual ~CFadeDialogEffect() = default;
    CFadeDialogEffect(const CFadeDialogEffect&) = delete;
    CFadeDialogEffect& operator=(const CFadeDialogEffect&) = delete;

    void StartFadeIn(HWND window);
    // Stops a fade-in still running, so only the fade-out's timer drives the
    // window; endMessage is posted to the window when it reaches alpha 0.
    void StartFadeOut(HWND window, UINT endMessage);

    void OnFadeInTimer();
    void OnFadeOutTimer();
    // The same steps at a given time since the fade started.
    void FadeInStep(uint64_t elapsedMs);
    void FadeOutStep(uint64_t elapsedMs);

    void SetAlpha(BYTE alpha);

    // Alpha of each fade at a time since its start: 28 to 255 and 226 to 0
    // over about 222 ms.
    static int FadeInAlphaAt(uint64_t elapsedMs);
    static int FadeOutAlphaAt(uint64_t elapsedMs);

    int Alpha() const { return m_nAlpha; }
    UINT EndMessage() const { return m_nEndMessage; }
    bool IsFading() const { return m_phase != Phase::Idle; }
    bool IsFadingOut() const { return m_phase == Phase::FadingOut; }

private:
    // A step of a fade that is no longer running (a tick already queued
    // when its timer was killed) does nothing.
    enum class Phase { Idle, FadingIn, FadingOut };

    void Begin(HWND window, UINT endMessage, BYTE startAlpha, Phase phase);
    uint64_t ElapsedMs() const;

    UINT m_nEndMessage = 0;
    HWND m_hFadeWnd = nullptr;
    int m_nAlpha = 0;
    uint64_t m_ullStartTick = 0;
    Phase m_phase = Phase::Idle;
};
