#include <gtest/gtest.h>

#include "tests/support/Polling.h"
#include "tests/support/ScreenPixels.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/windows/buttons/LightButton.h"

using namespace windowstest;

namespace {

constexpr uint32_t kBackground = 0x304050;
constexpr int kHostX = 200, kHostY = 200;
constexpr int kButtonX = 40, kButtonY = 30, kButtonW = 150, kButtonH = 38;
constexpr UINT kButtonId = 0x8081;
const UINT kClickMessage = ::RegisterWindowMessageW(L"Light Button Click Message");
// Only keeps a broken build from hanging.
constexpr DWORD kWaitMs = testsupport::kPatienceMs;

const wchar_t* const kApplyImages[CLightButton::kStateCount] = {
    L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", nullptr, nullptr, nullptr, L"BTN_DISABLE", nullptr};

class ImageButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureUiEnvironment();
        // Start with the pointer away from the button.
        MoveCursorTo(5, 5);
        background = SolidBackground(300, 120, kBackground);
        ASSERT_TRUE(button.CreateFromImages(&host, background->GetSafeHdc(), kApplyImages, kButtonX, kButtonY,
                                            kButtonW, kButtonH));
        button.m_nButtonId = kButtonId;
        watch = std::make_unique<WindowWatch>(button.GetSafeHwnd());
        Pump(0);
        ASSERT_EQ(button.GetHoverState(), 0);
        normalFace = PixelsOf(button.GetBackBuffer());
    }
    void TearDown() override
    {
        LeftButton(false);
        MoveCursorTo(5, 5);
        watch.reset();
        Pump(0);
    }
    testsupport::Pixels Face() { return PixelsOf(button.GetBackBuffer()); }
    bool FadeDone() { return !button.IsFading(); }
    // Screen point of a point of the button.
    int ScreenX(int x) const { return kHostX + kButtonX + x; }
    int ScreenY(int y) const { return kHostY + kButtonY + y; }
    void PointAtButton()
    {
        MoveCursorTo(ScreenX(75), ScreenY(19));
        ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 1; }, kWaitMs)) << "no hover from the pointer";
        ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }, kWaitMs));
    }
    size_t Clicks() { return host.Received(kClickMessage).size(); }
    // Releases the real button and waits until the button window has taken
    // the release; a click it posts is handled on return.
    void ReleaseOnButton()
    {
        const int before = watch->Handled(WM_LBUTTONUP);
        LeftButton(false);
        ASSERT_TRUE(DispatchUntil([&] { return watch->Handled(WM_LBUTTONUP) > before; }, kWaitMs)) << "no release";
        Pump(0);
    }

    RecordingHost host{kHostX, kHostY, 300, 120};
    std::unique_ptr<CMemoryDC> background;
    CLightButton button;
    std::unique_ptr<WindowWatch> watch;
    testsupport::Pixels normalFace;
};

TEST_F(ImageButton, NormalFaceIsTheImageOverTheParentBackground)
{
    ASSERT_EQ(normalFace.width, kButtonW);
    ASSERT_EQ(normalFace.height, kButtonH);
    // The chamfered corner is transparent in the image: the background shows.
    EXPECT_EQ(normalFace.Rgb(0, 0), kBackground);
    EXPECT_NE(normalFace.Rgb(75, 19), kBackground);
    EXPECT_EQ(button.GetState(), CLightButton::Normal);
    // The window shows the same pixels, once Wine has put them on the screen.
    const auto shown = [&] { return testsupport::ReadScreenPixel(ScreenX(75), ScreenY(19)); };
    const uint32_t expected = normalFace.Rgb(75, 19);
    PumpUntil([&] { return shown() == expected; }, kWaitMs);
    EXPECT_EQ(shown(), expected);
}

TEST_F(ImageButton, HoverCrossFadesToTheHoverFaceAndBackOnLeaving)
{
    MoveCursorTo(ScreenX(75), ScreenY(19));
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 1; }, kWaitMs)) << "no hover from the pointer";
    // The fade starts at step 1: part of the way at once, still running.
    EXPECT_TRUE(button.IsFading());
    const testsupport::Pixels firstStep = Face();
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }, kWaitMs));
    const testsupport::Pixels hoverFace = Face();
    EXPECT_GT(DifferingPixels(hoverFace, normalFace), kButtonW * kButtonH / 4);
    EXPECT_GT(DifferingPixels(firstStep, normalFace), 0);
    EXPECT_GT(DifferingPixels(firstStep, hoverFace), 0);
    EXPECT_FALSE(::KillTimer(button.GetSafeHwnd(), CLightButton::kFadeTimerId)) << "fade timer left running";

    MoveCursorTo(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 0 && FadeDone(); }, kWaitMs)) << "no leave";
    EXPECT_EQ(DifferingPixels(Face(), normalFace), 0);
}

TEST_F(ImageButton, AClickPostsTheIdAndAreaAndShowsThePressedFace)
{
    PointAtButton();
    const testsupport::Pixels hoverFace = Face();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 2 && FadeDone(); }, kWaitMs));
    EXPECT_GT(DifferingPixels(Face(), hoverFace), kButtonW * kButtonH / 4) << "pressed face looks like hover";
    EXPECT_EQ(Clicks(), 0u);
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return Clicks() > 0; }, kWaitMs)) << "no click message";
    const auto clicks = host.Received(kClickMessage);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wParam, kButtonId);
    EXPECT_EQ(clicks[0].lParam, 0);
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }, kWaitMs));
    EXPECT_EQ(button.GetHoverState(), 1);
    EXPECT_EQ(DifferingPixels(Face(), hoverFace), 0);
}

TEST_F(ImageButton, LeavingWhilePressedDropsThePressAndThePressedFace)
{
    PointAtButton();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 2; }, kWaitMs));
    MoveCursorTo(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 0 && FadeDone(); }, kWaitMs)) << "no leave";
    EXPECT_EQ(button.GetTracker().GetPressed(), -1);
    EXPECT_EQ(DifferingPixels(Face(), normalFace), 0) << "the pressed face stayed";
    // Back over the button and release there: the press was dropped, no click.
    MoveCursorTo(ScreenX(70), ScreenY(20));
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() != 0; }, kWaitMs));
    ReleaseOnButton();
    EXPECT_EQ(Clicks(), 0u);
}

TEST_F(ImageButton, ReleasingOutsideTheButtonPostsNothing)
{
    PointAtButton();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 2; }, kWaitMs));
    MoveCursorTo(ScreenX(kButtonW + 30), ScreenY(20));
    // The release lands on the host; the button never sees it.
    WindowWatch hostWatch(host.GetSafeHwnd());
    LeftButton(false);
    ASSERT_TRUE(DispatchUntil([&] { return hostWatch.Handled(WM_LBUTTONUP) + watch->Handled(WM_LBUTTONUP) > 0; },
                              kWaitMs))
        << "no release";
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 0 && FadeDone(); }, 3000));
    EXPECT_EQ(Clicks(), 0u);
    EXPECT_EQ(DifferingPixels(Face(), normalFace), 0);
}

TEST_F(ImageButton, ButtonWithIdZeroNeverPosts)
{
    button.m_nButtonId = 0;
    PointAtButton();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 2; }, kWaitMs));
    ReleaseOnButton();
    EXPECT_EQ(button.GetHoverState(), 1);
    EXPECT_EQ(Clicks(), 0u);
}

TEST_F(ImageButton, TabButtonsPostWithoutRefreshingTheFace)
{
    button.m_bPostBeforeRefresh = FALSE;
    PointAtButton();
    ::SendMessageW(button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 19));
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }, kWaitMs));
    const testsupport::Pixels pressed = Face();
    ::SendMessageW(button.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(75, 19));
    EXPECT_FALSE(button.IsFading());
    EXPECT_EQ(DifferingPixels(Face(), pressed), 0);
    ASSERT_TRUE(PumpUntil([&] { return Clicks() == 1; }, kWaitMs));
}

TEST_F(ImageButton, SetCheckFadesOnlyOnAChange)
{
    button.SetCheck(FALSE);
    EXPECT_FALSE(button.IsFading());
    button.SetCheck(TRUE);
    // Step 0: the old face still shows, the fade runs.
    EXPECT_TRUE(button.IsFading());
    EXPECT_EQ(DifferingPixels(Face(), normalFace), 0);
    EXPECT_EQ(button.GetState(), CLightButton::CheckedNormal);
    ASSERT_TRUE(PumpUntil([&] { return FadeDone(); }, kWaitMs));
    // Without checked images the checked states show the unchecked faces.
    EXPECT_EQ(DifferingPixels(Face(), normalFace), 0);
}

TEST_F(ImageButton, DrawFaceAtPaintsTheCurrentFaceIntoAnotherPicture)
{
    std::unique_ptr<CMemoryDC> page = SolidBackground(300, 200, 0x000000);
    button.DrawFaceAt(page->GetSafeHdc(), 100);
    const testsupport::Pixels drawn = PixelsOf(page->GetSafeHdc());
    for (int y : {0, 19, 37})
        for (int x : {0, 75, 149})
            EXPECT_EQ(drawn.Rgb(kButtonX + x, 100 + y), normalFace.Rgb(x, y)) << x << "," << y;
    EXPECT_EQ(drawn.Rgb(kButtonX + 75, 99), 0u);
}

// A captioned button draws each state's text face once per distinct frame
// and style: hover and pressed share one look, normal keeps its own.
TEST_F(ImageButton, CaptionFacesFollowTheirStatesFrameAndStyle)
{
    button.LoadFrameImages();
    button.SetTextStyle(L"Apply", 0, 0, kButtonW, kButtonH);
    button.Refresh(FALSE, 0);
    const testsupport::Pixels normal = Face();
    EXPECT_GT(DifferingPixels(normal, normalFace), 0) << "no caption drawn";
    PointAtButton();
    const testsupport::Pixels hover = Face();
    EXPECT_GT(DifferingPixels(hover, normal), 0) << "hover caption looks like normal";
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 2 && FadeDone(); }, kWaitMs));
    EXPECT_EQ(DifferingPixels(Face(), hover), 0) << "pressed caption differs from hover";
    LeftButton(false);
    MoveCursorTo(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return button.GetHoverState() == 0 && FadeDone(); }, kWaitMs));
    EXPECT_EQ(DifferingPixels(Face(), normal), 0) << "the normal caption did not come back";
}

TEST(ImageButtonFromDCs, EmptyStatesBorrowTheirNeighbours)
{
    EnsureUiEnvironment();
    RecordingHost host(kHostX, kHostY, 300, 120);
    auto background = SolidBackground(300, 120, kBackground);
    HDC states[CLightButton::kStateCount] = {};
    const uint32_t colours[] = {0xFF0000FFu, 0xFF00FF00u};  // normal blue, checked-normal green
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(CreateMemoryDCBitmap(40, 20, &states[i * 3], TRUE, nullptr));
        HBRUSH brush = ::CreateSolidBrush(RGB((colours[i] >> 16) & 0xFF, (colours[i] >> 8) & 0xFF, colours[i] & 0xFF));
        RECT all = {0, 0, 40, 20};
        ::FillRect(states[i * 3], &all, brush);
        ::DeleteObject(brush);
        // Opaque: GDI leaves the alpha byte at 0.
        BITMAP info;
        ::GetObjectW(::GetCurrentObject(states[i * 3], OBJ_BITMAP), sizeof(info), &info);
        ::GdiFlush();
        auto* bits = static_cast<uint32_t*>(info.bmBits);
        for (int p = 0; p < 40 * 20; ++p) bits[p] |= 0xFF000000u;
    }
    CLightButton button;
    ASSERT_TRUE(button.CreateFromDCs(&host, background->GetSafeHdc(), states, 10, 10, 40, 20, TRUE));
    EXPECT_EQ(PixelsOf(button.GetBackBuffer()).Rgb(20, 10), 0x0000FFu);
    button.SetCheck(TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !button.IsFading(); }, kWaitMs));
    EXPECT_EQ(PixelsOf(button.GetBackBuffer()).Rgb(20, 10), 0x00FF00u);
    // Pressed while checked borrows checked-hover, which borrows checked-normal.
    ::SendMessageW(button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return !button.IsFading(); }, kWaitMs));
    EXPECT_EQ(button.GetState(), CLightButton::CheckedPressed);
    EXPECT_EQ(PixelsOf(button.GetBackBuffer()).Rgb(20, 10), 0x00FF00u);
    button.Destroy();
    EXPECT_EQ(button.GetSafeHwnd(), nullptr);
}

TEST(HaloText, TheHaloTintsAroundTheCaptionAndStaysInsideTheClip)
{
    EnsureUiEnvironment();
    auto plain = SolidBackground(200, 40, 0x000000);
    auto haloed = SolidBackground(200, 40, 0x000000);
    const Gdiplus::RectF rect(15, 0, 185, 40);
    const Gdiplus::RectF clip(0, 5, 200, 30);
    {
        Gdiplus::Graphics graphics(plain->GetSafeHdc());
        CLightButton::DrawFace(&graphics, rect, L"WASD", 3, 235, FALSE, nullptr);
    }
    {
        Gdiplus::Graphics graphics(haloed->GetSafeHdc());
        CLightButton::DrawFace(&graphics, rect, L"WASD", 3, 235, TRUE, &clip);
    }
    const testsupport::Pixels a = PixelsOf(plain->GetSafeHdc());
    const testsupport::Pixels b = PixelsOf(haloed->GetSafeHdc());
    int textPixels = 0, reddened = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = a.Rgb(x, y), q = b.Rgb(x, y);
            if (p != 0) ++textPixels;
            if (p == 0 && q != 0) {
                if (((q >> 16) & 0xFF) > ((q >> 8) & 0xFF)) ++reddened;
            }
        }
    ASSERT_GT(textPixels, 20) << "no caption drawn (fonts missing?)";
    EXPECT_GT(reddened, 50) << "no red halo around the caption";
    // The fills and the blur stay inside the clip; only the faint text rings may reach the rows outside.
    for (int x = 0; x < 200; ++x) EXPECT_LT((b.Rgb(x, 0) >> 16) & 0xFF, 0x20u) << x;
}

}  // namespace
