#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend/device/LightLevel.h"
#include "tests/support/HotkeyStandIn.h"
#include "tests/support/RegistryValue.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/windows/selector/SelectorGeometry.h"
#include "ui/windows/selector/SelectorWnd.h"
#include "ui/windows/selector/SentLevels.h"

using namespace windowstest;
using testsupport::HotkeyStandIn;
using testsupport::ScopedRegistryDword;

namespace {

// The skin's sizes at 100 %: track 152 x 6 at (14, 33) of a 177 x 56 window, pin 21 x 23.
constexpr int kWindowW = 177, kWindowH = 56, kTrackX = 14, kTrackY = 33;
constexpr int kTrackW = 152, kTrackH = 6, kPinW = 21, kPinH = 23;

SelectorGeometry SkinGeometry(int scale)
{
    return SelectorGeometry(kWindowW * scale, kWindowH * scale, kTrackX * scale, kTrackY * scale, kTrackW * scale,
                            kTrackH * scale, kPinW * scale, kPinH * scale);
}

void ExpectArea(const Gdiplus::RectF& area, float x, float y, float w, float h)
{
    EXPECT_FLOAT_EQ(area.X, x);
    EXPECT_FLOAT_EQ(area.Y, y);
    EXPECT_FLOAT_EQ(area.Width, w);
    EXPECT_FLOAT_EQ(area.Height, h);
}

}  // namespace

TEST(SelectorGeometryTest, PinAndHitAreasAtBothScales)
{
    const SelectorGeometry g1 = SkinGeometry(1);
    EXPECT_EQ(g1.Travel(), 142);
    EXPECT_EQ(g1.LevelOffset(0), 0);
    EXPECT_EQ(g1.LevelOffset(1), 47);
    EXPECT_EQ(g1.LevelOffset(2), 94);
    EXPECT_EQ(g1.LevelOffset(3), 142);
    EXPECT_EQ(g1.PinBaseX(), 7);
    EXPECT_EQ(g1.PinY(), 24);
    // Pin areas: x = 7 + 3 + offset, y = 24 + 7, w = 42 / 3, h = 184 / 23.
    ExpectArea(g1.Area(SelectorGeometry::PinArea(0)), 10, 31, 14, 8);
    ExpectArea(g1.Area(SelectorGeometry::PinArea(3)), 152, 31, 14, 8);
    ExpectArea(g1.Area(SelectorGeometry::TrackSegmentArea(0)), 14, 33, 10, 6);
    ExpectArea(g1.Area(SelectorGeometry::TrackSegmentArea(2)), 104, 33, 14, 6);
    ExpectArea(g1.Area(SelectorGeometry::kPinSpanArea), 10, 31, 156, 8);
    ExpectArea(g1.Area(SelectorGeometry::kWindowArea), 0, 0, 177, 56);

    const SelectorGeometry g2 = SkinGeometry(2);
    EXPECT_EQ(g2.Travel(), 283);
    EXPECT_EQ(g2.LevelOffset(1), 94);
    EXPECT_EQ(g2.LevelOffset(3), 283);
    EXPECT_EQ(g2.PinBaseX(), 28 - 14);
    EXPECT_EQ(g2.PinY(), 66 + 6 - 24);
    ExpectArea(g2.Area(SelectorGeometry::PinArea(1)), 14 + 7 + 94, 48 + 14, 28, 16);
}

TEST(SelectorGeometryTest, PercentageRoundsHalfUp)
{
    const SelectorGeometry g = SkinGeometry(1);
    const struct {
        int offset;
        int percent;
    } cases[] = {{0, 0}, {47, 33}, {94, 66}, {142, 100}, {71, 50}, {1, 1}, {141, 99}};
    for (const auto& c : cases) EXPECT_EQ(g.Percentage(c.offset), c.percent) << c.offset;
    EXPECT_EQ(SelectorGeometry().Percentage(5), 0) << "no images, no division by zero";
}

TEST(SelectorGeometryTest, NearestLevelTiesGoToTheLowerLevel)
{
    // Track 160, pin 20: offsets 0, 50, 100, 150, pin areas 50 apart.
    const SelectorGeometry g(200, 60, 20, 30, 160, 6, 20, 23);
    const struct {
        int offset;
        int fallback;
        int level;
    } cases[] = {
        {0, 2, 0}, {24, 3, 0}, {25, 3, 0}, {26, 3, 1}, {75, 0, 1}, {76, 0, 2}, {150, 0, 3}, {170, 0, 3},
        // Farther than the whole travel from every level: the committed level stays.
        {-1000, 2, 2}, {1000, 1, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(g.NearestLevel(c.offset, c.fallback), c.level) << c.offset;
}

TEST(SelectorGeometryTest, DragKeepsThePinBetweenTheEndLevels)
{
    const SelectorGeometry g = SkinGeometry(1);
    EXPECT_EQ(g.ClampDragOffset(1, -100), -47);
    EXPECT_EQ(g.ClampDragOffset(1, 200), 95);
    EXPECT_EQ(g.ClampDragOffset(1, 20), 20);
    EXPECT_EQ(g.ClampDragOffset(0, -1), 0);
    EXPECT_EQ(g.ClampDragOffset(3, 1), 0);
}

// Without "SLIDER_0" the track has no size: the pin stays at its base for
// every level and drag, and the percentage stays 0.
TEST(SelectorGeometryTest, WithoutTheTrackImageThePinStaysAtItsBase)
{
    const SelectorGeometry g(kWindowW, kWindowH, kTrackX, kTrackY, 0, 0, kPinW, kPinH);
    EXPECT_EQ(g.Travel(), 0);
    for (int level = 0; level < SelectorGeometry::kLevels; ++level) {
        EXPECT_EQ(g.LevelOffset(level), 0) << level;
        for (int drag : {-30, -1, 1, 30}) EXPECT_EQ(g.ClampDragOffset(level, drag), 0) << level << " " << drag;
    }
    EXPECT_EQ(g.Percentage(10), 0);
    EXPECT_EQ(g.NearestLevel(0, 2), 2);
}

TEST(SelectorText, PercentInPlainAndNativeDigits)
{
    const wchar_t arabicIndic[] = L"\x0660\x0661\x0662\x0663\x0664\x0665\x0666\x0667\x0668\x0669";
    const struct {
        int percent;
        int lang;
        const wchar_t* digits;
        std::wstring text;
    } cases[] = {
        {100, 0, arabicIndic, L"100%"},
        {33, 4, L"0123456789", L"33%"},
        {100, 4, arabicIndic, L"\x066A\x0661\x0660\x0660"},
        {0, 4, arabicIndic, L"\x066A\x0660"},
        {66, 4, arabicIndic, L"\x066A\x0666\x0666"},
        // A digit string too short to index is not used.
        {100, 4, L"\x0660\x0661", L"100%"},
        {50, 4, nullptr, L"50%"},
    };
    for (const auto& c : cases) {
        wchar_t text[CSelectorWnd::kTextChars] = {};
        CSelectorWnd::FormatPercentText(c.percent, c.lang, c.digits, text, CSelectorWnd::kTextChars);
        EXPECT_EQ(std::wstring(text), c.text) << c.percent << " " << c.lang;
    }
    wchar_t tiny[3] = {};
    CSelectorWnd::FormatPercentText(100, 4, arabicIndic, tiny, 3);
    EXPECT_EQ(std::wstring(tiny), L"10") << "cut to the buffer, never past it";
}

namespace {

struct SentLevelsStep {
    bool send;
    int level;
    bool taken;  // for a report
};
SentLevelsStep Send(int level) { return {true, level, false}; }
SentLevelsStep Report(int level, bool taken) { return {false, level, taken}; }

}  // namespace

// A table of sends and watcher reports: which reports show.
TEST(SentLevelsTest, OnlyTheLastSendsReportOrOneWithNothingSentIsTaken)
{
    const struct {
        const char* name;
        std::vector<SentLevelsStep> steps;
    } cases[] = {
        {"nothing sent", {Report(2, true), Report(0, true)}},
        {"reports one by one", {Send(1), Send(2), Send(3), Report(1, false), Report(2, false), Report(3, true)}},
        {"the watcher skips to the last", {Send(1), Send(2), Report(2, true), Report(1, true)}},
        {"back to an earlier level", {Send(1), Send(2), Send(1), Report(1, false), Report(2, false), Report(1, true)}},
        {"read before the service acted", {Send(2), Report(1, false), Report(2, true)}},
        {"a send after a report", {Send(1), Report(1, true), Send(3), Report(1, false), Report(3, true)}},
    };
    for (const auto& c : cases) {
        SentLevels sent;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const SentLevelsStep& step = c.steps[i];
            if (step.send)
                sent.Sent(step.level);
            else
                EXPECT_EQ(sent.TakeReport(step.level), step.taken) << c.name << ", step " << i;
        }
        EXPECT_FALSE(sent.Awaiting()) << c.name << ": the last send's report came";
    }
}

namespace {

constexpr int kHostX = 150, kHostY = 150, kHostW = 300, kHostH = 120;
constexpr int kSelectorX = 40, kSelectorY = 30;
constexpr uint32_t kBackground = 0x203040;
// Only keeps a broken build from hanging.
constexpr DWORD kWaitMs = 5000;

void RemovePackageKey()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VORN", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteTreeW(key, L"VKP Package");
    RegCloseKey(key);
}

// A selector in a host window over a plain background, the level kept in the
// package key by the hotkey stand-in, as on a machine with the package. A
// watch in front of the selector's window procedure notes every level its
// pin takes (during a drag the nearest one) and the messages it handled.
class SelectorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureUiEnvironment();
        RemovePackageKey();
        MoveCursorTo(5, 5);
        background = SolidBackground(kHostW, kHostH, kBackground);
    }
    void TearDown() override
    {
        LeftButton(false);
        MoveCursorTo(5, 5);
        watch.reset();
        selector.reset();
        Pump(0);
        RemovePackageKey();
    }

    void CreateSelector()
    {
        selector = std::make_unique<CSelectorWnd>();
        ASSERT_TRUE(selector->Create(&host, background->GetSafeHdc(), kSelectorX, kSelectorY, kWindowW, kWindowH,
                                     kTrackX, kTrackY));
        pinLevels = {selector->CommittedLevel()};
        watch = std::make_unique<WindowWatch>(selector->GetSafeHwnd(), [this] {
            if (pinLevels.back() != selector->CommittedLevel()) pinLevels.push_back(selector->CommittedLevel());
        });
    }

    // The screen point of a window point of the selector.
    POINT Screen(int x, int y) const
    {
        POINT point = {x, y};
        ClientToScreen(selector->GetSafeHwnd(), &point);
        return point;
    }
    // Moves the real pointer there and waits until the selector has seen it.
    void MoveTo(int x, int y)
    {
        const POINT point = Screen(x, y);
        POINT cursor = {};
        // A move to where the pointer already stands need bring no message.
        if (GetCursorPos(&cursor) && cursor.x == point.x && cursor.y == point.y) return;
        const int moves = watch->Handled(WM_MOUSEMOVE);
        MoveCursorTo(point.x, point.y);
        ASSERT_TRUE(DispatchUntil(
            [&] {
                return watch->Handled(WM_MOUSEMOVE) > moves && watch->LastPointer().x == x &&
                       watch->LastPointer().y == y;
            },
            kWaitMs))
            << "the selector never saw the pointer at " << x << "," << y;
    }
    // Presses or releases the real button and waits until the selector has taken it.
    void Button(bool down)
    {
        const UINT message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        const int before = watch->Handled(message);
        LeftButton(down);
        ASSERT_TRUE(DispatchUntil([&] { return watch->Handled(message) > before; }, kWaitMs))
            << (down ? "no press" : "no release");
    }
    void Click(int x, int y)
    {
        MoveTo(x, y);
        Button(true);
        Button(false);
    }
    POINT CentreOf(int area) const
    {
        const Gdiplus::RectF& r = selector->Geometry().Area(area);
        return POINT{static_cast<int>(r.X + r.Width / 2), static_cast<int>(r.Y + r.Height / 2)};
    }
    // Presses the real pointer on a level's pin; returns where.
    POINT PressPin(int level)
    {
        const POINT pin = CentreOf(SelectorGeometry::PinArea(level));
        MoveTo(pin.x, pin.y);
        Button(true);
        return pin;
    }
    // Moves the held pointer along the row to toX in steps of 8 pixels, as a hand drags.
    void DragTo(int fromX, int toX, int y)
    {
        const int step = toX >= fromX ? 8 : -8;
        for (int x = fromX + step; step > 0 ? x < toX : x > toX; x += step) MoveTo(x, y);
        MoveTo(toX, y);
    }
    int LevelReports() const { return watch->Handled(kLightLevelChangedMessage); }
    // The stand-in writes its oldest held request; waits until the watcher's
    // report of it has reached the selector.
    void ReleaseHeldLevel(const HotkeyStandIn& service)
    {
        const int before = LevelReports();
        ASSERT_TRUE(service.ReleaseHeldLevel()) << "no request was held";
        ASSERT_TRUE(DispatchUntil([&] { return LevelReports() > before; }, kWaitMs)) << "no report came";
    }
    bool LevelStoredIs(DWORD level)
    {
        return PumpUntil([&] { return ScopedRegistryDword::Get(kVkpPackageKey, kLightLevelValueName) == level; },
                         kWaitMs);
    }

    RecordingHost host{kHostX, kHostY, kHostW, kHostH};
    std::unique_ptr<CMemoryDC> background;
    std::unique_ptr<CSelectorWnd> selector;
    std::unique_ptr<WindowWatch> watch;
    std::vector<int> pinLevels;
};

}  // namespace

TEST_F(SelectorWindow, ShowsTheStoredLevelAndFollowsTheRegistry)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 2);
    HotkeyStandIn service(false);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();
    EXPECT_TRUE(selector->IsWatcherRunning());
    EXPECT_EQ(selector->DisplayedLevel(), 2);
    EXPECT_EQ(selector->LastPercentage(), 66);

    // Pixels: the filled track reaches the pin, the empty track lies beyond it.
    const testsupport::Pixels before = PixelsOf(selector->BackBuffer());
    const int trackRow = kTrackY + kTrackH / 2;
    const uint32_t filled = before.At(kTrackX + 20, trackRow);
    const uint32_t empty = before.At(kTrackX + kTrackW - 4, trackRow);
    EXPECT_GT((filled >> 16) & 0xFF, 0x80u) << std::hex << filled;
    EXPECT_LT((empty >> 16) & 0xFF, 0x40u) << std::hex << empty;

    // Another program (a hotkey) changes the level: the watcher brings it.
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 0x13);
    ASSERT_TRUE(PumpUntil([&] { return selector->DisplayedLevel() == 3; }, kWaitMs));
    EXPECT_EQ(selector->LastPercentage(), 100);
    const testsupport::Pixels after = PixelsOf(selector->BackBuffer());
    EXPECT_GT((after.At(kTrackX + kTrackW - 4, trackRow) >> 16) & 0xFF, 0x80u);
    // What came from the watcher is not sent back to the hotkey service.
    EXPECT_TRUE(service.RequestsSoFar().empty());
}

TEST_F(SelectorWindow, ClickBesideThePinStepsOneLevelThroughTheHotkeyService)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 1);
    HotkeyStandIn service(true);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();
    ASSERT_EQ(selector->DisplayedLevel(), 1);

    // On level 3's segment, right of the pin: one step up, not a jump.
    const POINT right = CentreOf(SelectorGeometry::TrackSegmentArea(3));
    Click(right.x, right.y);
    EXPECT_EQ(selector->DisplayedLevel(), 2);
    EXPECT_EQ(service.Requests(1), (std::vector<std::string>{"199 130"}));
    EXPECT_TRUE(LevelStoredIs(2));

    Click(right.x, right.y);
    EXPECT_EQ(selector->DisplayedLevel(), 3);
    EXPECT_TRUE(LevelStoredIs(3));
    // At the top a click to the right changes nothing.
    const POINT end = {kWindowW - 2, right.y};
    Click(end.x, end.y);
    EXPECT_EQ(selector->DisplayedLevel(), 3);

    const POINT left = CentreOf(SelectorGeometry::TrackSegmentArea(0));
    Click(left.x, left.y);
    EXPECT_EQ(selector->DisplayedLevel(), 2);
    EXPECT_TRUE(LevelStoredIs(2));
    EXPECT_EQ(service.RequestsSoFar(), (std::vector<std::string>{"199 130", "199 131", "199 130"}));
}

TEST_F(SelectorWindow, DraggedPinCommitsTheNearestLevelAndSnapsThere)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 0);
    HotkeyStandIn service(true);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();
    ASSERT_EQ(selector->DisplayedLevel(), 0);

    const POINT pin = PressPin(0);
    ASSERT_TRUE(selector->IsDragging());
    EXPECT_EQ(selector->PinStateNow(), CSelectorWnd::PinPressed);
    // Past level 2, nearer to it than to level 3.
    const int target = pin.x + selector->Geometry().LevelOffset(2) + 10;
    DragTo(pin.x, target, pin.y);
    EXPECT_EQ(selector->CommittedLevel(), 2);
    EXPECT_EQ(selector->DisplayedLevel(), 0) << "the drag moves the pin, the level follows at the release";
    EXPECT_EQ(selector->PinX(), selector->Geometry().PinBaseX() + target - pin.x);
    Button(false);

    EXPECT_FALSE(selector->IsDragging());
    EXPECT_EQ(selector->DisplayedLevel(), 2);
    EXPECT_EQ(selector->PinX(), selector->Geometry().PinBaseX() + selector->Geometry().LevelOffset(2));
    EXPECT_EQ(selector->LastPercentage(), 66);
    EXPECT_TRUE(LevelStoredIs(2));
    // Passing level 1 on the way sent it too; the last request is the level let go at.
    EXPECT_EQ(service.RequestsSoFar(), (std::vector<std::string>{"199 129", "199 130"}));

    // A drag whose capture another window takes ends there, at the nearest level.
    const POINT pin2 = PressPin(2);
    ASSERT_TRUE(selector->IsDragging());
    MoveTo(pin2.x + selector->Geometry().LevelOffset(1) - 5, pin2.y);
    EXPECT_EQ(selector->CommittedLevel(), 3);
    SetCapture(host.GetSafeHwnd());
    EXPECT_FALSE(selector->IsDragging());
    EXPECT_EQ(selector->DisplayedLevel(), 3);
    ReleaseCapture();
    Button(false);
    EXPECT_TRUE(selector->SetLevel(true, 1)) << "level changes are taken again";
}

// Held down on another level's pin, away from the window and back: the press
// is still known there, so the level arriving from elsewhere (a hotkey)
// shows the pin pressed under the held button.
TEST_F(SelectorWindow, APressHeldAwayAndBackStillCountsWhenItsLevelArrives)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 1);
    CreateSelector();
    ASSERT_TRUE(selector->IsWatcherRunning());
    const POINT pin = CentreOf(SelectorGeometry::PinArea(2));
    // The pin's middle lies on its level's track segment, which comes first.
    const int pinArea = selector->GetTracker().HitTest(pin.x, pin.y);
    ASSERT_TRUE(SelectorGeometry::IsLevelArea(pinArea, 2));
    MoveTo(pin.x, pin.y);
    Button(true);
    EXPECT_EQ(selector->GetTracker().GetPressed(), pinArea);
    EXPECT_FALSE(selector->IsDragging());

    MoveCursorTo(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return selector->GetTracker().GetHovered() == -1; }, kWaitMs)) << "no leave";
    EXPECT_EQ(selector->GetTracker().GetPressed(), pinArea) << "leaving dropped the press";
    MoveTo(pin.x, pin.y);
    EXPECT_EQ(selector->GetTracker().GetHovered(), pinArea);

    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 2);
    ASSERT_TRUE(PumpUntil([&] { return selector->DisplayedLevel() == 2; }, kWaitMs));
    EXPECT_EQ(selector->PinStateNow(), CSelectorWnd::PinPressed);
    Button(false);
    EXPECT_EQ(selector->GetTracker().GetPressed(), -1);
    EXPECT_EQ(selector->PinStateNow(), CSelectorWnd::PinHover);
}

// A quick drag from 0 to 1 and back: the request for 1 reaches the service,
// the one for 0 finds the level still at 0 and is not sent. The service then
// sets 1 while the pin is still held, so the watcher's report comes mid-drag;
// at the release the selector asks the level again and shows the keyboard's.
TEST_F(SelectorWindow, ALevelReportedDuringADragShowsWhenTheDragEnds)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 0);
    HotkeyStandIn service(false);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();
    ASSERT_EQ(selector->DisplayedLevel(), 0);

    const POINT pin = PressPin(0);
    ASSERT_TRUE(selector->IsDragging());
    const int pastOne = pin.x + selector->Geometry().LevelOffset(1) + 5;
    DragTo(pin.x, pastOne, pin.y);
    ASSERT_EQ(selector->CommittedLevel(), 1);
    EXPECT_EQ(service.Requests(1), (std::vector<std::string>{"199 129"}));
    DragTo(pastOne, pin.x, pin.y);
    ASSERT_EQ(selector->CommittedLevel(), 0);

    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 1);
    ASSERT_TRUE(DispatchUntil([&] { return LevelReports() == 1; }, kWaitMs)) << "no watcher report";
    ASSERT_TRUE(selector->IsDragging());
    EXPECT_EQ(selector->DisplayedLevel(), 0) << "the drag holds the pin";

    Button(false);
    EXPECT_FALSE(selector->IsDragging());
    EXPECT_EQ(selector->DisplayedLevel(), 1);
    EXPECT_EQ(selector->CommittedLevel(), 1);
    EXPECT_EQ(selector->LastPercentage(), 33);
    EXPECT_EQ(service.RequestsSoFar(), (std::vector<std::string>{"199 129"})) << "the level read was sent back";
}

// A drag from 0 to 3 sends 1, 2 and 3 before the service has taken any;
// their reports come after the release, one by one: the pin stays at 3.
TEST_F(SelectorWindow, ReportsOfEarlierSendsNeverMoveThePinBack)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 0);
    HotkeyStandIn service(true, true);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();

    const POINT pin = PressPin(0);
    ASSERT_TRUE(selector->IsDragging());
    DragTo(pin.x, pin.x + selector->Geometry().LevelOffset(3), pin.y);
    ASSERT_EQ(selector->CommittedLevel(), 3);
    ASSERT_EQ(service.Requests(3), (std::vector<std::string>{"199 129", "199 130", "199 131"}));
    Button(false);
    ASSERT_EQ(selector->DisplayedLevel(), 3);

    for (int i = 0; i < 3; ++i) ReleaseHeldLevel(service);
    EXPECT_EQ(selector->DisplayedLevel(), 3);
    EXPECT_EQ(pinLevels, (std::vector<int>{0, 1, 2, 3}));
}

// The service takes the request for 1 while the pin is held, so its report
// comes mid-drag; the release at 2 comes before the service has taken 2,
// while the registry still holds 1: the pin stays at 2 and its report
// finds it there.
TEST_F(SelectorWindow, ADragLetGoBeforeItsLastReportKeepsThePin)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 0);
    HotkeyStandIn service(true, true);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();

    const POINT pin = PressPin(0);
    const int pastOne = pin.x + selector->Geometry().LevelOffset(1) + 5;
    DragTo(pin.x, pastOne, pin.y);
    ASSERT_EQ(selector->CommittedLevel(), 1);
    ASSERT_EQ(service.Requests(1), (std::vector<std::string>{"199 129"}));
    ReleaseHeldLevel(service);
    ASSERT_TRUE(selector->IsDragging());

    const int pastTwo = pin.x + selector->Geometry().LevelOffset(2) + 5;
    DragTo(pastOne, pastTwo, pin.y);
    ASSERT_EQ(selector->CommittedLevel(), 2);
    ASSERT_EQ(service.Requests(2), (std::vector<std::string>{"199 129", "199 130"}));
    Button(false);
    EXPECT_EQ(selector->DisplayedLevel(), 2);

    ReleaseHeldLevel(service);
    EXPECT_EQ(selector->DisplayedLevel(), 2);
    EXPECT_EQ(pinLevels, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(service.RequestsSoFar().size(), 2u) << "the level was sent again";
}

// A service that takes the request but never writes it back: a hotkey's
// report meanwhile is held back while the selector waits for its own, and
// shows once the wait is over; after that the selector follows again.
TEST_F(SelectorWindow, AServiceThatNeverAnswersDoesNotHoldThePin)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 1);
    HotkeyStandIn service(false);
    ASSERT_TRUE(service.IsUp());
    CreateSelector();

    const POINT right = CentreOf(SelectorGeometry::TrackSegmentArea(3));
    Click(right.x, right.y);
    ASSERT_EQ(selector->DisplayedLevel(), 2);
    ASSERT_EQ(service.Requests(1), (std::vector<std::string>{"199 130"}));

    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 3);
    ASSERT_TRUE(DispatchUntil([&] { return LevelReports() == 1; }, kWaitMs)) << "no watcher report";
    EXPECT_EQ(selector->DisplayedLevel(), 2) << "taken while the selector waits for its own report";
    ASSERT_TRUE(PumpUntil([&] { return selector->DisplayedLevel() == 3; }, CSelectorWnd::kEchoWaitMs + kWaitMs))
        << "the wait never ended";

    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 0);
    ASSERT_TRUE(PumpUntil([&] { return selector->DisplayedLevel() == 0; }, kWaitMs));
    EXPECT_EQ(pinLevels, (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(SelectorWindow, LevelMessagesAreClampedAndOnlyTakenFromTheWatcher)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 1);
    CreateSelector();
    const HWND window = selector->GetSafeHwnd();
    const struct {
        WPARAM wParam;
        LPARAM lParam;
        int level;
    } cases[] = {{0, 7, 3}, {1, 1, 3}, {0, -1, 0}, {0, 2, 2}};
    for (const auto& c : cases) {
        PostMessageW(window, kLightLevelChangedMessage, c.wParam, c.lParam);
        Pump(0);
        EXPECT_EQ(selector->DisplayedLevel(), c.level) << c.wParam << " " << c.lParam;
    }

    EXPECT_FALSE(selector->SetLevel(true, 2)) << "already there";
    EXPECT_TRUE(selector->SetLevel(false, CSelectorWnd::StepUp));
    EXPECT_FALSE(selector->SetLevel(false, CSelectorWnd::StepUp)) << "no wrap-around";
    EXPECT_TRUE(selector->SetLevel(false, CSelectorWnd::StepUpWrapping));
    EXPECT_EQ(selector->DisplayedLevel(), 0);
    EXPECT_FALSE(selector->SetLevel(false, CSelectorWnd::StepDown));

    // The window shows what the back buffer holds: percentage, track and pin
    // (once Wine has put the window's pixels on the screen).
    RECT r = {};
    GetWindowRect(window, &r);
    CMemoryDC shot;
    shot.Resize(r.right - r.left, r.bottom - r.top);
    const auto differing = [&] {
        {
            platform::WindowDc screen;
            BitBlt(shot, 0, 0, shot.Width(), shot.Height(), screen.Get(), r.left, r.top, SRCCOPY);
        }
        return DifferingPixels(PixelsOf(shot), PixelsOf(selector->BackBuffer()));
    };
    EXPECT_TRUE(PumpUntil([&] { return differing() == 0; }, kWaitMs)) << differing() << " pixels differ";

    EnableWindow(window, FALSE);
    EXPECT_FALSE(selector->SetLevel(true, 3)) << "disabled";
    EnableWindow(window, TRUE);
    EXPECT_TRUE(selector->SetLevel(true, 3));
}

TEST_F(SelectorWindow, WithoutALevelSourceShowsLevelOneAndTellsTheMainWindow)
{
    CreateSelector();
    EXPECT_FALSE(selector->IsWatcherRunning());
    EXPECT_EQ(selector->DisplayedLevel(), 1);
    EXPECT_EQ(selector->LastPercentage(), 33);
    PostMessageW(selector->GetSafeHwnd(), kLightLevelChangedMessage, 0, 3);
    Pump(0);
    EXPECT_EQ(selector->DisplayedLevel(), 1) << "no watcher, nothing to follow";

    host.Clear();
    const POINT right = CentreOf(SelectorGeometry::TrackSegmentArea(3));
    Click(right.x, right.y);
    EXPECT_EQ(selector->DisplayedLevel(), 2);
    // Posted while the release was handled: queued now.
    Pump(0);
    const std::vector<RecordingHost::Record> posted = host.Received(kLightLevelChangedMessage);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 0u);
    EXPECT_EQ(posted[0].lParam, 2);
}

TEST_F(SelectorWindow, PinFadeStopsItsTimerWhenItEnds)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, 1);
    CreateSelector();
    const HWND window = selector->GetSafeHwnd();
    const testsupport::Pixels normal = PixelsOf(selector->BackBuffer());

    const POINT pin = CentreOf(SelectorGeometry::PinArea(1));
    MoveTo(pin.x, pin.y);
    ASSERT_EQ(selector->PinStateNow(), CSelectorWnd::PinHover);
    ASSERT_TRUE(selector->IsAnimating());
    ASSERT_TRUE(DispatchUntil([&] { return !selector->IsAnimating(); }, kWaitMs));
    EXPECT_GT(watch->Handled(WM_TIMER), 0) << "the hover face fades in on the timer";
    // The hover face shows the glow around the pin.
    EXPECT_GT(DifferingPixels(normal, PixelsOf(selector->BackBuffer())), 0);
    EXPECT_FALSE(KillTimer(window, CSelectorWnd::kPinTimerId)) << "the fade's timer outlived it";
}
