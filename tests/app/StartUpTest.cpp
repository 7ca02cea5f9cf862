#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>
#include <thread>

#include "app/LumoGlobals.h"
#include "app/StartUp.h"
#include "ui/framework/language/Language.h"

namespace {

struct ModelCase {
    const char* name;
    int expected;
};

class ModelNames : public testing::TestWithParam<ModelCase> {};

}  // namespace

TEST_P(ModelNames, MapToTheirModelClass)
{
    EXPECT_EQ(MapModelNameToProductID(GetParam().name), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModelNames,
    testing::Values(ModelCase{"RT310KB", 1}, ModelCase{"RT710KB", 1}, ModelCase{"RT310KA", 2},
                    ModelCase{"RT710KA", 2}, ModelCase{"RS200KC", 1}, ModelCase{"Laptop RT310KB Series", 1},
                    ModelCase{"RT310KA RS200KC", 2}, ModelCase{"RS200KC RT310KA", 2}, ModelCase{"RT710KA RT710KB", 1},
                    ModelCase{"rt310kb", 9}, ModelCase{"RT310K", 9}, ModelCase{"", 9}, ModelCase{"Wine", 9}));

TEST(ModelProbe, AsksWmiForTheProductNameAndMapsIt)
{
    // On a fresh thread, as at start-up: the test thread may already be in a
    // single-threaded apartment from an earlier test.
    std::wstring name = L"stale";
    bool asked = false;
    ProductID = 0;
    std::thread probe([&] {
        asked = QueryComputerSystemProductName(name);
        DetectModelClass();
    });
    probe.join();
    ASSERT_TRUE(asked);
    EXPECT_EQ(name, L"Wine");  // what Wine's WMI reports for this class
    EXPECT_EQ(ProductID, 9);
}

TEST(ModelProbe, LeavesTheModelClassWhenComCannotBeUsed)
{
    // A thread already in a single-threaded apartment cannot enter the
    // multithreaded one the probe asks for.
    ProductID = 77;
    std::thread worker([] {
        HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        DetectModelClass();
        if (SUCCEEDED(hr)) CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(ProductID, 77);
    ProductID = 0;
}

namespace {

struct CommandCase {
    const wchar_t* commandLine;
    BYTE init, uninit, apply;
    uint32_t applyIndex;
    BYTE chkDefault, background;
    int lang;
};

void PrintTo(const CommandCase& c, std::ostream* os)
{
    std::wstring w(c.commandLine);
    *os << '"' << std::string(w.begin(), w.end()) << '"';
}

class CommandLine : public testing::TestWithParam<CommandCase> {};

constexpr uint32_t kBad = kApplyIndexInvalid;

}  // namespace

TEST_P(CommandLine, SetsTheFlagsOfItsOnlyArgument)
{
    const CommandCase& c = GetParam();
    // Leftovers of an earlier parse must not survive.
    g_bCmdInit = g_bCmdUninit = g_bCmdApply = g_bCmdChkDefault = g_bCmdBackground = 1;
    g_dwApplyIndex = 5;
    g_nLangIndex = 0;
    ParseCommandLine(c.commandLine);
    ReadLangSwitch(c.commandLine);
    EXPECT_EQ(g_bCmdInit, c.init);
    EXPECT_EQ(g_bCmdUninit, c.uninit);
    EXPECT_EQ(g_bCmdApply, c.apply);
    EXPECT_EQ(g_dwApplyIndex, c.applyIndex);
    EXPECT_EQ(g_bCmdChkDefault, c.chkDefault);
    EXPECT_EQ(g_bCmdBackground, c.background);
    EXPECT_EQ(g_nLangIndex, c.lang);
}

// Columns: command line | init uninit apply index | chkdefault background | language
INSTANTIATE_TEST_SUITE_P(
    Table, CommandLine,
    testing::Values(CommandCase{L"", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"-init", 1, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"/init", 1, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"-INIT", 1, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"\"-init\"", 1, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"/UnInit", 0, 1, 0, 0, 0, 0, 0},
                    CommandCase{L"-chkdefault", 0, 0, 0, 0, 1, 0, 0},
                    CommandCase{L"/ChkDefault", 0, 0, 0, 0, 1, 0, 0},
                    CommandCase{L"-background", 0, 0, 0, 0, 0, 1, 0},
                    CommandCase{L"/BACKGROUND", 0, 0, 0, 0, 0, 1, 0},
                    // Only the only argument counts.
                    CommandCase{L"-init extra", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"-init -Lang=3", 0, 0, 0, 0, 0, 0, 3},
                    CommandCase{L"-background x", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"extra -init", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"init", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"--init", 0, 0, 0, 0, 0, 0, 0},
                    // -apply takes exactly one number.
                    CommandCase{L"/APPLY 2", 0, 0, 1, 2, 0, 0, 0},
                    CommandCase{L"-apply 8", 0, 0, 1, 8, 0, 0, 0},
                    CommandCase{L"-apply 9", 0, 0, 1, 9, 0, 0, 0},
                    CommandCase{L"-apply \"0\"", 0, 0, 1, 0, 0, 0, 0},
                    CommandCase{L"-apply", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"-apply 1 2", 0, 0, 0, 0, 0, 0, 0},
                    // Not a number: out of range, never profile 0.
                    CommandCase{L"-apply abc", 0, 0, 1, kBad, 0, 0, 0},
                    CommandCase{L"-apply 3x", 0, 0, 1, kBad, 0, 0, 0},
                    CommandCase{L"-apply -1", 0, 0, 1, kBad, 0, 0, 0},
                    CommandCase{L"-apply \"\"", 0, 0, 1, kBad, 0, 0, 0},
                    CommandCase{L"-apply 99999999999", 0, 0, 1, kBad, 0, 0, 0},
                    // -Lang= anywhere, case-sensitive, decimal up to the first non-digit.
                    CommandCase{L"-Lang=3", 0, 0, 0, 0, 0, 0, 3},
                    CommandCase{L"-lang=3", 0, 0, 0, 0, 0, 0, 0},
                    CommandCase{L"foo -Lang=12abc", 0, 0, 0, 0, 0, 0, 12},
                    CommandCase{L"-Lang=-Lang=7", 0, 0, 0, 0, 0, 0, 7},
                    CommandCase{L"-Lang=", 0, 0, 0, 0, 0, 0, 0}));

namespace {

struct InstanceCase {
    const char* name;
    const wchar_t* commandLine;
    bool takesEvent;
};

class SingleInstance : public testing::TestWithParam<InstanceCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
        ParseCommandLine(GetParam().commandLine);
        g_hSingleInstanceEvent.Reset();
    }
    void TearDown() override
    {
        g_hSingleInstanceEvent.Reset();
        ParseCommandLine(L"");
    }
    static bool EventExists()
    {
        platform::UniqueHandle probe(OpenEventW(SYNCHRONIZE, FALSE, kSingleInstanceEventName));
        return probe.IsValid();
    }
};

}  // namespace

TEST_P(SingleInstance, FirstStartTakesTheEventUnlessItIsAModeThatAlwaysRuns)
{
    ASSERT_FALSE(EventExists());
    EXPECT_TRUE(TakeSingleInstance());
    EXPECT_EQ(g_hSingleInstanceEvent.IsValid(), GetParam().takesEvent);
    EXPECT_EQ(EventExists(), GetParam().takesEvent);
}

TEST_P(SingleInstance, SecondStartRaisesTheRunningWindowAndEnds)
{
    // The running instance: its event and its (minimised) main window.
    platform::UniqueHandle running(CreateEventW(nullptr, FALSE, FALSE, kSingleInstanceEventName));
    ASSERT_TRUE(running.IsValid());
    HWND mainWindow = CreateWindowExW(0, kMainWindowClassName, L"running", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(mainWindow, nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ShowWindow(mainWindow, SW_MINIMIZE);
    SetForegroundWindow(other);

    bool goOn = TakeSingleInstance();
    bool takes = GetParam().takesEvent;
    EXPECT_EQ(goOn, !takes);
    EXPECT_EQ(IsIconic(mainWindow) != FALSE, !takes);
    if (takes) {
        EXPECT_EQ(GetForegroundWindow(), mainWindow);
    }
    DestroyWindow(other);
    DestroyWindow(mainWindow);
}

INSTANTIATE_TEST_SUITE_P(Starts, SingleInstance,
                         testing::Values(InstanceCase{"plain", L"", true},
                                         InstanceCase{"language", L"-Lang=2", true},
                                         InstanceCase{"chkdefault", L"-chkdefault", true},
                                         InstanceCase{"background", L"/background", true},
                                         InstanceCase{"init", L"-init", false},
                                         InstanceCase{"uninit", L"-uninit", false},
                                         InstanceCase{"apply", L"-apply 1", false},
                                         InstanceCase{"applyWithoutNumber", L"-apply", true}),
                         [](const testing::TestParamInfo<InstanceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(RegisteredMessages, AreRegisteredAtStartUnderTheirExactTexts)
{
    struct Entry {
        UINT id;
        const wchar_t* text;
    } entries[] = {
        {WM_PROFILESYNCMODIFY_MESSAGE, L"VORN VYL Lumo Core Profile Sync Modify Message"},
        {WM_PROFILEMODIFY_MESSAGE, L"VORN VYL Lumo Core Profile Modify Message"},
        {WM_PROFILESYNCWINDOWS_MESSAGE, L"VORN VYL Lumo Profile Sync Windows Message"},
        {WM_SYNCPAGE_PROFILESYNCWINDOWS_MESSAGE, L"VORN VYL Lumo Profile Sync Windows Message"},
        {WM_ACPI_NOTIFICATION_MESSAGE, L"ACPI Notification through VKPHotkey from BIOS"},
        {WM_ACPI_SIMULATION_MESSAGE, L"ACPI Simulation through VKPHotkey from Application"},
        {WM_LIGHTBUTTON_CLICK_MESSAGE, L"Light Button Click Message"},
    };
    for (const Entry& e : entries) {
        EXPECT_GE(e.id, 0xC000u);
        EXPECT_EQ(e.id, RegisterWindowMessageW(e.text));
    }
    EXPECT_NE(WM_PROFILEMODIFY_MESSAGE, WM_PROFILESYNCMODIFY_MESSAGE);
}
