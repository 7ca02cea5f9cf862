// The window fade: its alphas as a table, and the fades on a real top-level
// window whose WM_TIMER goes to the fade as the main dialog routes it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Wnd.h"
#include "tests/support/MessagePump.h"
#include "ui/windows/overlay/FadeDialogEffect.h"

namespace {

using testsupport::Pump;
using testsupport::PumpUntil;

constexpr UINT kEndMessage = WM_APP + 7;

TEST(FadeAlphas, FollowTheElapsedTime)
{
    struct Case {
        uint64_t elapsedMs;
        int fadeIn;
        int fadeOut;
    } cases[] = {
        {0, 28, 227},   {1, 29, 226},    {16, 45, 210},   {100, 130, 125}, {125, 156, 99},
        {221, 254, 1},  {222, 255, 0},   {250, 255, 0},   {100000, 255, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CFadeDialogEffect::FadeInAlphaAt(c.elapsedMs), c.fadeIn) << c.elapsedMs << " ms";
        EXPECT_EQ(CFadeDialogEffect::FadeOutAlphaAt(c.elapsedMs), c.fadeOut) << c.elapsedMs << " ms";
    }
}

// A top-level window that hands its fade timers to the fade and notes the
// timer ticks and end messages it receives.
class FadedWindow : public CWnd, public CFadeDialogEffect {
public:
    bool Create()
    {
        LPCWSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return CreateEx(0, cls, L"fade", WS_POPUP | WS_VISIBLE, 60, 60, 200, 120, nullptr, nullptr) != FALSE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == IDT_FADE_IN) {
            ++fadeInTicks;
            OnFadeInTimer();
            alphas.push_back(LayeredAlpha());
            return 0;
        }
        if (message == WM_TIMER && wParam == IDT_FADE_OUT) {
            ++fadeOutTicks;
            OnFadeOutTimer();
            alphas.push_back(LayeredAlpha());
            return 0;
        }
        if (message == kEndMessage) ++endMessages;
        return CWnd::WindowProc(message, wParam, lParam);
    }

    bool Layered() const { return (GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
    int LayeredAlpha() const
    {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!Layered() || !GetLayeredWindowAttributes(m_hWnd, nullptr, &alpha, &flags)) return -1;
        return (flags & LWA_ALPHA) ? alpha : -1;
    }
    // Whether the timer was still set (it is gone afterwards either way).
    bool TimerWasRunning(UINT_PTR id) { return KillTimer(m_hWnd, id) != FALSE; }

    int fadeInTicks = 0;
    int fadeOutTicks = 0;
    int endMessages = 0;
    std::vector<int> alphas;
};

constexpr DWORD kFadeLimitMs = 5000;


class FadeWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.Create());
        Pump(0);
        // The probe that the timer checks rely on: no timer, nothing killed.
        ASSERT_FALSE(window.TimerWasRunning(99));
    }

    FadedWindow window;
};

TEST_F(FadeWindowTest, FadeInStartsDisabledAtOneNinthAndEndsEnabledWithoutLayer)
{
    window.StartFadeIn(window);
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_EQ(window.LayeredAlpha(), 28);
    EXPECT_EQ(window.EndMessage(), 0u);

    ASSERT_TRUE(PumpUntil([&] { return !window.IsFading(); }, kFadeLimitMs));
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_FALSE(window.Layered());
    EXPECT_FALSE(window.TimerWasRunning(CFadeDialogEffect::IDT_FADE_IN));
    ASSERT_GE(window.fadeInTicks, 1);
    // Rising alphas while layered; the last tick removed the layer.
    for (size_t i = 0; i + 1 < window.alphas.size(); ++i) {
        EXPECT_GE(window.alphas[i], 28);
        if (i > 0) {
            EXPECT_GE(window.alphas[i], window.alphas[i - 1]);
        }
    }
    EXPECT_EQ(window.alphas.back(), -1);
}

TEST_F(FadeWindowTest, StepsSetOnlyChangedAlphasAndAStallEndsAtOnce)
{
    window.StartFadeIn(window);
    window.FadeInStep(100);
    EXPECT_EQ(window.LayeredAlpha(), 130);
    EXPECT_EQ(window.Alpha(), 130);

    // A tick with the alpha already set calls nothing: the marker stays.
    ASSERT_TRUE(SetLayeredWindowAttributes(window, 0, 5, LWA_ALPHA));
    window.FadeInStep(100);
    EXPECT_EQ(window.LayeredAlpha(), 5);

    window.FadeInStep(5000);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_FALSE(window.Layered());
    EXPECT_FALSE(window.TimerWasRunning(CFadeDialogEffect::IDT_FADE_IN));
    // The fade-in's end message is 0: nothing was posted.
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) EXPECT_NE(msg.message, 0u);

    window.StartFadeOut(window, kEndMessage);
    EXPECT_EQ(window.LayeredAlpha(), 226);
    window.FadeOutStep(100);
    EXPECT_EQ(window.LayeredAlpha(), 125);
    window.FadeOutStep(5000);
    // Alpha 0 is never set: the window stays at its last alpha, disabled.
    EXPECT_EQ(window.LayeredAlpha(), 125);
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_FALSE(window.TimerWasRunning(CFadeDialogEffect::IDT_FADE_OUT));
    Pump(0);
    EXPECT_EQ(window.endMessages, 1);
}

TEST_F(FadeWindowTest, FadeOutDuringFadeInStopsTheFadeIn)
{
    window.StartFadeIn(window);
    ASSERT_TRUE(PumpUntil([&] { return window.fadeInTicks >= 2; }, kFadeLimitMs));
    ASSERT_TRUE(window.IsFading());

    window.StartFadeOut(window, kEndMessage);
    const int fadeInTicks = window.fadeInTicks;
    window.alphas.clear();
    EXPECT_EQ(window.LayeredAlpha(), 226);

    // A fade-in tick already queued does nothing now.
    window.OnFadeInTimer();
    EXPECT_EQ(window.LayeredAlpha(), 226);
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_TRUE(window.Layered());

    ASSERT_TRUE(PumpUntil([&] { return window.endMessages > 0; }, kFadeLimitMs));
    EXPECT_EQ(window.fadeInTicks, fadeInTicks);
    EXPECT_FALSE(window.TimerWasRunning(CFadeDialogEffect::IDT_FADE_IN));
    EXPECT_FALSE(window.TimerWasRunning(CFadeDialogEffect::IDT_FADE_OUT));
    for (size_t i = 1; i < window.alphas.size(); ++i) EXPECT_LE(window.alphas[i], window.alphas[i - 1]);
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_TRUE(window.Layered());
    Pump(0);
    EXPECT_EQ(window.endMessages, 1);
}

}  // namespace
