#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <set>
#include <vector>

#include "platform/ui/AnimationController.h"
#include "platform/win/UniqueHandle.h"
#include "tests/support/PointerInput.h"
#include "tests/ui/framework/ControlTestSupport.h"
#include "ui/colorpicker/HSVColorPicker.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"

using controltest::HostWindow;
using controltest::PixelAt;
using controltest::Pump;
using controltest::PumpUntil;

namespace {

constexpr int kSide = 413;
constexpr float kPi = 3.14159265f;

// What the picker raised, in order.
struct Recorder {
    std::vector<uint32_t> colors;
    std::vector<DWORD> colorThreads;
    int started = 0, completed = 0, downs = 0, ups = 0;
    int hueChanged = 0, colorPropertyChanged = 0;
    POINT lastMove = {-1, -1};

    void Watch(HSVColorPicker& picker)
    {
        picker.ColorChanged.Subscribe([this](void*, Gdiplus::Color& c) {
            colors.push_back(c.GetValue());
            colorThreads.push_back(GetCurrentThreadId());
        });
        picker.AnimationStarted.Subscribe([this](void*) { ++started; });
        picker.AnimationCompleted.Subscribe([this](void*) { ++completed; });
        picker.LButtonDown.Subscribe([this](void*, MouseEventArgs&) { ++downs; });
        picker.LButtonUp.Subscribe([this](void*, MouseEventArgs&) { ++ups; });
        picker.MouseMove.Subscribe([this](void*, MouseEventArgs& a) { lastMove = POINT{a.X, a.Y}; });
        picker.Hue.Changed.Subscribe([this](void*, PropertyChangedArgs) { ++hueChanged; });
        picker.Color.Changed.Subscribe([this](void*, PropertyChangedArgs) { ++colorPropertyChanged; });
    }
};

std::set<DWORD> ProcessThreads()
{
    std::set<DWORD> ids;
    platform::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    if (!snapshot || !Thread32First(snapshot.Get(), &entry)) return ids;
    do {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
    } while (Thread32Next(snapshot.Get(), &entry));
    return ids;
}

bool ThreadEnded(DWORD id)
{
    platform::UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
    return !thread || WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0;
}

LPARAM Packed(float x, float y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(std::lround(x))),
                      static_cast<WORD>(static_cast<SHORT>(std::lround(y))));
}

// The picker on a host window at 100 %, skin images from the 1080 set.
class PickerTest : public testing::Test {
protected:
    void SetUp() override
    {
        wcscpy_s(m_skin, g_szSkinResType);
        m_imageScale = g_fImageScale;
        m_uiScale = g_fUIScale;
        wcscpy_s(g_szSkinResType, kSkinSet1080);
        g_fImageScale = 1.0f;
        g_fUIScale = 1.0f;
        host = std::make_unique<HostWindow>(40, 40, kSide + 40, kSide + 40);
        picker = std::make_unique<HSVColorPicker>();
        ASSERT_EQ(picker->Create(host->Get(), 20, 20, kSide, kSide), 1);
        recorder.Watch(*picker);
        ASSERT_TRUE(testsupport::PumpUntilPainted(host->Get(), 5000));
    }
    void TearDown() override
    {
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) testsupport::LeftButton(false);
        picker.reset();
        host.reset();
        wcscpy_s(g_szSkinResType, m_skin);
        g_fImageScale = m_imageScale;
        g_fUIScale = m_uiScale;
    }

    // The whole pixel nearest to an angle (degrees, clockwise from 3 o'clock)
    // and radius about the centre: the pointer can only be on whole pixels.
    Gdiplus::PointF AtAngle(float degrees, float radius) const
    {
        const Gdiplus::PointF c = picker->Geometry().centre;
        return Snap(Gdiplus::PointF(c.X + radius * std::cos(degrees * kPi / 180.0f),
                                    c.Y + radius * std::sin(degrees * kPi / 180.0f)));
    }
    static Gdiplus::PointF Snap(Gdiplus::PointF p)
    {
        return Gdiplus::PointF(std::round(p.X), std::round(p.Y));
    }
    uint32_t HueColorAt(Gdiplus::PointF point) const
    {
        return HsvToArgb(HueFromPoint(picker->Geometry().centre, point.X, point.Y), 1, 1);
    }
    POINT ToScreen(Gdiplus::PointF client) const
    {
        POINT p = {static_cast<LONG>(std::lround(client.X)), static_cast<LONG>(std::lround(client.Y))};
        ClientToScreen(picker->Handle, &p);
        return p;
    }
    // Until the picker has taken the move; a pointer already there makes none.
    void MoveTo(Gdiplus::PointF client)
    {
        const POINT p = ToScreen(client);
        POINT cursor = {};
        if (GetCursorPos(&cursor) && cursor.x == p.x && cursor.y == p.y) return;
        testsupport::MoveCursorTo(p.x, p.y);
        const POINT want = {std::lround(client.X), std::lround(client.Y)};
        ASSERT_TRUE(PumpUntil([&] { return recorder.lastMove.x == want.x && recorder.lastMove.y == want.y; }, 5000))
            << "the move did not reach the picker";
    }
    void PressAt(Gdiplus::PointF client)
    {
        MoveTo(client);
        testsupport::LeftButtonAt(ToScreen(client), true);
        ASSERT_TRUE(PumpUntil([&] { return recorder.downs > 0; }, 5000)) << "the press did not reach the picker";
    }
    void Release()
    {
        const int ups = recorder.ups;
        testsupport::LeftButton(false);
        ASSERT_TRUE(PumpUntil([&] { return recorder.ups > ups; }, 5000)) << "the release did not reach the picker";
    }
    // The animations' frames then move only as far as the test steps this clock.
    void DriveAnimationClock()
    {
        picker->SetAnimationClock([this] { return m_now; });
    }
    // One step of the clock, and the frame that reports the colour it moved to.
    void AnimationFrameAt(double seconds)
    {
        const size_t reports = recorder.colors.size();
        m_now = seconds;
        ASSERT_TRUE(PumpUntil([&] { return recorder.colors.size() > reports; }, 5000)) << "no frame at " << seconds;
    }
    // Colour of the rendered surface at a client point, alpha dropped.
    uint32_t RenderedRgb(Gdiplus::PointF client) const
    {
        return PixelAt(picker->RenderDC, static_cast<int>(client.X), static_cast<int>(client.Y)) & 0x00FFFFFFu;
    }

    std::unique_ptr<HostWindow> host;
    std::unique_ptr<HSVColorPicker> picker;
    Recorder recorder;

private:
    double m_now = 0.0;
    wchar_t m_skin[kSkinResTypeChars] = {};
    float m_imageScale = 1.0f;
    float m_uiScale = 1.0f;
};

bool Reddish(uint32_t rgb)
{
    return ((rgb >> 16) & 0xFF) > 200 && ((rgb >> 8) & 0xFF) < 90 && (rgb & 0xFF) < 90;
}
bool Greenish(uint32_t rgb)
{
    return ((rgb >> 8) & 0xFF) > 200 && ((rgb >> 16) & 0xFF) < 90 && (rgb & 0xFF) < 90;
}
int Brightness(uint32_t rgb)
{
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF));
}

// --- Creation and picture --------------------------------------------------

TEST_F(PickerTest, CreatedStateAndPicture)
{
    EXPECT_EQ(picker->HSV.Get(), HSVColor(0, 1, 1));
    EXPECT_EQ(picker->Color.Get().GetValue(), 0xFFFF0000u);
    EXPECT_EQ(picker->Margin.Get(), Control::Thickness(10));
    const PickerGeometry& g = picker->Geometry();
    EXPECT_FLOAT_EQ(g.centre.X, 206.5f);
    EXPECT_NEAR(picker->SVMarker().X, g.b.X, 0.01f) << "pure red sits on the pure-hue corner";
    EXPECT_NEAR(picker->SVMarker().Y, g.b.Y, 0.01f);
    EXPECT_EQ(picker->IsHitTestVisible.Get(), 1);
    const LONG_PTR exStyle = GetWindowLongPtrW(picker->Handle, GWL_EXSTYLE);
    EXPECT_EQ((exStyle & WS_EX_LAYERED) != 0, UseLayeredChildWindows());

    // The triangle's corners, seen a little inside: red at B, white at C, black at A.
    auto inside = [&](Gdiplus::PointF corner) {
        return Gdiplus::PointF(g.centre.X + 0.8f * (corner.X - g.centre.X), g.centre.Y + 0.8f * (corner.Y - g.centre.Y));
    };
    EXPECT_TRUE(Reddish(RenderedRgb(inside(g.b)))) << std::hex << RenderedRgb(inside(g.b));
    EXPECT_GT(Brightness(RenderedRgb(inside(g.c))), 3 * 200) << std::hex << RenderedRgb(inside(g.c));
    EXPECT_LT(Brightness(RenderedRgb(inside(g.a))), 3 * 50) << std::hex << RenderedRgb(inside(g.a));
    // The ring image at 9 o'clock shows cyan-ish (hue 180): no red there.
    const uint32_t ring = RenderedRgb(AtAngle(180, 188 * 393.0f / 413.0f));
    EXPECT_LT((ring >> 16) & 0xFF, 100u) << std::hex << ring;

    // The triangle turns with the hue: its pure-hue corner now points at 120 and is green.
    picker->Hue = 120.0f;
    const Gdiplus::PointF turnedB = AtAngle(120, 0.8f * g.TriangleRadius());
    EXPECT_TRUE(Greenish(RenderedRgb(turnedB))) << std::hex << RenderedRgb(turnedB);
    EXPECT_FALSE(Reddish(RenderedRgb(inside(g.b))));
}

// The picker's own drawing against GDI+ drawing the same picture: they may
// differ only along edges, where the two resample differently.
class ReferencePicker : public HSVColorPicker {
public:
    std::vector<uint32_t> DrawnWithGdiplus()
    {
        Gdiplus::Bitmap bitmap(m_nWidth, m_nHeight, PixelFormat32bppPARGB);
        {
            Gdiplus::Graphics graphics(&bitmap);
            graphics.Clear(Gdiplus::Color(0));
            PaintBackground(graphics);
            PaintContent(graphics);
        }
        std::vector<uint32_t> pixels(static_cast<size_t>(m_nWidth) * m_nHeight);
        Gdiplus::BitmapData data = {};
        data.Width = m_nWidth;
        data.Height = m_nHeight;
        data.Stride = m_nWidth * 4;
        data.PixelFormat = PixelFormat32bppPARGB;
        data.Scan0 = pixels.data();
        Gdiplus::Rect all(0, 0, m_nWidth, m_nHeight);
        bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                        &data);
        bitmap.UnlockBits(&data);
        return pixels;
    }
};

TEST_F(PickerTest, OwnDrawingMatchesGdiplus)
{
    for (const HSVColor& color : {HSVColor(0, 1, 1), HSVColor(137, 0.4f, 0.7f), HSVColor(300, 0.9f, 0.3f)}) {
        ReferencePicker reference;
        ASSERT_EQ(reference.Create(host->Get(), 20, 20, kSide, kSide), 1);
        reference.HSV = color;
        const std::vector<uint32_t> own = controltest::ReadPixels(reference.RenderDC);
        const std::vector<uint32_t> gdiplus = reference.DrawnWithGdiplus();
        ASSERT_EQ(own.size(), gdiplus.size());
        // A pixel matches when the other picture has a close colour at most one
        // pixel away: thin lines resampled twice land half a pixel apart.
        auto close = [](uint32_t a, uint32_t b) {
            for (int shift = 0; shift < 32; shift += 8)
                if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 40)
                    return false;
            return true;
        };
        size_t differing = 0, drawn = 0;
        for (int y = 1; y + 1 < kSide; ++y) {
            for (int x = 1; x + 1 < kSide; ++x) {
                const uint32_t mine = own[static_cast<size_t>(y) * kSide + x];
                if ((mine | gdiplus[static_cast<size_t>(y) * kSide + x]) >> 24) ++drawn;
                bool matched = false;
                for (int dy = -1; dy <= 1 && !matched; ++dy)
                    for (int dx = -1; dx <= 1 && !matched; ++dx)
                        matched = close(mine, gdiplus[static_cast<size_t>(y + dy) * kSide + x + dx]);
                if (!matched) ++differing;
            }
        }
        EXPECT_GT(drawn, own.size() / 4) << "nothing drawn";
        EXPECT_LT(differing, drawn / 200) << differing << " of " << drawn << " pixels differ at hue " << color.H;
    }
}

// --- Setters ---------------------------------------------------------------

TEST_F(PickerTest, SettersReportAsTheyShould)
{
    picker->HSV = HSVColor(0, 1, 1);  // the value it has
    EXPECT_TRUE(recorder.colors.empty());
    EXPECT_EQ(recorder.colorPropertyChanged, 0);

    picker->SetHSV(HSVColor(0, 1, 1));  // directly: always reports
    ASSERT_EQ(recorder.colors.size(), 1u);
    EXPECT_EQ(recorder.colors[0], 0xFFFF0000u);

    picker->Hue = 240.0f;
    EXPECT_EQ(recorder.hueChanged, 1);
    ASSERT_EQ(recorder.colors.size(), 2u);
    EXPECT_EQ(recorder.colors[1], 0xFF0000FFu);
    picker->Hue = 240.0f;
    EXPECT_EQ(recorder.colors.size(), 2u);

    picker->HSV = HSVColor(120, 0.5f, 0.5f);
    ASSERT_EQ(recorder.colors.size(), 3u);
    EXPECT_EQ(recorder.colors[2], HsvToArgb(120, 0.5f, 0.5f));
    const Gdiplus::PointF expected = SVMarkerFromSV(picker->Geometry(), 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(picker->SVMarker().X, expected.X);
    EXPECT_FLOAT_EQ(picker->SVMarker().Y, expected.Y);
}

// --- Triangle --------------------------------------------------------------

TEST_F(PickerTest, TrianglePressWithoutMovingReportsOnce)
{
    const Gdiplus::PointF point = Snap(picker->Geometry().centre);
    PressAt(point);
    EXPECT_EQ(picker->IsTriangleDragging.Get(), 1);
    ASSERT_EQ(recorder.colors.size(), 1u) << "reported at the press";
    float s = 0, v = 0;
    SVFromMarker(picker->Geometry(), point, s, v);
    EXPECT_EQ(recorder.colors[0], HsvToArgb(0, s, v));
    // Several colour ticks have come due: nothing new to say.
    testsupport::PumpTimerPeriods(HSVColorPicker::kTimerPeriodMs, 3);
    Release();
    testsupport::PumpTimerPeriods(HSVColorPicker::kTimerPeriodMs, 2);
    EXPECT_EQ(recorder.colors.size(), 1u);
    EXPECT_EQ(picker->IsTriangleDragging.Get(), 0);
}

TEST_F(PickerTest, TriangleDragReportsOnTheUiThreadAndClampsAtTheEdge)
{
    const PickerGeometry& g = picker->Geometry();
    PressAt(Snap(g.centre));
    const Gdiplus::PointF nearC =
        Snap(Gdiplus::PointF(g.centre.X + 0.7f * (g.c.X - g.centre.X), g.centre.Y + 0.7f * (g.c.Y - g.centre.Y)));
    MoveTo(nearC);
    float s = 0, v = 0;
    SVFromMarker(g, nearC, s, v);
    const uint32_t expected = HsvToArgb(0, s, v);
    ASSERT_TRUE(PumpUntil([&] { return !recorder.colors.empty() && recorder.colors.back() == expected; }, 5000))
        << "the colour timer did not report the dragged colour";
    EXPECT_EQ(picker->Saturation.Get(), s);

    // Far beyond the pure-hue corner: the marker stops on it.
    MoveTo(Gdiplus::PointF(g.b.X + 30, g.b.Y));
    ASSERT_TRUE(PumpUntil([&] { return recorder.colors.back() == 0xFFFF0000u; }, 5000));
    EXPECT_NEAR(picker->SVMarker().X, g.b.X, 0.01f);
    Release();
    EXPECT_EQ(picker->IsTriangleDragging.Get(), 0);
    for (DWORD thread : recorder.colorThreads) EXPECT_EQ(thread, GetCurrentThreadId());

    // The release reports a last colour the timer had not sent yet.
    const size_t reports = recorder.colors.size();
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(g.centre.X, g.centre.Y));
    SendMessageW(picker->Handle, WM_MOUSEMOVE, MK_LBUTTON, Packed(nearC.X, nearC.Y));
    SendMessageW(picker->Handle, WM_LBUTTONUP, 0, Packed(nearC.X, nearC.Y));
    // From the release itself, or from a tick that saw the move before it.
    EXPECT_TRUE(PumpUntil([&] { return recorder.colors.size() >= reports + 2; }, 5000));
    EXPECT_EQ(recorder.colors.back(), expected);
}

// --- Ring ------------------------------------------------------------------

TEST_F(PickerTest, RingClickAnimatesThenDragsWhileHeld)
{
    DriveAnimationClock();
    const Gdiplus::PointF sixOClock = AtAngle(90, 188);
    PressAt(sixOClock);
    EXPECT_EQ(recorder.started, 1);
    EXPECT_EQ(picker->IsAnimating.Get(), 1);
    EXPECT_EQ(picker->IsHitTestVisible.Get(), 0) << "input passes through while it moves";
    // The animation's time in five frames, each reporting where it moved.
    for (int frame = 1; frame <= 5; ++frame) {
        AnimationFrameAt(picker->AnimationDuration.Get() * frame / 5);
        EXPECT_EQ(picker->IsAnimating.Get(), frame < 5 ? 1 : 0) << "frame " << frame;
    }
    ASSERT_EQ(recorder.completed, 1);
    EXPECT_EQ(picker->IsHitTestVisible.Get(), 1);
    EXPECT_EQ(picker->Hue.Get(), HueFromPoint(picker->Geometry().centre, sixOClock.X, sixOClock.Y));
    ASSERT_EQ(recorder.colors.size(), 5u) << "one report for every frame";
    float previous = 0.0f;
    for (uint32_t color : recorder.colors) {
        const float hue = HSVColor(color).H;
        EXPECT_TRUE(hue > previous && hue <= 90.5f) << "the short way from 0 to 90: " << hue;
        previous = hue;
    }

    // Still held: the press drags the hue from here.
    EXPECT_EQ(picker->IsHueDragging.Get(), 1);
    const Gdiplus::PointF nineOClock = AtAngle(180, 188);
    MoveTo(nineOClock);
    ASSERT_TRUE(PumpUntil([&] { return recorder.colors.back() == HueColorAt(nineOClock); }, 5000))
        << "the hue drag did not report cyan";
    Release();
    EXPECT_EQ(picker->IsHueDragging.Get(), 0);
}

TEST_F(PickerTest, RingClickWithoutAnimationSetsTheHueAtOnce)
{
    picker->IsAnimationEnabled = 0;
    PressAt(AtAngle(270, 188));  // 12 o'clock
    EXPECT_EQ(recorder.started, 0);
    EXPECT_NEAR(picker->Hue.Get(), 270.0f, 0.2f);
    ASSERT_EQ(recorder.colors.size(), 1u);
    EXPECT_EQ(picker->IsHueDragging.Get(), 1);
    Release();
}

TEST_F(PickerTest, RingMarkerDragStartsAtOnce)
{
    PressAt(AtAngle(0, 197));  // on the marker, which sits at hue 0
    EXPECT_EQ(recorder.started, 0) << "a press on the marker does not animate";
    EXPECT_EQ(picker->IsHueDragging.Get(), 1);
    const Gdiplus::PointF target = AtAngle(120, 188);
    MoveTo(target);
    ASSERT_TRUE(PumpUntil([&] { return !recorder.colors.empty() && recorder.colors.back() == HueColorAt(target); }, 5000));
    Release();
}

TEST_F(PickerTest, PressOnTheMarkerTipInTheRingIsOnlyAMarkerPress)
{
    // A whole pixel well inside both the ring band and the marker's tip (the
    // marker sits at hue 0, unturned), off the hue line so that its own hue
    // differs from the hue shown: a ring click there would move the hue.
    const PickerGeometry& g = picker->Geometry();
    const float tipX = g.centre.X + g.radius - HSVColorPicker::kRingMarkerTipInset;
    const float tan30 = g_afCos60[1] / g_afSin60[1];
    Gdiplus::PointF tip(-1, -1);
    for (int x = static_cast<int>(tipX); x <= static_cast<int>(g.centre.X + g.radius) && tip.X < 0; ++x) {
        for (int y = static_cast<int>(g.centre.Y) + 1; y <= static_cast<int>(g.centre.Y) + 5; ++y) {
            const float along = x - tipX, across = std::fabs(y - g.centre.Y);
            const float distance = std::hypot(x - g.centre.X, y - g.centre.Y);
            const bool inBand = distance < g.radius - 0.5f && distance > g.radius - g.ringWidth + 0.5f;
            const bool onTip = along > 0.5f && across < along * tan30 - 0.5f;
            if (inBand && onTip && HueFromPoint(g.centre, x, y) > 0.3f) tip = Gdiplus::PointF(x, y);
        }
    }
    ASSERT_GE(tip.X, 0.0f) << "no pixel on the marker's tip inside the ring";

    for (const int animated : {1, 0}) {
        SCOPED_TRACE(animated ? "animation on" : "animation off");
        picker->IsAnimationEnabled = animated;
        recorder.colors.clear();
        recorder.downs = 0;
        PressAt(tip);
        EXPECT_EQ(recorder.started, 0) << "a ring click's animation started";
        EXPECT_EQ(picker->Hue.Get(), 0.0f) << "the press moved the hue like a ring click";
        EXPECT_EQ(picker->IsHueDragging.Get(), 1);
        // Colour ticks have come due: a later drag's first one reports even the same colour.
        testsupport::PumpTimerPeriods(HSVColorPicker::kTimerPeriodMs, 3);
        for (uint32_t color : recorder.colors) EXPECT_EQ(color, 0xFFFF0000u);
        Release();
    }
}

TEST_F(PickerTest, ClickOnTheHueShownDragsWithoutAnimation)
{
    const Gdiplus::PointF point = AtAngle(60, 188);
    picker->IsAnimationEnabled = 0;
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(point.X, point.Y));
    SendMessageW(picker->Handle, WM_LBUTTONUP, 0, Packed(point.X, point.Y));
    picker->IsAnimationEnabled = 1;
    recorder.colors.clear();

    // The same pixel again: nothing to animate, yet the drag must paint and report.
    PressAt(point);
    EXPECT_EQ(recorder.started, 0);
    const Gdiplus::PointF target = AtAngle(240, 188);
    MoveTo(target);
    ASSERT_TRUE(PumpUntil([&] { return !recorder.colors.empty() && recorder.colors.back() == HueColorAt(target); }, 5000));
    Release();
}

// --- Animation -------------------------------------------------------------

TEST_F(PickerTest, AnimateToGoesTheShortWayAndEndsOnTheTarget)
{
    picker->AnimateTo(HSVColor(0, 1, 1));  // already shown
    EXPECT_EQ(recorder.started, 0);
    picker->IsAnimationEnabled = 0;
    picker->AnimateTo(HSVColor(10, 1, 1));
    EXPECT_EQ(recorder.started, 0);
    picker->IsAnimationEnabled = 1;

    picker->HSV = HSVColor(350, 1, 1);
    std::vector<float> hues;
    picker->ColorChanged.Subscribe([&](void*, Gdiplus::Color&) { hues.push_back(picker->Hue.Get()); });
    DriveAnimationClock();
    picker->AnimateTo(HSVColor(10, 0.5f, 1));
    EXPECT_EQ(recorder.started, 1);
    for (int frame = 1; frame <= 10; ++frame) AnimationFrameAt(picker->AnimationDuration.Get() * frame / 10);
    ASSERT_EQ(recorder.completed, 1);
    ASSERT_EQ(hues.size(), 10u);
    bool crossedZero = false;
    for (float hue : hues) {
        EXPECT_TRUE(hue >= 350.0f || hue <= 10.0f) << "went the long way: " << hue;
        crossedZero = crossedZero || hue < 5.0f;
    }
    EXPECT_TRUE(crossedZero);
    EXPECT_EQ(picker->Hue.Get(), 10.0f);
    EXPECT_NEAR(picker->Saturation.Get(), 0.5f, 0.0015f);
    EXPECT_NEAR(picker->Value.Get(), 1.0f, 0.0015f);
}

TEST_F(PickerTest, AnimationEndsOnExactlyTheColourAskedFor)
{
    // Typed or picked colours come back exactly, though the animation goes
    // through the marker and its S and V cut at the third decimal.
    for (uint32_t argb : {0xFF804020u, 0xFF123456u, 0xFFFEDCBAu, 0xFF01FF02u, 0xFF7F7F80u}) {
        const int completed = recorder.completed;
        picker->AnimateTo(HSVColor(argb), 0.05);
        ASSERT_TRUE(PumpUntil([&] { return recorder.completed > completed; }, 5000));
        EXPECT_EQ(picker->Color.Get().GetValue(), argb) << std::hex << argb;
        EXPECT_EQ(recorder.colors.back(), argb) << std::hex << argb;
    }
}

TEST_F(PickerTest, TrianglePressDuringAnimationIsDropped)
{
    picker->AnimateTo(HSVColor(200, 0.3f, 0.6f), 10.0);
    ASSERT_EQ(picker->IsAnimating.Get(), 1);
    const Gdiplus::PointF centre = picker->Geometry().centre;
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(centre.X, centre.Y));
    EXPECT_EQ(recorder.downs, 0) << "no LButtonDown for a dropped press";
    EXPECT_EQ(picker->IsTriangleDragging.Get(), 0);
    const Gdiplus::PointF ring = AtAngle(45, 188);
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(ring.X, ring.Y));
    EXPECT_EQ(recorder.started, 1) << "a ring click while it moves is ignored";
    SendMessageW(picker->Handle, WM_LBUTTONUP, 0, Packed(ring.X, ring.Y));

    // Destroyed mid-animation: its frame timer goes with it, or its frames,
    // come due by now, would reach a picker that is gone.
    picker.reset();
    testsupport::PumpTimerPeriods(CAnimationController::kFrameIntervalMs, 3);
}

TEST_F(PickerTest, LosingTheMouseEndsTheDragLikeARelease)
{
    const PickerGeometry& g = picker->Geometry();
    const Gdiplus::PointF nearB = Snap(Gdiplus::PointF(g.centre.X + 0.6f * (g.b.X - g.centre.X), g.centre.Y));
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(g.centre.X, g.centre.Y));
    SendMessageW(picker->Handle, WM_MOUSEMOVE, MK_LBUTTON, Packed(nearB.X, nearB.Y));
    ASSERT_EQ(GetCapture(), static_cast<HWND>(picker->Handle));

    SetCapture(host->Get());
    EXPECT_EQ(picker->IsTriangleDragging.Get(), 0);
    EXPECT_EQ(recorder.ups, 1) << "owners bound to the release hear of it";
    float s = 0, v = 0;
    SVFromMarker(g, nearB, s, v);
    PumpUntil([&] { return recorder.colors.back() == HsvToArgb(0, s, v); }, 5000);
    EXPECT_EQ(recorder.colors.back(), HsvToArgb(0, s, v)) << "the last colour is reported";
    ReleaseCapture();

    // The timers stopped: once reports already on their way are in, a new
    // colour is reported by its setter only, though ticks have come due.
    testsupport::PumpTimerPeriods(HSVColorPicker::kTimerPeriodMs, 2);
    const size_t reports = recorder.colors.size();
    picker->SetHSV(HSVColor(0, 0.2f, 0.2f));
    const size_t afterSet = recorder.colors.size();
    EXPECT_EQ(afterSet, reports + 1);
    testsupport::PumpTimerPeriods(HSVColorPicker::kTimerPeriodMs, 4);
    EXPECT_EQ(recorder.colors.size(), afterSet);
}

// --- Threads end with their owner ------------------------------------------

TEST_F(PickerTest, DestroyingMidDragEndsBothTimerThreads)
{
    const std::set<DWORD> before = ProcessThreads();
    const Gdiplus::PointF centre = picker->Geometry().centre;
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(centre.X, centre.Y));
    SendMessageW(picker->Handle, WM_MOUSEMOVE, MK_LBUTTON, Packed(centre.X - 20, centre.Y + 10));
    std::vector<DWORD> added;
    for (DWORD id : ProcessThreads())
        if (!before.count(id)) added.push_back(id);
    ASSERT_EQ(added.size(), 2u) << "a paint and a colour timer thread";

    picker.reset();
    for (DWORD id : added) EXPECT_TRUE(ThreadEnded(id)) << id;
}

TEST_F(PickerTest, WindowGoneFirstEndsTheThreadsToo)
{
    const std::set<DWORD> before = ProcessThreads();
    const Gdiplus::PointF centre = picker->Geometry().centre;
    SendMessageW(picker->Handle, WM_LBUTTONDOWN, MK_LBUTTON, Packed(centre.X, centre.Y));
    std::vector<DWORD> added;
    for (DWORD id : ProcessThreads())
        if (!before.count(id)) added.push_back(id);
    ASSERT_EQ(added.size(), 2u);

    host.reset();  // the parent takes the picker's window with it
    for (DWORD id : added) EXPECT_TRUE(ThreadEnded(id)) << id;
    EXPECT_EQ(picker->IsCreated.Get(), 0);
    Pump(0);  // what the window left queued
}

}  // namespace
