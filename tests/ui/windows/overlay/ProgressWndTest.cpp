// The Apply progress overlay in real windows under Xvfb: the backdrop taken
// from the screen, blurred and darkened in five steps; the spinner, progress
// image and percentage driven as the main dialog drives them; and every DC,
// the snapshot, the blur and the Direct2D client released once, whichever of
// Close, the parent's destruction or the object's comes first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "platform/ui/UiHandles.h"
#include "platform/ui/Wnd.h"
#include "tests/support/MessagePump.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "tests/ui/framework/GdiLedger.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/overlay/ProgressWnd.h"

namespace {

using testsupport::Pixels;
using testsupport::PumpUntil;
using testsupport::ReadPixels;

TEST(ProgressFrames, FollowTheTimeAndLoopOverTheSecondPart)
{
    struct Case {
        uint64_t elapsedMs;
        int frame;
    } cases[] = {
        {0, -1},    {49, -1},  {50, 0},  {70, 0},   {71, 1},    {50 + 42 * 39, 39}, {50 + 42 * 137, 137},
        {50 + 42 * 138, 47}, {50 + 42 * 228, 137}, {50 + 42 * 229, 47}, {50 + 42 * 320, 47},
    };
    for (const Case& c : cases) EXPECT_EQ(CProgressWnd::FrameAt(c.elapsedMs), c.frame) << c.elapsedMs << " ms";
}

TEST(ProgressFrames, SpinnerSideFollowsTheScale)
{
    EXPECT_EQ(CProgressWnd::SpinnerSideFor(0, 1.0f), 183);
    EXPECT_EQ(CProgressWnd::SpinnerSideFor(0, 1.25f), 229);
    EXPECT_EQ(CProgressWnd::SpinnerSideFor(1, 1.5f), 275);
    EXPECT_EQ(CProgressWnd::SpinnerSideFor(2, 2.0f), 365);
}

TEST(ProgressFrames, PercentTextUsesNativeDigitsWhenThereAreTen)
{
    const wchar_t* arabicIndic = L"\x0660\x0661\x0662\x0663\x0664\x0665\x0666\x0667\x0668\x0669";
    struct Case {
        int percent;
        const wchar_t* digits;
        const wchar_t* text;
    } cases[] = {
        {0, L"", L"00"},
        {7, nullptr, L"07"},
        {100, L"", L"100"},
        {42, arabicIndic, L"\x0664\x0662"},
        {5, arabicIndic, L"\x0660\x0665"},
        {100, arabicIndic, L"\x0661\x0660\x0660"},
        {42, L"0123456789", L"42"},
        {42, L"\x0660\x0661\x0662", L"42"},  // too few digits: plain ones
        {12345, arabicIndic, L"12345"},       // more than three digits stay plain
    };
    for (const Case& c : cases) {
        wchar_t text[16];
        CProgressWnd::FormatPercent(c.percent, c.digits, text, ARRAYSIZE(text));
        EXPECT_EQ(std::wstring(text), std::wstring(c.text)) << c.percent;
    }
    wchar_t small[3] = {L'x', L'x', L'x'};
    CProgressWnd::FormatPercent(100, arabicIndic, small, ARRAYSIZE(small));
    EXPECT_EQ(wcslen(small), 2u) << "the text ran past its buffer";
}

int Red(uint32_t p) { return (p >> 16) & 0xFF; }
int Green(uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(uint32_t p) { return p & 0xFF; }

constexpr int kHostWidth = 800;
constexpr int kHostHeight = 500;
// The host's picture: white left of this column, grey right of it, with a
// black band from it to kBandRight.
constexpr int kEdgeX = 200;
constexpr int kBandRight = 260;
constexpr COLORREF kGrey = RGB(128, 128, 128);

// The main window stand-in: a visible top-level window with a picture that
// shows whether the overlay's backdrop was blurred and darkened.
class HostWnd : public CWnd {
public:
    bool Create()
    {
        LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), nullptr);
        if (!CreateEx(WS_EX_TOPMOST, cls, L"host", WS_POPUP | WS_CLIPCHILDREN, 30, 30, kHostWidth, kHostHeight,
                      nullptr, nullptr)) {
            return false;
        }
        ShowWindow(SW_SHOW);
        UpdateWindow(m_hWnd);
        return true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ERASEBKGND) return 1;
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(m_hWnd, &paint);
            auto fill = [dc](int left, int right, COLORREF color) {
                RECT r = {left, 0, right, kHostHeight};
                HBRUSH brush = CreateSolidBrush(color);
                FillRect(dc, &r, brush);
                DeleteObject(brush);
            };
            fill(0, kEdgeX, RGB(255, 255, 255));
            fill(kEdgeX, kBandRight, RGB(0, 0, 0));
            fill(kBandRight, kHostWidth, kGrey);
            EndPaint(m_hWnd, &paint);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

constexpr DWORD kOverlayLimitMs = 8000;

// Pixels of the spinner square: the ring of the progress image at radius 65
// and the number in the middle.
struct SpinnerLook {
    SpinnerLook(Pixels backBuffer, RECT spinnerSquare) : square(spinnerSquare), pixels(std::move(backBuffer)) {}
    explicit SpinnerLook(const CProgressWnd& overlay)
        : SpinnerLook(ReadPixels(overlay.BackBuffer()), overlay.SpinnerSquare())
    {
    }
    uint32_t At(int dx, int dy) const
    {
        const int cx = (square.left + square.right) / 2, cy = (square.top + square.bottom) / 2;
        return pixels.At(cx + dx, cy + dy);
    }
    // The ring point at angle 0 (right), 90 (bottom), 180 (left) is the red stroke.
    bool RingIsRed(int dx, int dy) const
    {
        const uint32_t p = At(dx, dy);
        return Red(p) > 110 && Red(p) > 2 * Green(p) && Red(p) > 2 * Blue(p);
    }
    int WhitePixelsInMiddle() const
    {
        int count = 0;
        for (int dy = -14; dy <= 14; ++dy)
            for (int dx = -30; dx <= 30; ++dx) {
                const uint32_t p = At(dx, dy);
                if (Red(p) > 200 && Green(p) > 200 && Blue(p) > 200) ++count;
            }
        return count;
    }
    int CyanPixelsInMiddle() const
    {
        int count = 0;
        for (int dy = -14; dy <= 14; ++dy)
            for (int dx = -30; dx <= 30; ++dx) {
                const uint32_t p = At(dx, dy);
                if (Green(p) > Red(p) + 40 && Blue(p) > Red(p) + 40) ++count;
            }
        return count;
    }

    RECT square;
    Pixels pixels;
};

class ProgressWndTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gdiplus.Ok());
        ASSERT_TRUE(com.Succeeded());
        wcscpy_s(g_szSkinResType, kSkinSet1080);
        g_fImageScale = 1.0f;
        g_fUIScale = 1.0f;
        g_nResolutionClass = 0;
        ASSERT_TRUE(host.Create());
        // The overlay's backdrop is read from the screen: wait until Wine
        // has put the host's picture there.
        ASSERT_TRUE(PumpUntil(
            [] {
                HDC screen = GetDC(nullptr);
                const COLORREF white = GetPixel(screen, 30 + kEdgeX / 2, 30 + 100);
                const COLORREF band = GetPixel(screen, 30 + (kEdgeX + kBandRight) / 2, 30 + 100);
                const COLORREF grey = GetPixel(screen, 30 + kHostWidth - 20, 30 + kHostHeight - 20);
                ReleaseDC(nullptr, screen);
                return white == RGB(255, 255, 255) && band == RGB(0, 0, 0) && grey == kGrey;
            },
            kOverlayLimitMs))
            << "the host never reached the screen";
    }

    testsupport::GdiplusSession gdiplus;
    platform::ComApartment com{COINIT_APARTMENTTHREADED};
    HostWnd host;
};

TEST_F(ProgressWndTest, BackdropIsTheScreenBlurredAndDarkenedInFiveSteps)
{
    CProgressWnd overlay;
    ASSERT_TRUE(overlay.Create(&host, kHostWidth, kHostHeight));
    EXPECT_TRUE(overlay.IsActive());
    EXPECT_TRUE(IsWindowVisible(overlay));
    EXPECT_FALSE(overlay.Create(&host, kHostWidth, kHostHeight));
    // Layered only where child windows may be; either way it takes the pointer
    // from the window under it.
    const LONG_PTR exStyle = GetWindowLongPtrW(overlay, GWL_EXSTYLE);
    EXPECT_EQ((exStyle & WS_EX_LAYERED) != 0, UseLayeredChildWindows());
    EXPECT_EQ(exStyle & WS_EX_TRANSPARENT, 0);
    EXPECT_EQ(WindowFromPoint(POINT{30 + 100, 30 + 100}), overlay.GetSafeHwnd());

    // First step: darkened by 25 of 255.
    EXPECT_EQ(overlay.BackdropStep(), 2);
    Pixels first = ReadPixels(overlay.BackBuffer());
    ASSERT_EQ(first.width, kHostWidth);
    EXPECT_NEAR(Red(first.At(100, 100)), 230, 3);
    EXPECT_NEAR(Red(first.At(700, 100)), 128 * 230 / 255, 3);

    ASSERT_TRUE(PumpUntil([&] { return !overlay.IsBackdropRunning(); }, kOverlayLimitMs));
    EXPECT_EQ(overlay.BackdropStep(), 6);
    EXPECT_FALSE(overlay.HoldsSnapshot());
    EXPECT_FALSE(KillTimer(overlay, CProgressWnd::IDT_BACKDROP)) << "the backdrop timer outlived its fade";

    // Last step: darkened by 128; flat areas keep their colour, the edge is soft.
    Pixels last = ReadPixels(overlay.BackBuffer());
    EXPECT_NEAR(Red(last.At(100, 100)), 127, 3);
    EXPECT_NEAR(Red(last.At(kEdgeX - 12, 100)), 127, 3);
    EXPECT_NEAR(Red(last.At(700, 100)), 128 * 127 / 255, 3);
    EXPECT_LT(Red(last.At(kEdgeX - 1, 100)), 100) << "no blur across the white-black edge";
    EXPECT_GT(Red(last.At(kEdgeX, 100)), 25) << "no blur across the white-black edge";
    EXPECT_NEAR(Red(last.At(kEdgeX + 20, 100)), 0, 3);

    // The window shows the back buffer.
    platform::WindowDc screen(overlay);
    EXPECT_NEAR(GetRValue(GetPixel(screen.Get(), 100, 100)), 127, 3);
    overlay.Close();
    EXPECT_FALSE(overlay.IsActive());
}

TEST_F(ProgressWndTest, WithoutProgressTheNumberWaitsForFrameFortyAndAHundredShowsTheFullRing)
{
    CProgressWnd overlay;
    ASSERT_TRUE(overlay.Create(&host, kHostWidth, kHostHeight));
    ASSERT_TRUE(
        PumpUntil([&] { return !overlay.IsBackdropRunning() && overlay.LastFrame() >= 2; }, kOverlayLimitMs));
    ASSERT_LT(overlay.LastFrame(), CProgressWnd::kFirstTextFrame);
    {
        SpinnerLook look(overlay);
        EXPECT_EQ(look.WhitePixelsInMiddle(), 0);
        EXPECT_FALSE(look.RingIsRed(65, 0));
        EXPECT_FALSE(look.RingIsRed(0, 65));
    }
    // The spinner moves on its own timer: each new frame changes the square.
    const int before = overlay.LastFrame();
    Pixels earlier = ReadPixels(overlay.BackBuffer());
    ASSERT_TRUE(PumpUntil([&] { return overlay.LastFrame() >= before + 3; }, kOverlayLimitMs));
    Pixels later = ReadPixels(overlay.BackBuffer());
    const RECT square = overlay.SpinnerSquare();
    int changed = 0;
    for (int y = square.top; y < square.bottom; ++y)
        for (int x = square.left; x < square.right; ++x) changed += earlier.At(x, y) != later.At(x, y);
    EXPECT_GT(changed, 50);
    EXPECT_EQ(earlier.At(20, 20), later.At(20, 20)) << "the spinner drew outside its square";

    ASSERT_TRUE(PumpUntil([&] { return overlay.LastFrame() >= CProgressWnd::kFirstTextFrame; }, kOverlayLimitMs));
    {
        SpinnerLook look(overlay);
        EXPECT_GT(look.WhitePixelsInMiddle(), 10) << "no \"00\" from frame 40 on";
        EXPECT_FALSE(look.RingIsRed(65, 0));
        EXPECT_STREQ(overlay.LoadedProgressImage(), L"");
    }

    // Above 96 the last progress image stays: the ring is full.
    overlay.m_nPercent = 100;
    ASSERT_TRUE(
        PumpUntil([&] { return wcscmp(overlay.LoadedProgressImage(), L"PROGRESS96") == 0; }, kOverlayLimitMs));
    const int loadedAt = overlay.LastFrame();
    ASSERT_TRUE(PumpUntil([&] { return overlay.LastFrame() != loadedAt; }, kOverlayLimitMs));
    SpinnerLook full(overlay);
    EXPECT_TRUE(full.RingIsRed(65, 0));
    EXPECT_TRUE(full.RingIsRed(-65, 0));
    EXPECT_TRUE(full.RingIsRed(0, 65));
    EXPECT_GT(full.WhitePixelsInMiddle(), 10);
}

// A spinner tick after more than a frame's time, as when the UI thread is
// busy: it draws a new frame.
void TickAfterAFrame(CProgressWnd& overlay)
{
    const int before = overlay.LastFrame();
    // Waited by the clock the overlay reads: Wine's tick count can lag
    // behind the time Sleep waits for.
    const ULONGLONG start = ::GetTickCount64();
    while (::GetTickCount64() - start <= static_cast<ULONGLONG>(CProgressWnd::kFrameMs) + 5) ::Sleep(5);
    ::SendMessageW(overlay.GetSafeHwnd(), WM_TIMER, CProgressWnd::IDT_SPINNER, 0);
    ASSERT_NE(overlay.LastFrame(), before) << "the tick drew no frame";
}

// Every tick draws a frame: the frame that first needs a progress image
// loads and shows it.
TEST_F(ProgressWndTest, TheFrameThatNeedsAProgressImageShowsIt)
{
    CProgressWnd overlay;
    ASSERT_TRUE(overlay.Create(&host, kHostWidth, kHostHeight));
    ASSERT_TRUE(PumpUntil([&] { return !overlay.IsBackdropRunning(); }, kOverlayLimitMs));

    overlay.m_nPercent = 60;
    TickAfterAFrame(overlay);
    EXPECT_STREQ(overlay.LoadedProgressImage(), L"PROGRESS60");
    SpinnerLook part(overlay);
    EXPECT_TRUE(part.RingIsRed(65, 0));
    EXPECT_TRUE(part.RingIsRed(0, 65));
    EXPECT_FALSE(part.RingIsRed(-65, 0));

    overlay.m_nPercent = 100;
    TickAfterAFrame(overlay);
    EXPECT_STREQ(overlay.LoadedProgressImage(), L"PROGRESS96");
    EXPECT_TRUE(SpinnerLook(overlay).RingIsRed(-65, 0));
}

// A progress image that is not there is not looked for again while the
// percentage stays; the next percentage looks for its own.
TEST_F(ProgressWndTest, AMissingProgressImageIsAskedForOnce)
{
    CProgressWnd overlay;
    ASSERT_TRUE(overlay.Create(&host, kHostWidth, kHostHeight));
    ASSERT_TRUE(PumpUntil([&] { return !overlay.IsBackdropRunning(); }, kOverlayLimitMs));

    g_szSkinResType[0] = L'\0';  // the frames are loaded; every later image is missing
    overlay.m_nPercent = 60;
    TickAfterAFrame(overlay);
    EXPECT_STREQ(overlay.LoadedProgressImage(), L"PROGRESS60");
    EXPECT_FALSE(overlay.HasProgressImage());

    wcscpy_s(g_szSkinResType, kSkinSet1080);
    TickAfterAFrame(overlay);
    EXPECT_FALSE(overlay.HasProgressImage()) << "the missing image was looked for again";
    EXPECT_FALSE(SpinnerLook(overlay).RingIsRed(65, 0));

    overlay.m_nPercent = 61;
    TickAfterAFrame(overlay);
    EXPECT_STREQ(overlay.LoadedProgressImage(), L"PROGRESS61");
    EXPECT_TRUE(overlay.HasProgressImage());
    EXPECT_TRUE(SpinnerLook(overlay).RingIsRed(65, 0));
}

// Drives the percentage as the main dialog does: 0 to 100 in 20 ms steps on
// a timer of its own, then closes the overlay.
class ApplyDriver : public CWnd {
public:
    static constexpr UINT_PTR kTimer = 2;

    explicit ApplyDriver(CProgressWnd& overlay) : m_overlay(overlay) {}

    bool Start(HWND parent)
    {
        LPCWSTR cls = AfxRegisterWndClass(0);
        if (!CreateEx(0, cls, L"", WS_CHILD, 0, 0, 1, 1, parent, nullptr)) return false;
        return SetTimer(m_hWnd, kTimer, 20, nullptr) != 0;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == kTimer) {
            OnTick();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    bool closed = false;
    bool ringHalfWay = false;  // the progress image at about half showed the right side only
    int textAtHalfWay = 0;
    std::set<int> framesSeen;
    Pixels beforeClose;
    RECT square{};

private:
    void OnTick()
    {
        framesSeen.insert(m_overlay.LastFrame());
        if (m_percent == 60 && !ringHalfWay) {
            // Frames drawn since percent 50 show at least half the ring.
            SpinnerLook look(m_overlay);
            ringHalfWay = look.RingIsRed(65, 0) && look.RingIsRed(0, 65) && !look.RingIsRed(-65, 0);
            textAtHalfWay = look.WhitePixelsInMiddle();
        }
        if (m_percent > 100) {
            beforeClose = ReadPixels(m_overlay.BackBuffer());
            square = m_overlay.SpinnerSquare();
            KillTimer(m_hWnd, kTimer);
            m_overlay.Close();
            closed = true;
            return;
        }
        m_overlay.m_nPercent = m_percent++;
    }

    CProgressWnd& m_overlay;
    int m_percent = 0;
};

TEST_F(ProgressWndTest, RunsItsSpinnerWhileTheDialogCountsToAHundredAndCloses)
{
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    const int dcs = ledger.LiveDcs(), bitmaps = ledger.LiveBitmaps(), screenDcs = ledger.HeldScreenDcs();

    CProgressWnd overlay;
    ASSERT_TRUE(overlay.Create(&host, kHostWidth, kHostHeight));
    const HWND key = overlay.GetSafeHwnd();
    EXPECT_GT(ledger.LiveDcs(), dcs + 100) << "the spinner frames were not loaded";
    ApplyDriver driver(overlay);
    ASSERT_TRUE(driver.Start(host));
    ASSERT_TRUE(PumpUntil([&] { return driver.closed; }, 15000));

    EXPECT_GE(driver.framesSeen.size(), 10u) << "the spinner did not turn";
    EXPECT_TRUE(driver.ringHalfWay);
    EXPECT_GT(driver.textAtHalfWay, 10);

    // At the end the ring is full and the number shows with its cyan fringe.
    SpinnerLook end(driver.beforeClose, driver.square);
    EXPECT_TRUE(end.RingIsRed(65, 0));
    EXPECT_TRUE(end.RingIsRed(-65, 0));
    EXPECT_TRUE(end.RingIsRed(0, 65));
    EXPECT_GT(end.WhitePixelsInMiddle(), 10);
    EXPECT_GT(end.CyanPixelsInMiddle(), 3);

    // Closed: window, DCs, bitmaps, the window DC and the Direct2D client gone.
    EXPECT_FALSE(overlay.IsActive());
    EXPECT_FALSE(IsWindow(key));
    EXPECT_EQ(overlay.m_nPercent, 0);
    EXPECT_EQ(D2DRemoveClient(key), 0);
    EXPECT_EQ(ledger.LiveDcs(), dcs);
    EXPECT_EQ(ledger.LiveBitmaps(), bitmaps);
    EXPECT_EQ(ledger.HeldScreenDcs(), screenDcs);
    EXPECT_EQ(ledger.RefusedDeletes(), 0);
    overlay.Close();
    EXPECT_EQ(ledger.LiveDcs(), dcs);
}

TEST_F(ProgressWndTest, ReleasesOnceWhenTheParentOrTheObjectGoesFirst)
{
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    const int dcs = ledger.LiveDcs(), bitmaps = ledger.LiveBitmaps(), screenDcs = ledger.HeldScreenDcs();
    auto expectAllReleased = [&](const char* when) {
        EXPECT_EQ(ledger.LiveDcs(), dcs) << when;
        EXPECT_EQ(ledger.LiveBitmaps(), bitmaps) << when;
        EXPECT_EQ(ledger.HeldScreenDcs(), screenDcs) << when;
        EXPECT_EQ(ledger.RefusedDeletes(), 0) << when;
    };

    {
        auto overlay = std::make_unique<CProgressWnd>();
        ASSERT_TRUE(overlay->Create(&host, kHostWidth, kHostHeight));
        const HWND key = overlay->GetSafeHwnd();
        overlay.reset();
        EXPECT_FALSE(IsWindow(key));
        EXPECT_EQ(D2DRemoveClient(key), 0) << "the Direct2D client outlived the overlay";
        expectAllReleased("object destroyed while active");
    }
    {
        CProgressWnd overlay;
        ASSERT_TRUE(overlay.Create(&host, kHostWidth, kHostHeight));
        const HWND key = overlay.GetSafeHwnd();
        host.DestroyWindow();
        EXPECT_FALSE(overlay.IsActive());
        EXPECT_EQ(D2DRemoveClient(key), 0) << "the Direct2D client outlived the window";
        expectAllReleased("parent destroyed while active");
        overlay.Close();
    }
    expectAllReleased("after the objects' destructors");
    EXPECT_EQ(D2DGetFactory(), nullptr) << "the Direct2D factories outlived their last client";
}

}  // namespace
