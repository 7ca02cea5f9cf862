#include <gtest/gtest.h>

#include <string>

#include "tests/support/Polling.h"
#include "tests/support/TraceCapture.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/combo/ComboBox3.h"
#include "ui/windows/combo/ComboBoxBtn3.h"
#include "ui/windows/combo/ComboBoxList3.h"

using namespace windowstest;

namespace {

constexpr int kHostX = 100, kHostY = 100;
constexpr int kBoxX = 20, kBoxY = 30;
constexpr uint32_t kBackground = 0x101820;
constexpr UINT kZoneModeChanged = 0x667;  // WM_ZONEMODE_CHANGED
constexpr int kRowHeight = 36;
// Only keeps a broken build from hanging.
constexpr DWORD kWaitMs = testsupport::kPatienceMs;

TEST(ComboMetricsTest, ScaleRoundsHalfAwayFromZeroAndRightToLeftPadsTheRight)
{
    const struct {
        float scale;
        int lang;
        int width, height, left, right, edge;
    } cases[] = {
        {1.0f, 0, 287, 36, 15, 0, 5},
        {1.5f, 0, 431, 54, 23, 0, 8},
        {2.0f, 4, 574, 72, 30, 50, 10},
        {1.0f, 4, 287, 36, 15, 25, 5},
    };
    for (const auto& c : cases) {
        const ComboMetrics m = ComputeComboMetrics(c.scale, c.lang);
        EXPECT_EQ(m.boxWidth, c.width) << c.scale;
        EXPECT_EQ(m.boxHeight, c.height) << c.scale;
        EXPECT_EQ(m.boxTextLeft, c.left) << c.scale;
        EXPECT_EQ(m.listTextLeft, c.left) << c.scale;
        EXPECT_EQ(m.textRight, c.right) << c.scale << " lang " << c.lang;
        EXPECT_EQ(m.rowEdge, c.edge) << c.scale;
        EXPECT_EQ(m.ListWidth(), c.width);
        EXPECT_EQ(m.ItemHeight(), c.height);
    }
}

TEST(ComboItems, TextLengthAndItemCountAreBounded)
{
    EnsureUiEnvironment();
    testsupport::TraceCapture trace;
    CComboBox3 combo;
    EXPECT_EQ(combo.AddString(std::wstring(260, L'x').c_str()), 0);
    EXPECT_EQ(combo.AddString(nullptr), 0);
    EXPECT_EQ(combo.AddString(std::wstring(259, L'x').c_str()), 1);
    for (const wchar_t* text : {L"WASD", L"QWER", L"4 zones"}) EXPECT_EQ(combo.AddString(text), 1);
    EXPECT_EQ(combo.GetCount(), 4);
    EXPECT_EQ(combo.AddString(L"fifth"), 0);
    EXPECT_EQ(combo.GetCount(), 4);
    // Refused as a request not supported, not as memory running out.
    const std::wstring log = trace.Text();
    EXPECT_NE(log.find(L"CComboBox3::AddString -> a fifth item is refused error: 50 - "), std::wstring::npos)
        << std::string(log.begin(), log.end());
    EXPECT_EQ(combo.GetCurSel(), -1) << "no box yet: nothing becomes current";
    for (int bad : {-1, 4}) EXPECT_EQ(combo.SetCurSel(bad), 0) << bad;
    EXPECT_EQ(combo.SetCurSel(3), 1);
    EXPECT_EQ(combo.GetCurSel(), 3);
}

TEST(ComboBounds, BoxFollowsTheScaleAtItsPlace)
{
    EnsureUiEnvironment();
    g_fUIScale = 1.25f;
    CComboBox3 combo;
    combo.LoadImages(::GetModuleHandleW(nullptr), nullptr, 40, 50, nullptr);
    combo.Prerender();
    const ComboRect box = combo.GetBoxRect();
    EXPECT_EQ(box.x, 40);
    EXPECT_EQ(box.y, 50);
    EXPECT_EQ(box.width, 359);  // 358.75
    EXPECT_EQ(box.height, 45);
    g_fUIScale = 1.0f;
}

class ZoneCombo : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureUiEnvironment();
        background = SolidBackground(500, 300, kBackground);
        Build({L"All keys", L"WASD", L"QWER"});
        MoveCursorTo(5, 5);
        Pump(0);
    }
    void TearDown() override
    {
        LeftButton(false);
        combo.Release();
        MoveCursorTo(5, 5);
        Pump(0);
    }
    void Build(std::initializer_list<const wchar_t*> items)
    {
        combo.Release();
        combo.LoadImages(::GetModuleHandleW(nullptr), &host, kBoxX, kBoxY, background->GetSafeHdc());
        combo.Prerender();
        ASSERT_EQ(combo.Create(), 1);
        combo.FreeImages();
        for (const wchar_t* item : items) ASSERT_EQ(combo.AddString(item), 1);
    }
    // Returns the click's time stamp.
    DWORD Click(int x, int y)
    {
        MoveCursorTo(x, y);
        return testsupport::LeftClick();
    }
    // Clicks the box with the real pointer; returns the list as soon as the
    // press has made it, before its slide timer can have ticked.
    CComboBoxList3* ClickOpen()
    {
        openClick = Click(kHostX + kBoxX + 100, kHostY + kBoxY + 18);
        if (!DispatchUntil([&] { return combo.GetButton()->IsOpen(); }, kWaitMs)) return nullptr;
        CComboBoxList3* list = combo.GetList();
        return list && list->GetSafeHwnd() ? list : nullptr;
    }
    // Opens the list with the real pointer and waits until it has slid open
    // and taken the mouse.
    CComboBoxList3* Open()
    {
        CComboBoxList3* list = ClickOpen();
        if (!list || !DispatchUntil([&] { return ::GetCapture() == list->GetSafeHwnd(); }, kWaitMs)) return nullptr;
        return list;
    }
    std::vector<RecordingHost::Record> Choices() { return host.Received(kZoneModeChanged); }
    void PressKey(CComboBoxList3* list, WPARAM key)
    {
        // Keys go wherever the focus is; the list must have it.
        ASSERT_EQ(::GetFocus(), list->GetSafeHwnd());
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
        Pump(0);
    }

    RecordingHost host{kHostX, kHostY, 500, 300};
    std::unique_ptr<CMemoryDC> background;
    CComboBox3 combo;
    // The time stamp of the click that opened the list last.
    DWORD openClick = 0;
};

TEST_F(ZoneCombo, TheBoxShowsTheFirstItem)
{
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetButton()->GetItemIndex(), 0);
    // White text on the dark box: bright pixels in the text area.
    const testsupport::Pixels face = PixelsOf(combo.GetButton()->GetFace());
    ASSERT_EQ(face.width, 287);
    int bright = 0;
    for (int y = 0; y < face.height; ++y)
        for (int x = 15; x < 150; ++x)
            if ((face.Rgb(x, y) & 0xFF) > 0xC0 && ((face.Rgb(x, y) >> 8) & 0xFF) > 0xC0) ++bright;
    EXPECT_GT(bright, 20);
}

// Every step of the slide, as its timer brings them: the list grows from a
// sliver and takes the mouse only at its full height.
TEST_F(ZoneCombo, OpensBelowTheBoxSlidingDownThenTakesTheMouse)
{
    CComboBoxList3* list = ClickOpen();
    ASSERT_NE(list, nullptr) << "the list did not open";
    const HWND window = list->GetSafeHwnd();
    std::vector<int> heights;  // after each step
    bool mouseTakenEarly = false;
    ASSERT_TRUE(DispatchUntil(
        [&] {
            while (static_cast<int>(heights.size()) < list->GetStep() - 1) {
                RECT r;
                ::GetWindowRect(window, &r);
                heights.push_back(r.bottom - r.top);
                if (static_cast<int>(heights.size()) < CComboBoxList3::kSlideSteps && ::GetCapture() == window)
                    mouseTakenEarly = true;
            }
            return ::GetCapture() == window;
        },
        kWaitMs))
        << "the list never took the mouse";
    ASSERT_EQ(heights.size(), static_cast<size_t>(CComboBoxList3::kSlideSteps));
    EXPECT_LT(heights.front(), 3 * kRowHeight / 4);
    for (size_t i = 1; i < heights.size(); ++i) EXPECT_GT(heights[i], heights[i - 1]) << "step " << i + 1;
    EXPECT_EQ(heights.back(), 3 * kRowHeight);
    EXPECT_FALSE(mouseTakenEarly) << "the mouse was taken before the last step";
    EXPECT_FALSE(::KillTimer(window, CComboBoxList3::kSlideTimerId)) << "slide timer still set";
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.left, kHostX + kBoxX);
    EXPECT_EQ(r.top, kHostY + kBoxY + kRowHeight);
    EXPECT_EQ(r.right - r.left, 287);
    EXPECT_TRUE(combo.GetButton()->IsOpen());
    EXPECT_EQ(combo.GetButton()->GetShownState(), CComboBoxBtn3::Pressed);
    EXPECT_EQ(list->GetHovered(), 0) << "the current item is hovered at first";
}

// A quick second click on the box while its list slides open is the second
// half of a double click: the list that is opening stays and finishes.
TEST_F(ZoneCombo, ASecondClickDuringTheSlideKeepsTheOpeningList)
{
    CComboBoxList3* list = ClickOpen();
    ASSERT_NE(list, nullptr) << "no list";
    const HWND opening = list->GetSafeHwnd();
    // Held at its first step, so the second click surely comes during the slide.
    ASSERT_TRUE(::KillTimer(opening, CComboBoxList3::kSlideTimerId));
    ASSERT_EQ(list->GetStep(), 1);
    WindowWatch box(combo.GetButton()->GetSafeHwnd());
    // Stamped right after the first click: a double click however slow the machine.
    testsupport::LeftClick(openClick + 1);
    // The first click's release is still queued: two releases to come.
    ASSERT_TRUE(DispatchUntil([&] { return box.Handled(WM_LBUTTONUP) == 2; }, kWaitMs)) << "no second click";
    EXPECT_EQ(box.Handled(WM_LBUTTONDBLCLK), 1) << "the second click came as a press of its own";
    EXPECT_TRUE(::IsWindow(opening)) << "the second click opened the list again";
    ASSERT_EQ(combo.GetList()->GetSafeHwnd(), opening);
    // The slide goes on from where it was held.
    while (combo.GetList()->GetStep() <= CComboBoxList3::kSlideSteps)
        ::SendMessageW(opening, WM_TIMER, CComboBoxList3::kSlideTimerId, 0);
    EXPECT_EQ(::GetCapture(), opening);
    EXPECT_TRUE(combo.GetButton()->IsOpen());
}

// The list keeps its rows' own alpha (the rows are not quite opaque), its
// text included, and every pixel stays premultiplied.
TEST_F(ZoneCombo, TheListFaceKeepsTheRowsAlpha)
{
    CComboBoxList3* list = Open();
    ASSERT_NE(list, nullptr);
    const testsupport::Pixels face = PixelsOf(list->GetFace());
    ASSERT_EQ(face.height, 3 * 36);
    const uint32_t plainRow = face.At(250, 36 + 18);
    EXPECT_LT(plainRow >> 24, 0xFFu) << std::hex << plainRow;
    EXPECT_GT(plainRow >> 24, 0xC0u) << std::hex << plainRow;
    int text = 0, notPremultiplied = 0;
    for (uint32_t p : face.data) {
        const uint32_t a = p >> 24;
        if (((p >> 16) & 0xFF) > a || ((p >> 8) & 0xFF) > a || (p & 0xFF) > a) ++notPremultiplied;
        if ((p & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0) ++text;
    }
    EXPECT_EQ(notPremultiplied, 0);
    EXPECT_GT(text, 20) << "no text drawn (fonts missing?)";
    EXPECT_EQ(face.At(30, 36 + 18) >> 24, plainRow >> 24) << "the text's row lost its alpha";
}

TEST_F(ZoneCombo, PickingARowWithTheMousePostsTheChoice)
{
    CComboBoxList3* list = Open();
    ASSERT_NE(list, nullptr);
    const int rowY = kHostY + kBoxY + 36 + 2 * 36 + 18;
    MoveCursorTo(kHostX + kBoxX + 100, rowY);
    ASSERT_TRUE(PumpUntil([&] { return list->GetHovered() == 2; }, kWaitMs)) << "hover did not follow the pointer";
    // The hovered row wears the hover image: its left edge is red, the others' is not.
    const testsupport::Pixels face = PixelsOf(list->GetFace());
    const uint32_t hovered = face.Rgb(2, 2 * 36 + 18), plain = face.Rgb(2, 18);
    EXPECT_GT((hovered >> 16) & 0xFF, 0x80u);
    EXPECT_LT((plain >> 16) & 0xFF, 0x40u);

    LeftButton(true);
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return !Choices().empty(); }, kWaitMs)) << "no WM_ZONEMODE_CHANGED";
    const auto choices = Choices();
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(choices[0].lParam), L"QWER");
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetButton()->GetItemIndex(), 2);
    EXPECT_FALSE(combo.GetButton()->IsOpen());
    EXPECT_FALSE(::IsWindowVisible(list->GetSafeHwnd()));
    EXPECT_NE(::GetCapture(), list->GetSafeHwnd());
    EXPECT_EQ(::GetFocus(), combo.GetButton()->GetSafeHwnd());
}

TEST_F(ZoneCombo, ChoosingTheCurrentRowStillReports)
{
    CComboBoxList3* list = Open();
    ASSERT_NE(list, nullptr);
    PressKey(list, VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !Choices().empty(); }, kWaitMs));
    EXPECT_EQ(combo.GetCurSel(), 0);
}

TEST_F(ZoneCombo, KeysMoveTheHoverWithinTheRowsAndEnterChooses)
{
    CComboBoxList3* list = Open();
    ASSERT_NE(list, nullptr);
    PressKey(list, VK_UP);
    EXPECT_EQ(list->GetHovered(), 0) << "up on the first row";
    for (int i = 0; i < 3; ++i) PressKey(list, VK_DOWN);
    EXPECT_EQ(list->GetHovered(), 2) << "down on the last row";
    PressKey(list, VK_UP);
    EXPECT_EQ(list->GetHovered(), 1);
    PressKey(list, VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !Choices().empty(); }, kWaitMs));
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(Choices()[0].lParam), L"WASD");
}

TEST_F(ZoneCombo, EscapeAndAClickElsewhereCloseWithoutAChoice)
{
    CComboBoxList3* list = Open();
    ASSERT_NE(list, nullptr);
    PressKey(list, VK_DOWN);
    PressKey(list, VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(list->GetSafeHwnd()));
    EXPECT_FALSE(combo.GetButton()->IsOpen());

    list = Open();
    ASSERT_NE(list, nullptr);
    Click(kHostX + 450, kHostY + 250);
    ASSERT_TRUE(DispatchUntil([&] { return !::IsWindowVisible(list->GetSafeHwnd()); }, kWaitMs));
    // A choice would have been posted by the click that closed the list.
    Pump(0);
    EXPECT_TRUE(Choices().empty());
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_FALSE(combo.GetButton()->IsOpen());
    EXPECT_EQ(combo.GetButton()->GetHoverState(), 0);
}

TEST_F(ZoneCombo, AListWithoutItemsOrRowReportsNothing)
{
    Build({});
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetButton()->GetItemIndex(), kComboNoItem);
    CComboBoxList3* list = Open();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetTotalHeight(), 36) << "one empty row";
    EXPECT_EQ(list->GetHovered(), -1);
    PressKey(list, VK_DOWN);
    EXPECT_EQ(list->GetHovered(), -1);
    PressKey(list, VK_RETURN);
    EXPECT_TRUE(Choices().empty());
    EXPECT_FALSE(combo.GetButton()->IsOpen());
    // A hovered row of -1 reported as a choice is no choice either.
    Build({L"All keys"});
    combo.OnListEvent(CComboBox3::Chosen, -1);
    Pump(0);
    EXPECT_TRUE(Choices().empty());
    EXPECT_EQ(combo.GetCurSel(), 0);
}

TEST_F(ZoneCombo, ItemsAddedLaterShowOnTheBox)
{
    Build({});
    EXPECT_EQ(combo.AddString(L"All keys"), 1);
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetButton()->GetItemIndex(), 0);
    EXPECT_EQ(combo.AddString(L"4 zones"), 1);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetButton()->GetItemIndex(), 1);
}

TEST_F(ZoneCombo, HoverShowsTheHoverFace)
{
    const testsupport::Pixels normal = PixelsOf(combo.GetButton()->GetFace());
    MoveCursorTo(kHostX + kBoxX + 200, kHostY + kBoxY + 18);
    ASSERT_TRUE(PumpUntil([&] { return combo.GetButton()->GetHoverState() == 1; }, kWaitMs));
    EXPECT_EQ(combo.GetButton()->GetShownState(), CComboBoxBtn3::Hover);
    EXPECT_GT(DifferingPixels(PixelsOf(combo.GetButton()->GetFace()), normal), 100);
    MoveCursorTo(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return combo.GetButton()->GetHoverState() == 0; }, kWaitMs));
}

}  // namespace
