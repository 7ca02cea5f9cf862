#include <gtest/gtest.h>

#include <objbase.h>

#include <cstring>
#include <thread>

#include "backend/device/RgbKeyboard.h"
#include "backend/modes/ModeHandlers.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/profiles/IniStore.h"
#include "backend/service/LightingServiceClient.h"
#include "tests/backend/modes/ModeTestSupport.h"
#include "tests/backend/service/FakeMediator.h"
#include "tests/fixtures/hid/FakeHidPort.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/HeldFile.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/ShippedSeeds.h"
#include "tests/support/StandInLibrary.h"
#include "tests/support/TraceCapture.h"

using testsupport::IniValue;
using modetest::WriteIni;
using testsupport::FileExists;

namespace {

const UINT kProfileModify = RegisterWindowMessageW(L"VORN VYL Lumo Core Profile Modify Message");
const UINT kProfileSyncModify = RegisterWindowMessageW(L"VORN VYL Lumo Core Profile Sync Modify Message");

const std::vector<uint8_t> kResetCommand = {0x5D, 0xB3, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// A mode run on a scripted keyboard, with its folders in a temp folder.
class ModesTest : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        g_HidDevice = HidDeviceInfo{};
        g_dwSupport = 1;
        g_dwPidModel = 0;
        g_bUWP = false;
        m_tszIniDir[0] = L'\0';
        g_CustomProfiles = {};
        fakes::FakeHidCandidate keyboard;
        keyboard.path = L"kbd";
        port.candidates = {keyboard};
        port.statusReply = fakes::MakeStatusReply(0x10, 2, 0);
    }
    void TearDown() override
    {
        g_bUWP = false;
        m_tszIniDir[0] = L'\0';
        g_HidDevice = HidDeviceInfo{};
        CoUninitialize();
    }

    // The first two bytes of every report sent, and the reports themselves.
    std::vector<uint8_t> Commands() const
    {
        std::vector<uint8_t> commands;
        for (const auto& report : port.SentReports()) commands.push_back(report[1]);
        return commands;
    }
    std::vector<uint8_t> FirstSetEffect() const
    {
        for (const auto& report : port.SentReports())
            if (report[1] == 0xB3) return std::vector<uint8_t>(report.begin(), report.begin() + 16);
        return {};
    }

    testsupport::TempDir dir;
    modetest::TestFolders folders{dir};
    ModeEnvironment env{kProfileModify, kProfileSyncModify, nullptr, folders};
    fakes::FakeHidPort port;
    fakes::ScopedFakeHidPort scoped{port};
    testsupport::TraceCapture trace;
    modetest::MessageSink sink;
};

}  // namespace

TEST_F(ModesTest, InitResetsTheKeyboardSeedsAndBroadcasts)
{
    InstallHandler(env);

    EXPECT_EQ(IniValue(folders.program + L"\\Basic.ini", L"Config", L"Apply"), L"0");
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x56, 0x05, 0xB3, 0xB4, 0xB5}))
        << "handshake, status request, reset, commit, apply";
    EXPECT_EQ(FirstSetEffect(), kResetCommand);
    EXPECT_TRUE(trace.Contains(L"[LumoCore]InstallHandler -> KBStatus, dwType is  error: 2 - "));
    EXPECT_TRUE(trace.Contains(L"UninitRGBKBDevice -> Prepare to exit !!!"));
    auto broadcasts = sink.Collect(kProfileModify);
    ASSERT_EQ(broadcasts.size(), 1u);
    EXPECT_EQ(broadcasts[0].wParam, 0u);
    EXPECT_TRUE(FileExists(modetest::CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\VYL Lumo Core.lnk"));
}

TEST_F(ModesTest, InitInUwpModeOnlyMakesShortcuts)
{
    g_bUWP = true;
    DeleteFileW((modetest::CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\VYL Lumo Core.lnk").c_str());
    InstallHandler(env);
    EXPECT_FALSE(FileExists(folders.program + L"\\Basic.ini"));
    EXPECT_TRUE(port.SentReports().empty());
    EXPECT_TRUE(sink.Collect(kProfileModify).empty());
    EXPECT_TRUE(FileExists(modetest::CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\VYL Lumo Core.lnk"));
}

TEST_F(ModesTest, CheckDefaultWritesTheSeedAndResets)
{
    CheckDefaultHandler(env);
    EXPECT_EQ(IniValue(folders.program + L"\\Basic.ini", L"Config", L"Apply"), L"0");
    EXPECT_EQ(FirstSetEffect(), kResetCommand);

    port.events.clear();
    g_bUWP = true;
    SHCreateDirectoryExW(nullptr, (folders.DataFolder() + L"\\UWPIni").c_str(), nullptr);
    CheckDefaultHandler(env);
    EXPECT_EQ(IniValue(folders.DataFolder() + L"\\UWPIni\\Basic.ini", L"Config", L"Apply"), L"0");
    EXPECT_EQ(FirstSetEffect(), kResetCommand);
}

namespace {

const wchar_t kAppClass[] = L"VYL LumoCore App Class";

// Another instance's main window on a thread of its own; its close writes
// Basic.ini a little later, as the real window's does.
struct RunningWindow {
    std::wstring lateWrite;
    std::thread thread;
    HWND window = nullptr;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_CLOSE) {
            auto* self = reinterpret_cast<RunningWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            Sleep(300);
            SHCreateDirectoryExW(nullptr, self->lateWrite.c_str(), nullptr);
            WritePrivateProfileStringW(L"Config", L"Apply", L"1", (self->lateWrite + L"\\Basic.ini").c_str());
            DestroyWindow(hwnd);
            return 0;
        }
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void Start()
    {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread = std::thread([this, ready] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = Proc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kAppClass;
            RegisterClassW(&windowClass);
            window = CreateWindowExW(0, kAppClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            SetEvent(ready);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~RunningWindow()
    {
        if (thread.joinable()) thread.join();
    }
};

}  // namespace

TEST_F(ModesTest, UninitClosesTheRunningWindowFirstThenRemovesEverything)
{
    testsupport::TempDir listenerDir;
    const std::wstring listenerLog = listenerDir.File(L"listener.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", listenerLog.c_str());
    SHCreateDirectoryExW(nullptr, folders.UserFolder().c_str(), nullptr);
    WriteIni(folders.UserFolder() + L"\\Custom0.Ini", L"Config", L"allIndex", L"2");

    RunningWindow running;
    running.lateWrite = folders.UserFolder();
    running.Start();
    ASSERT_NE(running.window, nullptr);
    // A running listener is told at once; starting one is the launcher's test
    // (under load a start can outlast the handler's short wait).
    RunListener();
    testsupport::PollUntil([] { return FindWindowW(kListenerWindowClass, nullptr) != nullptr; });

    UninstallHandler(env);

    EXPECT_FALSE(IsWindow(running.window));
    EXPECT_FALSE(FileExists(folders.DataFolder())) << "the window's late write went before the deletion";
    EXPECT_TRUE(trace.Contains(L"UninstallHandler -> found main ui window !"));
    EXPECT_EQ(FirstSetEffect(), kResetCommand);
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x56, 0xB3, 0xB4, 0xB5})) << "no status read";
    EXPECT_FALSE(FileExists(L"\\Basic.ini")) << "no profile folder: nothing written at the drive's root";
    EXPECT_FALSE(FileExists(modetest::CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\VYL Lumo Core.lnk"));

    // The listener was told.
    testsupport::PollUntil(
        [&] { return testsupport::ReadFileBytes(listenerLog).find("Profile Sync Modify") != std::string::npos; });
    EXPECT_NE(testsupport::ReadFileBytes(listenerLog).find("VORN VYL Lumo Core Profile Sync Modify Message 0 0"),
              std::string::npos);
    auto broadcasts = sink.Collect(kProfileModify);
    ASSERT_EQ(broadcasts.size(), 1u);
    EXPECT_EQ(broadcasts[0].wParam, 2u);
    modetest::CloseListeners();
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}

TEST_F(ModesTest, UninitSkipsItsOwnWindow)
{
    RunningWindow self;
    self.lateWrite = dir.File(L"never");
    self.Start();
    env.selfWindow = self.window;
    UninstallHandler(env);
    EXPECT_TRUE(trace.Contains(L"UninstallHandler -> found self window, next !"));
    EXPECT_FALSE(trace.Contains(L"found main ui window !"));
    EXPECT_TRUE(IsWindow(self.window));
    PostMessageW(self.window, WM_CLOSE, 0, 0);
    modetest::CloseListeners();
}

namespace {

// The program folder as a path too long for GetModuleFileName's buffer gives
// it: none.
class NoProgramFolder : public modetest::TestFolders {
public:
    using TestFolders::TestFolders;
    bool ProgramFolder(wchar_t* out, size_t capacity) const override
    {
        if (capacity != 0) out[0] = L'\0';
        return false;
    }
};

}  // namespace

TEST_F(ModesTest, UninitWithoutTheProgramFolderStartsNoListenerFromTheCurrentFolder)
{
    modetest::CloseListeners();  // so the handler goes to start one
    testsupport::TempDir current;
    ASSERT_TRUE(CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(),
                          current.File(kListenerFileName).c_str(), FALSE));
    const std::wstring listenerLog = current.File(L"listener.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", listenerLog.c_str());
    NoProgramFolder noProgram(dir);
    const ModeEnvironment noProgramEnv{kProfileModify, kProfileSyncModify, nullptr, noProgram};

    wchar_t previousFolder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previousFolder);
    SetCurrentDirectoryW(current.Path().c_str());
    UninstallHandler(noProgramEnv);
    SetCurrentDirectoryW(previousFolder);

    EXPECT_TRUE(trace.Contains(L"[LumoCore]RunListener -> GetModuleFileName failed ! error: "));
    EXPECT_FALSE(trace.Contains(L"path @ RunListener"));
    if (trace.Contains(L"CreateNormalProcess -> Not wait")) {
        ADD_FAILURE() << "the listener in the current folder was started";
        // Ended once it is up: it logs its start after making its window.
        testsupport::PollUntil([&] { return FileExists(listenerLog); });
        modetest::CloseListeners();
    }
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}

TEST(ModelType, FromTheControllersAnswer)
{
    const struct {
        DWORD type, subType, pid;
        int productId;
        uint32_t expected;
    } cases[] = {
        {1, 0, 0, 9, 1}, {2, 0, 0, 9, 2}, {2, 0, 1, 9, 2}, {2, 0, 2, 9, 3}, {2, 1, 3, 9, 4},
        {2, 0, 3, 9, 2}, {2, 1, 2, 9, 3}, {2, 0, 2, 1, 1}, {1, 0, 0, 1, 1},
        // The second model keeps the controller's type: only the window runs it as type 1.
        {2, 0, 2, 2, 3}, {2, 1, 3, 2, 4}, {2, 0, 0, 2, 2}, {1, 0, 0, 2, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelTypeFromStatus(c.type, c.subType, c.pid, c.productId), c.expected)
            << c.type << "/" << c.subType << "/" << c.pid << "/" << c.productId;
}

namespace {

// "-apply N" end to end on the scripted keyboard, the stand-in library and
// a fake lighting service.
class ApplyModeTest : public ModesTest {
protected:
    void SetUp() override
    {
        ModesTest::SetUp();
        const std::wstring seed = folders.program;
        WriteIni(seed + L"\\Basic.ini", L"Config", L"Apply", L"0");
        WriteIni(seed + L"\\Custom1.Ini", L"Config", L"wasdIndex", L"3");
        WriteIni(seed + L"\\Custom1.Ini", L"Config", L"fourIndex", L"1");
        WriteIni(seed + L"\\Custom1.Ini", L"Config", L"modeIndex", L"1");
        WriteIni(seed + L"\\Custom2.Ini", L"Config", L"qwerIndex", L"4");
        WriteIni(seed + L"\\Custom2.Ini", L"Config", L"fourIndex", L"2");
        WriteIni(seed + L"\\Custom0.Ini", L"Config", L"allIndex", L"0");
        library.ClearCalls();
    }

    void Run(uint32_t index, int productId = 9)
    {
        ApplyModeState state{env, index, productId, 0, modelType, tab, slots, wmi, client};
        ApplyHandler(state);
    }

    std::wstring Basic(const wchar_t* key) { return IniValue(folders.UserFolder() + L"\\Basic.ini", L"Config", key); }
    std::wstring Custom0AllIndex() { return IniValue(folders.UserFolder() + L"\\Custom0.Ini", L"Config", L"allIndex"); }

    uint32_t modelType = 0;
    int32_t tab = 0;
    SyncEffectSlots slots{};
    testsupport::StandInLibraryScript library;
    WmiLibrary wmi{testsupport::FixturePath(L"nbhwctl\\full\\NBHWCTL.dll")};
    servicetest::FakeService service;
    LightingServiceClient client{service.transport};
};

}  // namespace

TEST_F(ApplyModeTest, WithSupportTheIndexSelectsTabAndEffect)
{
    struct Case {
        uint8_t reportedType;
        USHORT productIdOfController;
        uint32_t index;
        int32_t tab;
        const wchar_t* apply;
        const wchar_t* applyEff;
        const wchar_t* allIndex;
    };
    const Case cases[] = {
        // HID types: 0..6 pick the effect on tab 0, 7 and 8 the zone tabs.
        {2, 0x2201, 0, 0, L"0", L"0", L"0"},
        {2, 0x2201, 6, 0, L"0", L"6", L"6"},
        {2, 0x2201, 7, 1, L"1", L"1", L"0"},
        {2, 0x2201, 8, 2, L"2", L"2", L"0"},
        // Type 1: 3 to 5 skip effect 3; 6 and 7 the WASD and QWER tabs.
        {1, 0x2201, 2, 0, L"0", L"2", L"2"},
        {1, 0x2201, 3, 0, L"0", L"4", L"4"},
        {1, 0x2201, 5, 0, L"0", L"6", L"6"},
        {1, 0x2201, 6, 1, L"1", L"3", L"0"},
        {1, 0x2201, 7, 2, L"2", L"4", L"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.reportedType) << " index " << c.index);
        RemoveFiles(folders.DataFolder().c_str(), L"*.*", true);
        port.candidates[0].productId = c.productIdOfController;
        port.statusReply = fakes::MakeStatusReply(0x10, c.reportedType, 0);
        port.events.clear();
        service.mediator.calls.clear();
        tab = 0;
        Run(c.index);
        EXPECT_EQ(tab, c.tab);
        EXPECT_EQ(Basic(L"Apply"), c.apply);
        EXPECT_EQ(Basic(L"ApplyMode"), c.apply);
        EXPECT_EQ(Basic(L"ApplyEff"), c.applyEff);
        EXPECT_EQ(Custom0AllIndex(), c.allIndex);
        EXPECT_EQ(Commands().back(), 0xB5);
        EXPECT_EQ(Commands()[Commands().size() - 2], 0xB4);
        auto methods = service.mediator.MethodOrder();
        ASSERT_GE(methods.size(), 2u);
        EXPECT_EQ(methods.front(), "SetProfile");  // rescan
        EXPECT_EQ(methods.back(), "SetProfile");   // sync
        auto broadcasts = sink.Collect(kProfileModify);
        ASSERT_EQ(broadcasts.size(), 1u);
        EXPECT_EQ(broadcasts[0].lParam, static_cast<LPARAM>(c.index));
    }
}

TEST_F(ApplyModeTest, TypeOneReachesTheLibraryAndHidTypesTheController)
{
    port.statusReply = fakes::MakeStatusReply(0x10, 1, 0);
    Run(3);
    EXPECT_EQ(modelType, 1u);
    auto effects = library.CallsOf("VoWMI_NB_DeviceControl_2arg");
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0], "VoWMI_NB_DeviceControl_2arg 0x00100056 0x00FF0AB3 0x00000000") << "strobing, red";
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x56, 0x05, 0xB4, 0xB5}));

    // Type 2 on the third product id becomes type 3 and goes over HID.
    library.ClearCalls();
    port.events.clear();
    port.candidates[0].productId = 0x2203;
    port.statusReply = fakes::MakeStatusReply(0x10, 2, 0);
    Run(1);
    EXPECT_EQ(modelType, 3u);
    EXPECT_TRUE(library.Calls().empty());
    EXPECT_EQ(FirstSetEffect()[3], 1);  // breathing, whole keyboard
    EXPECT_EQ(slots.slotA.effectIndex, 1);
}

TEST_F(ApplyModeTest, ProductOneUsesTypeOneRulesButSendsOverHid)
{
    port.statusReply = fakes::MakeStatusReply(0x10, 2, 0);
    Run(3, 1);
    EXPECT_EQ(modelType, 1u);
    EXPECT_EQ(Basic(L"ApplyEff"), L"4");
    EXPECT_TRUE(library.CallsOf("VoWMI_NB_DeviceControl_2arg").empty());
    EXPECT_EQ(FirstSetEffect()[3], 0x0A);
}

TEST_F(ApplyModeTest, IndexEightOnTypeOneWritesNothingButStillSends)
{
    port.statusReply = fakes::MakeStatusReply(0x10, 1, 0);
    tab = 0;
    Run(8);
    EXPECT_EQ(Basic(L"ApplyMode"), L"<missing>");
    EXPECT_EQ(Basic(L"Apply"), L"0");  // as seeded
    EXPECT_EQ(library.CallsOf("VoWMI_NB_DeviceControl_2arg").size(), 1u);
    EXPECT_EQ(Commands().back(), 0xB5);
    auto broadcasts = sink.Collect(kProfileModify);
    ASSERT_EQ(broadcasts.size(), 1u);
    EXPECT_EQ(broadcasts[0].lParam, 8);
}

TEST_F(ApplyModeTest, WithoutSupportTheIndexIsAProfile)
{
    port.statusReply = fakes::MakeStatusReply(0x00, 2, 0);
    g_dwSupport = 0;
    Run(1);
    EXPECT_EQ(tab, 1);
    EXPECT_EQ(Basic(L"Apply"), L"1");
    EXPECT_EQ(Basic(L"ApplyMode"), L"1");
    EXPECT_EQ(Basic(L"ApplyEff"), L"1") << "profile 1's four-zone index on a HID type";
    // Profile 1's mode 1 goes zone by zone with its apply, then commit and apply.
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x56, 0x05, 0xB3, 0xB3, 0xB3, 0xB3, 0xB5, 0xB4, 0xB5}));
}

TEST_F(ApplyModeTest, OnAFreshInstallTheUserStartsFromTheShippedProfiles)
{
    RemoveFiles(folders.program.c_str(), L"*.ini", false);
    ASSERT_TRUE(testsupport::CopySeedFiles(testsupport::SeedFolder(), folders.program));
    port.statusReply = fakes::MakeStatusReply(0x10, 2, 0);
    Run(1);

    // Breathing chosen for the whole keyboard; everything else as shipped.
    CustomProfile expected0 = testsupport::ShippedProfile();
    expected0.allIndex = 1;
    EXPECT_EQ(std::memcmp(&g_CustomProfiles[0], &expected0, sizeof(CustomProfile)), 0);
    for (int n = 1; n < kProfileCount; ++n) {
        const CustomProfile shipped = testsupport::ShippedProfile();
        EXPECT_EQ(std::memcmp(&g_CustomProfiles[n], &shipped, sizeof(CustomProfile)), 0) << n;
    }
    EXPECT_EQ(Basic(L"Apply"), L"0");
    EXPECT_EQ(Basic(L"ApplyEff"), L"1");
    EXPECT_EQ(Custom0AllIndex(), L"1");
    EXPECT_EQ(IniValue(folders.UserFolder() + L"\\Basic.ini", L"Setting", L"AWAKE"), L"1");
    const std::vector<uint8_t> sent = FirstSetEffect();
    ASSERT_GE(sent.size(), 7u);
    EXPECT_EQ(sent[3], 1) << "breathing";
    EXPECT_EQ(std::vector<uint8_t>(sent.begin() + 4, sent.begin() + 7), (std::vector<uint8_t>{255, 0, 0}));
}

TEST_F(ApplyModeTest, OutOfRangeRequestsChangeNothing)
{
    struct Case {
        uint32_t index;
        uint8_t reportedType;
        DWORD support;
        const wchar_t* traced;
    };
    const Case cases[] = {
        {9, 2, 1, L"ApplyHandler -> g_dwApplyIndex out of bound !"},
        {0xFFFFFFFFu, 2, 1, L"ApplyHandler -> g_dwApplyIndex out of bound !"},
        {1, 3, 1, L"ApplyHandler -> dwType wrong !"},
        {1, 0, 1, L"ApplyHandler -> dwType wrong !"},
        {5, 2, 0, L"ApplyHandler -> g_dwApplyIndex out of bound !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        port.events.clear();
        port.statusReply = fakes::MakeStatusReply(c.support ? 0x10 : 0, c.reportedType, 0);
        g_dwSupport = c.support;
        Run(c.index);
        EXPECT_TRUE(trace.Contains(c.traced));
        for (uint8_t command : Commands()) EXPECT_TRUE(command == 0x56 || command == 0x05) << int(command);
        EXPECT_FALSE(FileExists(folders.UserFolder() + L"\\Basic.ini"));
        EXPECT_TRUE(sink.Collect(kProfileModify).empty());
    }
}

// A profile file that another process holds reads as the defaults: "-apply"
// then neither stores nor sends the profile it names, and tells no window.
TEST_F(ApplyModeTest, AProfileThatCannotBeReadIsNeitherStoredNorSent)
{
    port.statusReply = fakes::MakeStatusReply(0x10, 1, 0);
    Run(2);  // makes the user's profile folder
    const struct {
        uint32_t index;
        const wchar_t* file;
    } cases[] = {{1, L"Custom0.Ini"}, {6, L"Custom1.Ini"}, {7, L"Custom2.Ini"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const std::vector<std::wstring> basic = testsupport::IniEntries(folders.UserFolder() + L"\\Basic.ini");
        const std::wstring profile = folders.UserFolder() + L"\\" + c.file;
        port.events.clear();
        library.ClearCalls();
        sink.Collect(kProfileModify);
        testsupport::HeldFile held(profile);
        ASSERT_TRUE(held.Held());
        Run(c.index);
        held.Release();
        EXPECT_TRUE(trace.Contains(L"ApplyHandler -> profile cannot be read, nothing applied"));
        EXPECT_EQ(testsupport::IniEntries(folders.UserFolder() + L"\\Basic.ini"), basic);
        EXPECT_TRUE(library.Calls().empty()) << "the defaults reached the maker's library";
        for (uint8_t command : Commands()) EXPECT_TRUE(command == 0x56 || command == 0x05) << int(command);
        EXPECT_TRUE(sink.Collect(kProfileModify).empty());
    }
}
