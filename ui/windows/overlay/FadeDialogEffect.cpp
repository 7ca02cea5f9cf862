#include "ui/windows/overlay/FadeDialogEffect.h"

#include <algorithm>

namespace {

constexpr float kFadeDurationMs = 250.0f;
constexpr float kFadeInStartFraction = 0.11111111f;
constexpr float kFadeOutStartFraction = 0.8888889f;

void SetLayeredStyle(HWND window, bool layered)
{
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    LONG_PTR updated = layered ? (exStyle | WS_EX_LAYERED) : (exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (updated != exStyle) SetWindowLongPtrW(window, GWL_EXSTYLE, updated);
}

}  // namespace

int CFadeDialogEffect::FadeInAlphaAt(uint64_t elapsedMs)
{
    const float t = static_cast<float>(elapsedMs);
    const float value = std::min(255.0f, (t / kFadeDurationMs + kFadeInStartFraction) * 255.0f + 0.5f);
    return static_cast<int>(value);
}

int CFadeDialogEffect::FadeOutAlphaAt(uint64_t elapsedMs)
{
    const float t = static_cast<float>(elapsedMs);
    const float value = std::max(0.0f, (kFadeOutStartFraction - t / kFadeDurationMs) * 255.0f + 0.5f);
    return static_cast<int>(value);
}

void CFadeDialogEffect::Begin(HWND window, UINT endMessage, BYTE startAlpha, Phase phase)
{
    m_phase = phase;
    m_nEndMessage = endMessage;
    m_hFadeWnd = window;
    EnableWindow(window, FALSE);
    SetLayeredStyle(window, true);
    m_ullStartTick = GetTickCount64();
    m_nAlpha = startAlpha;
    SetAlpha(startAlpha);
}

void CFadeDialogEffect::StartFadeIn(HWND window)
{
    Begin(window, 0, kFadeInStartAlpha, Phase::FadingIn);
    SetTimer(window, IDT_FADE_IN, kFadeTimerMs, nullptr);
}

void CFadeDialogEffect::StartFadeOut(HWND window, UINT endMessage)
{
    // A fade-in still running would keep raising the alpha against this fade.
    if (m_phase == Phase::FadingIn) KillTimer(m_hFadeWnd, IDT_FADE_IN);
    Begin(window, endMessage, kFadeOutStartAlpha, Phase::FadingOut);
    SetTimer(window, IDT_FADE_OUT, kFadeTimerMs, nullptr);
}

uint64_t CFadeDialogEffect::ElapsedMs() const
{
    return GetTickCount64() - m_ullStartTick;
}

void CFadeDialogEffect::OnFadeInTimer()
{
    FadeInStep(ElapsedMs());
}

void CFadeDialogEffect::OnFadeOutTimer()
{
    FadeOutStep(ElapsedMs());
}

void CFadeDialogEffect::FadeInStep(uint64_t elapsedMs)
{
    if (m_phase != Phase::FadingIn) return;
    const int alpha = FadeInAlphaAt(elapsedMs);
    if (alpha != 255) {
        if (alpha != m_nAlpha) {
            m_nAlpha = alpha;
            SetAlpha(static_cast<BYTE>(alpha));
        }
        return;
    }
    m_phase = Phase::Idle;
    KillTimer(m_hFadeWnd, IDT_FADE_IN);
    // Opaque without a layer from here on.
    SetLayeredStyle(m_hFadeWnd, false);
    EnableWindow(m_hFadeWnd, TRUE);
}

void CFadeDialogEffect::FadeOutStep(uint64_t elapsedMs)
{
    if (m_phase != Phase::FadingOut) return;
    const int alpha = FadeOutAlphaAt(elapsedMs);
    if (alpha == 0) {
        // Alpha 0 is not set: the window stays at its last alpha, disabled,
        // until the end message destroys it.
        m_phase = Phase::Idle;
        KillTimer(m_hFadeWnd, IDT_FADE_OUT);
        PostMessageW(m_hFadeWnd, m_nEndMessage, 0, 0);
        return;
    }
    if (alpha != m_nAlpha) {
        m_nAlpha = alpha;
        SetAlpha(static_cast<BYTE>(alpha));
    }
}

void CFadeDialogEffect::SetAlpha(BYTE alpha)
{
    SetLayeredWindowAttributes(m_hFadeWnd, 0, alpha, LWA_ALPHA);
}
