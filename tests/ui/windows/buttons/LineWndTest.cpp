#include <gtest/gtest.h>

#include "tests/support/Polling.h"
#include "tests/support/ScreenPixels.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/windows/buttons/LineWnd.h"

using namespace windowstest;

namespace {

constexpr uint32_t kBackground = 0x203040;
constexpr int kLineY = 20;
constexpr int kLineWidth = 500;
constexpr int kLineHeight = 5;
// Only keeps a broken build from hanging.
constexpr DWORD kWaitMs = testsupport::kPatienceMs;

TEST(GlidePosition, EasesOutQuinticallyBetweenItsEnds)
{
    const struct {
        int start, target;
        ULONGLONG elapsed;
        int expected;
    } cases[] = {
        {0, 100, 0, 0},    {0, 100, 1000, 100}, {0, 100, 5000, 100},
        {0, 100, 500, 97},  // 1 - 0.5^5 = 0.96875, then + 0.5 and cut
        {0, 100, 100, 41},  // 1 - 0.9^5 = 0.40951
        {100, 0, 500, 3},   {240, 40, 200, 106},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLineWnd::GlidePosition(c.start, c.target, c.elapsed, 1000), c.expected)
            << c.start << "->" << c.target << " at " << c.elapsed;
    int previous = 0;
    for (ULONGLONG t = 0; t <= 1000; t += 16) {
        const int x = CLineWnd::GlidePosition(0, 800, t, 1000);
        EXPECT_GE(x, previous);
        previous = x;
    }
}

// Centres handed over before the window exists are kept, and a glide asked
// for then starts no timer of the thread's own.
TEST(TabUnderlineBeforeCreate, MoveToStartsNoThreadTimer)
{
    EnsureUiEnvironment();
    CLineWnd line;
    const int centres[] = {100, 300};
    EXPECT_TRUE(line.MoveTo(1, centres, 2));
    EXPECT_FALSE(line.MoveTo(0, nullptr, 0));
    EXPECT_FALSE(line.IsGliding());
    EXPECT_EQ(line.GetTargetX(), 100);
    // A thread timer's ticks carry no window. The glide's would come every
    // 16 ms, so before the first tick of a slower one of the test's own:
    // timers come in the order they fall due.
    const UINT_PTR probe = ::SetTimer(nullptr, 0, 4 * CLineWnd::kGlideTimerMs, nullptr);
    ASSERT_NE(probe, 0u);
    bool threadTimer = false, probeTicked = false;
    const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
    while (!probeTicked && ::GetTickCount64() < deadline) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
        else if (msg.hwnd == nullptr && msg.wParam == probe)
            probeTicked = true;
        else if (msg.hwnd == nullptr)
            threadTimer = true;
    }
    EXPECT_TRUE(probeTicked);
    ::KillTimer(nullptr, probe);
    EXPECT_FALSE(threadTimer) << "a timer without a window ticks on the thread";
}

class TabUnderline : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureUiEnvironment();
        background = SolidBackground(kLineWidth, 100, kBackground);
        ASSERT_TRUE(line.Create(&host, background->GetSafeHdc(), 0, kLineY, kLineWidth, kLineHeight));
        ASSERT_GT(line.GetBarWidth(), 0) << "TAB_BAR did not load";
    }
    // Columns of the back buffer's middle row that the bar covers.
    std::vector<bool> BarColumns()
    {
        testsupport::Pixels pixels = PixelsOf(line.GetBackBuffer());
        std::vector<bool> covered(static_cast<size_t>(pixels.width), false);
        for (int x = 0; x < pixels.width; ++x) covered[x] = pixels.Rgb(x, 2) != kBackground;
        return covered;
    }
    void ExpectBarAt(int left)
    {
        std::vector<bool> covered = BarColumns();
        ASSERT_EQ(covered.size(), static_cast<size_t>(kLineWidth));
        const int mid = left + line.GetBarWidth() / 2;
        EXPECT_TRUE(covered[mid]) << "no bar at " << mid;
        for (int x = 0; x < kLineWidth; ++x) {
            const bool outside = x < left || x >= left + line.GetBarWidth();
            EXPECT_FALSE(outside && covered[x]) << "bar left at " << x;
        }
    }
    RecordingHost host{0, 0, kLineWidth, 100};
    std::unique_ptr<CMemoryDC> background;
    CLineWnd line;
};

TEST_F(TabUnderline, StoredCentresPutTheBarUnderTheTabAtOnce)
{
    ExpectBarAt(0);
    const int centres[] = {100, 300};
    EXPECT_TRUE(line.MoveTo(1, centres, 2));
    EXPECT_FALSE(line.IsGliding());
    EXPECT_EQ(line.GetCurrentX(), 300 - line.GetBarWidth() / 2);
    ExpectBarAt(line.GetCurrentX());
}

TEST_F(TabUnderline, GlidesToTheTabAndStopsItsTimer)
{
    const int centres[] = {100, 400};
    line.MoveTo(1, centres, 2);
    const int from = line.GetCurrentX();
    EXPECT_TRUE(line.MoveTo(0, nullptr, 0));
    const int target = 100 - line.GetBarWidth() / 2;
    EXPECT_EQ(line.GetTargetX(), target);
    EXPECT_TRUE(line.IsGliding());
    EXPECT_EQ(line.GetCurrentX(), from);

    // Every position the bar takes: it moves only when a tick is handled.
    std::vector<int> seen;
    ASSERT_TRUE(DispatchUntil(
        [&] {
            if (seen.empty() || seen.back() != line.GetCurrentX()) seen.push_back(line.GetCurrentX());
            return !line.IsGliding();
        },
        kWaitMs));
    EXPECT_EQ(line.GetCurrentX(), target);
    EXPECT_GT(seen.size(), 3u) << "the bar jumped instead of gliding";
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_LT(seen[i], seen[i - 1]);
    ExpectBarAt(target);
    EXPECT_FALSE(::KillTimer(line.GetSafeHwnd(), CLineWnd::kGlideTimerId)) << "timer still set after the glide";
}

TEST_F(TabUnderline, AnIndexBeyondTheCentresKeepsTheTarget)
{
    const int centres[] = {100, 300};
    line.MoveTo(0, centres, 2);
    const int x = line.GetCurrentX();
    EXPECT_TRUE(line.MoveTo(2, nullptr, 0));
    EXPECT_EQ(line.GetTargetX(), x);
    EXPECT_FALSE(line.IsGliding());
}

TEST_F(TabUnderline, ANewMoveDuringAGlideStartsFromWhereTheBarStands)
{
    const int centres[] = {60, 440};
    line.MoveTo(0, centres, 2);
    line.MoveTo(1, nullptr, 0);
    ASSERT_TRUE(PumpUntil([&] { return line.GetCurrentX() > 100; }, kWaitMs));
    const int midway = line.GetCurrentX();
    line.MoveTo(0, nullptr, 0);
    EXPECT_TRUE(line.IsGliding());
    EXPECT_EQ(line.GetCurrentX(), midway);
    ASSERT_TRUE(DispatchUntil([&] { return line.GetCurrentX() != midway || !line.IsGliding(); }, kWaitMs));
    EXPECT_LT(line.GetCurrentX(), midway) << "the second glide should head back from where the bar stood";
    ASSERT_TRUE(PumpUntil([&] { return !line.IsGliding(); }, kWaitMs));
    EXPECT_EQ(line.GetCurrentX(), 60 - line.GetBarWidth() / 2);
    ExpectBarAt(line.GetCurrentX());
}

TEST_F(TabUnderline, PaintCopiesTheBackBufferToTheScreen)
{
    const int centres[] = {250};
    line.MoveTo(0, centres, 1);
    ::RedrawWindow(line.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const testsupport::Pixels back = PixelsOf(line.GetBackBuffer());
    const uint32_t bar = back.Rgb(250, 2);
    const auto shownAt = [](int x) { return testsupport::ReadScreenPixel(x, kLineY + 2); };
    // Wine puts the painted pixels on the screen a little later.
    PumpUntil([&] { return shownAt(250) == bar && shownAt(20) == kBackground; }, kWaitMs);
    EXPECT_EQ(shownAt(250), bar);
    EXPECT_EQ(shownAt(20), kBackground);
}

}  // namespace
