#include "tests/app/effectpanel/EffectPanelTestSupport.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "backend/device/RgbKeyboard.h"
#include "tests/support/MessageWatch.h"
#include "tests/support/PointerInput.h"
#include "ui/framework/controls/RadioButton.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"

namespace paneltest {
namespace {

// GDI+ and COM (Direct2D's gradients) for the whole exe, as the program has them.
class PanelEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    }
    void TearDown() override
    {
        ::CoUninitialize();
        Gdiplus::GdiplusShutdown(m_token);
    }

private:
    ULONG_PTR m_token = 0;
};

testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new PanelEnvironment);

const wchar_t kHostClass[] = L"EffectPanelTestHost";
std::vector<Posted> g_posted;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_EFFECTTYPE_CHANGED || message == WM_EFFECTVALUE_CHANGED) {
        g_posted.push_back({message, wParam, lParam});
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

RecordingHost::RecordingHost(int x, int y, int width, int height)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH));
    wc.lpszClassName = kHostClass;
    ::RegisterClassExW(&wc);
    m_hWnd = ::CreateWindowExW(0, kHostClass, L"panel host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                               height, nullptr, nullptr, wc.hInstance, nullptr);
    g_posted.clear();
}

RecordingHost::~RecordingHost()
{
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    g_posted.clear();
}

std::vector<Posted> RecordingHost::Take()
{
    Pump(0);
    std::vector<Posted> taken;
    taken.swap(g_posted);
    return taken;
}

PickerPopup::PickerPopup(HWND host)
{
    RECT client = {};
    ::GetClientRect(host, &client);
    m_popup.Create(host, 0, 0, client.right, client.bottom);
    m_popup.IsVisible = 0;
}

void PickerPopup::Hide()
{
    m_popup.IsVisible = 0;
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(m_popup.Handle.Get()); }, 5000)) << "the popup stayed";
}

ProfileTable DistinctTable()
{
    ProfileTable table{};
    auto fill = [](EffectData& record, int list, int index) {
        record = DefaultEffectData();
        int32_t* colors = &record.ColorR;
        for (int n = 0; n < kColorCount; ++n) {
            colors[n * 3] = list * 40 + index * 5 + n;
            colors[n * 3 + 1] = 100 + n;
            colors[n * 3 + 2] = 200 - n;
        }
        record.SpeedType = 1 + (index % 3);
        record.DirectType = index % 2;
        record.MusicType = index;
        record.TemperatureL = 20 + index;
        record.TemperatureH = 70 + index;
        record.StrobingRandom = 0;
    };
    for (CustomProfile& profile : table) {
        for (int i = 0; i < kAllZoneEffectCount; ++i) fill(profile.allData[i], 0, i);
        for (int i = 0; i < kZoneEffectCount; ++i) {
            fill(profile.fourData[i], 1, i);
            fill(profile.wasdData[i], 2, i);
            fill(profile.qwerData[i], 3, i);
        }
    }
    return table;
}

POINT PlaceInPanel(const Control& panel, const Control& child)
{
    RECT rect = {};
    ::GetWindowRect(child.Handle.Get(), &rect);
    POINT at = {rect.left, rect.top};
    ::ScreenToClient(panel.Handle.Get(), &at);
    return at;
}

bool Shown(const Control& child)
{
    return child.Handle.Get() && (::GetWindowLongW(child.Handle.Get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void ClickAtScreen(int x, int y)
{
    testsupport::MessageWatch watch;
    testsupport::MoveCursorTo(x, y);
    testsupport::LeftClick();
    // Over once a window has taken the release; then what the click posted.
    EXPECT_TRUE(PumpUntil([&] { return watch.Taken(WM_LBUTTONUP) > 0; }, 5000)) << "the click never arrived";
    Pump(0);
}

void ClickChild(const Control& child)
{
    RECT rect = {};
    ::GetWindowRect(child.Handle.Get(), &rect);
    ClickAtScreen(rect.left + 7, (rect.top + rect.bottom) / 2);
}

PanelGlobals::PanelGlobals(float scale, DWORD support) : m_uiSettings(scale)
{
    m_support = g_dwSupport;
    m_table = g_CustomProfiles;
    g_dwSupport = support;
    g_CustomProfiles = DistinctTable();
}

PanelGlobals::~PanelGlobals()
{
    g_dwSupport = m_support;
    g_CustomProfiles = m_table;
    g_RadioGroups.clear();
}

}  // namespace paneltest
