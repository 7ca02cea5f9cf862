#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backend/device/LightLevel.h"
#include "backend/device/NbhwctlApi.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/HotkeyStandIn.h"
#include "tests/support/Polling.h"
#include "tests/support/RegistryValue.h"
#include "tests/support/StandInLibrary.h"
#include "tests/support/TempDir.h"

using testsupport::FixturePath;
using testsupport::ScopedRegistryDword;
using testsupport::StandInLibraryScript;
using testsupport::TempDir;

namespace {

const std::wstring kLibrary = FixturePath(L"nbhwctl\\full\\NBHWCTL.dll");
const std::wstring kDriverKeyName = L"LumoTest";
const std::wstring kDriverKey = std::wstring(kSystemDevicesClassKey) + L"\\" + kDriverKeyName;
const std::wstring kDriverSettingsKey = kDriverKey + L"\\Settings";
constexpr DWORD kPostWaitMs = 5000;

void DeleteTree(const std::wstring& parent, const std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return;
    RegDeleteTreeW(key, name.c_str());
    RegCloseKey(key);
}

void SetString(const std::wstring& subKey, const wchar_t* name, const wchar_t* text)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void SetPackageLevel(DWORD value)
{
    ScopedRegistryDword::Set(kVkpPackageKey, kLightLevelValueName, value);
}

void RemovePackageKey()
{
    DeleteTree(L"SOFTWARE\\VORN", L"VKP Package");
}

// A sub-key of the system-devices class as the hotkey driver's setup writes it.
void MakeDriverKey(const std::wstring& name, const wchar_t* matchingId, const wchar_t* driverDesc,
                   std::optional<DWORD> settingsLevel)
{
    const std::wstring key = std::wstring(kSystemDevicesClassKey) + L"\\" + name;
    SetString(key, L"MatchingDeviceId", matchingId);
    if (driverDesc != nullptr) SetString(key, L"DriverDesc", driverDesc);
    if (settingsLevel) ScopedRegistryDword::Set(key + L"\\Settings", kLightLevelValueName, *settingsLevel);
}

void MakeVkpDriverKey(std::optional<DWORD> settingsLevel)
{
    MakeDriverKey(kDriverKeyName, kVkpMatchingDeviceId, kVkpDriverDesc, settingsLevel);
}

void RemoveDriverKeys()
{
    for (const wchar_t* name : {L"LumoTest", L"LumoTestA", L"LumoTestB"}) DeleteTree(kSystemDevicesClassKey, name);
}

// Receives what the watcher posts, on the test's thread.
class LevelWindow {
public:
    LevelWindow()
        : m_window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
    }
    ~LevelWindow() { DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

    // The level of the next posted change, if one comes within the time.
    std::optional<LPARAM> NextLevel(DWORD timeoutMs = kPostWaitMs)
    {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        for (;;) {
            MSG msg;
            if (PeekMessageW(&msg, m_window, kLightLevelChangedMessage, kLightLevelChangedMessage, PM_REMOVE)) {
                EXPECT_EQ(msg.wParam, 0u);
                return msg.lParam;
            }
            if (GetTickCount64() >= deadline) return std::nullopt;
            Sleep(5);
        }
    }

private:
    HWND m_window;
};

// Polls without taking messages, so that posts stay queued for NextLevel.
using testsupport::PollUntil;

using HotkeyService = testsupport::HotkeyStandIn;

// Our own handle on the watcher thread, valid after the object closes its.
HANDLE DuplicateThread(HANDLE thread)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

ULONGLONG MillisecondsOf(LightLevel& light, bool start, HWND window)
{
    const ULONGLONG begin = GetTickCount64();
    EXPECT_TRUE(light.StartStopLightLevelWatcher(start, window, nullptr));
    return GetTickCount64() - begin;
}

class LightLevelTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemovePackageKey();
        RemoveDriverKeys();
    }
    void TearDown() override
    {
        RemovePackageKey();
        RemoveDriverKeys();
    }

    StandInLibraryScript m_script;
    LightLevel m_light{kLibrary};
};

using LightLevelRead = LightLevelTest;
using LightLevelSet = LightLevelTest;
using LightLevelWatcher = LightLevelTest;

}  // namespace

TEST_F(LightLevelRead, PackageValueMapsToLevelWithoutTheLibrary)
{
    const struct {
        DWORD value;
        DWORD level;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {0x0F, 3}, {0x12, 2}, {0x13, 3}, {0xFFFFFFF1u, 1}};
    MakeVkpDriverKey(0);  // the package key wins over the driver key
    for (const auto& c : cases) {
        SetPackageLevel(c.value);
        DWORD level = 99;
        EXPECT_TRUE(m_light.GetLightLevel(&level, false, false)) << c.value;
        EXPECT_EQ(level, c.level) << c.value;
    }
    EXPECT_TRUE(m_script.Calls().empty());
    EXPECT_TRUE(m_light.GetLightLevel(nullptr, false, false));
}

TEST_F(LightLevelRead, DriverKeyFallbackAsksTheLibrary)
{
    const struct {
        uint32_t status;
        DWORD level;
    } cases[] = {{0x00050100, 0}, {0x00050101, 1}, {0x00050102, 2}, {0x00050103, 3}, {0, 3}, {0x00000101, 3}};
    MakeVkpDriverKey(1);  // the value there is not the level
    for (const auto& c : cases) {
        m_script.SetStatus(WMI_DEVID_KB_BACKLIGHT, c.status);
        DWORD level = 99;
        EXPECT_TRUE(m_light.GetLightLevel(&level, false, false)) << std::hex << c.status;
        EXPECT_EQ(level, c.level) << std::hex << c.status;
    }

    // A package key without the value falls back as well.
    ScopedRegistryDword::Set(kVkpPackageKey, L"Other", 1);
    m_script.ClearCalls();
    DWORD level = 99;
    EXPECT_TRUE(m_light.GetLightLevel(&level, false, false));
    EXPECT_EQ(level, 3u);
    EXPECT_EQ(m_script.Calls(), (std::vector<std::string>{"VoWMI_CheckSupport", "VoWMI_Open", "VoWMI_NB_RegisterEvent",
                                                          "VoWMI_NB_GetDeviceStatus 0x00050021"}));

    m_script.Set(L"LUMO_NBHWCTL_OPEN", L"0");
    m_script.ClearCalls();
    EXPECT_TRUE(m_light.GetLightLevel(&level, false, false));
    EXPECT_EQ(m_script.Calls(),
              (std::vector<std::string>{"VoWMI_CheckSupport", "VoWMI_Open", "VoWMI_NB_GetDeviceStatus 0x00050021"}));
}

TEST_F(LightLevelRead, FailuresReadNoLevel)
{
    DWORD level = 7;
    // Neither key.
    EXPECT_FALSE(m_light.GetLightLevel(&level, true, false));
    // Driver key without its Settings value.
    MakeVkpDriverKey(std::nullopt);
    EXPECT_FALSE(m_light.GetLightLevel(&level, true, false));
    // A failed library read is no level (nothing scripted for the device).
    MakeVkpDriverKey(2);
    EXPECT_FALSE(m_light.GetLightLevel(&level, true, false));
    EXPECT_EQ(m_script.CallsOf("VoWMI_NB_GetDeviceStatus"),
              (std::vector<std::string>{"VoWMI_NB_GetDeviceStatus 0x00050021"}));
    // No library at all.
    LightLevel missing(L"C:\\no\\such\\folder\\NBHWCTL.dll");
    m_script.SetStatus(WMI_DEVID_KB_BACKLIGHT, 0x00050101);
    EXPECT_FALSE(missing.GetLightLevel(&level, true, false));

    EXPECT_EQ(level, 7u);
    EXPECT_EQ(m_light.LastNotifiedLevel(), kLightLevelUnread);
    EXPECT_EQ(missing.LastNotifiedLevel(), kLightLevelUnread);
}

TEST_F(LightLevelRead, FindsTheDriverKeyByIdAndDescription)
{
    const struct {
        const wchar_t* matchingId;
        const wchar_t* driverDesc;
        bool found;
    } cases[] = {
        {L"ACPI\\VORN7000", kVkpDriverDesc, true},
        {L"acpi\\vorn7000", kVkpDriverDesc, true},
        {L"ACPI\\VORN7001", kVkpDriverDesc, false},
        {L"ACPI\\VORN7000", L"vkp package (vorn keyboard hotkeys) device", false},
        {L"ACPI\\VORN7000", L"VKP Package (VORN Keyboard Hotkeys) Device ", false},
        {L"ACPI\\VORN7000", nullptr, false},
    };
    for (const auto& c : cases) {
        RemoveDriverKeys();
        MakeDriverKey(kDriverKeyName, c.matchingId, c.driverDesc, 1);
        wchar_t path[MAX_PATH] = L"untouched";
        EXPECT_EQ(FindVKPSettingsKey(path), c.found) << c.matchingId << L" / " << (c.driverDesc ? c.driverDesc : L"-");
        if (c.found) {
            EXPECT_EQ(std::wstring(path), kDriverSettingsKey);
        }
    }

    // Keys that do not match are passed over.
    RemoveDriverKeys();
    MakeDriverKey(L"LumoTestA", L"ACPI\\OTHER", kVkpDriverDesc, 1);
    MakeDriverKey(L"LumoTestB", kVkpMatchingDeviceId, kVkpDriverDesc, 1);
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(FindVKPSettingsKey(path));
    EXPECT_EQ(std::wstring(path), std::wstring(kSystemDevicesClassKey) + L"\\LumoTestB\\Settings");
}

TEST_F(LightLevelSet, PostsToTheHotkeyServiceOnlyForANewLevel)
{
    ASSERT_EQ(FindWindowW(kHotkeyWindowClass, kHotkeyWindowTitle), nullptr);
    SetPackageLevel(2);
    EXPECT_FALSE(m_light.SetLightLevel(1));  // no service window

    HotkeyService service(false);
    ASSERT_TRUE(service.IsUp());
    const struct {
        DWORD current;
        DWORD requested;
        bool posted;
    } cases[] = {{2, 2, false}, {2, 0, true}, {0, 3, true}, {3, 3, false}, {3, 4, false}, {1, 2, true}};
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        SetPackageLevel(c.current);
        EXPECT_EQ(m_light.SetLightLevel(c.requested), c.posted) << c.current << " -> " << c.requested;
        if (c.posted) expected.push_back("199 " + std::to_string(128 + c.requested));
    }
    // An unreadable level posts nothing either.
    RemovePackageKey();
    EXPECT_FALSE(m_light.SetLightLevel(1));
    // Posts from one thread arrive in order: nothing else came between.
    EXPECT_EQ(service.Requests(expected.size()), expected);
    EXPECT_EQ(m_light.LastNotifiedLevel(), kLightLevelUnread);  // setting never notifies
}

TEST_F(LightLevelSet, NewLevelComesBackThroughTheWatcher)
{
    SetPackageLevel(1);
    HotkeyService service(true);
    ASSERT_TRUE(service.IsUp());
    LevelWindow window;
    DWORD level = 99;
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), &level));
    EXPECT_EQ(level, 1u);
    ASSERT_TRUE(m_light.SetLightLevel(3));
    EXPECT_EQ(window.NextLevel(), std::optional<LPARAM>(3));
    EXPECT_EQ(ScopedRegistryDword::Get(kVkpPackageKey, kLightLevelValueName), std::optional<DWORD>(3));
}

TEST_F(LightLevelWatcher, PostsRegistryChangesAndStopsCleanly)
{
    SetPackageLevel(1);
    LevelWindow window;
    DWORD level = 99;
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), &level));
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(m_light.LastNotifiedLevel(), 1u);
    EXPECT_EQ(m_light.Window(), window.Get());
    ASSERT_NE(m_light.WatcherThread(), nullptr);

    SetPackageLevel(2);
    EXPECT_EQ(window.NextLevel(), std::optional<LPARAM>(2));
    SetPackageLevel(0x12);  // new data, same level: no post
    SetPackageLevel(3);
    EXPECT_EQ(window.NextLevel(), std::optional<LPARAM>(3));

    platform::UniqueHandle thread(DuplicateThread(m_light.WatcherThread()));
    // Joined, not given up on: the thread has ended and no handle is kept.
    EXPECT_TRUE(m_light.StartStopLightLevelWatcher(false, nullptr, nullptr));
    EXPECT_EQ(WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeThread(thread.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);  // left because it was stopped
    EXPECT_EQ(m_light.WatcherThread(), nullptr);

    // The stopped window hears nothing more, even from a notified reading.
    EXPECT_EQ(m_light.Window(), nullptr);
    SetPackageLevel(0);
    EXPECT_TRUE(m_light.GetLightLevel(nullptr, true, true));
    EXPECT_EQ(m_light.LastNotifiedLevel(), 0u);
    EXPECT_EQ(window.NextLevel(0), std::nullopt);  // the thread had ended: nothing more can come
    EXPECT_TRUE(m_light.StartStopLightLevelWatcher(false, nullptr, nullptr));  // stopping twice is harmless
}

TEST_F(LightLevelWatcher, WatchesTheDriverKeyWithoutThePackageKey)
{
    MakeVkpDriverKey(1);
    m_script.SetStatus(WMI_DEVID_KB_BACKLIGHT, 0x00050100);
    LevelWindow window;
    DWORD level = 99;
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), &level));
    EXPECT_EQ(level, 0u);
    m_script.SetStatus(WMI_DEVID_KB_BACKLIGHT, 0x00050102);
    ScopedRegistryDword::Set(kDriverSettingsKey, kLightLevelValueName, 2);
    EXPECT_EQ(window.NextLevel(), std::optional<LPARAM>(2));
}

TEST_F(LightLevelWatcher, StartWithoutALevelStartsNothing)
{
    LevelWindow window;
    DWORD level = 99;
    EXPECT_FALSE(m_light.StartStopLightLevelWatcher(true, window.Get(), &level));
    EXPECT_EQ(level, 99u);
    EXPECT_EQ(m_light.WatcherThread(), nullptr);
    EXPECT_EQ(m_light.Window(), nullptr);
    EXPECT_TRUE(m_light.StartStopLightLevelWatcher(false, nullptr, nullptr));
}

TEST_F(LightLevelWatcher, SecondStartKeepsTheThreadAndTakesTheNewWindow)
{
    SetPackageLevel(1);
    LevelWindow first;
    LevelWindow second;
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, first.Get(), nullptr));
    const DWORD threadId = GetThreadId(m_light.WatcherThread());
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, second.Get(), nullptr));
    EXPECT_EQ(GetThreadId(m_light.WatcherThread()), threadId);

    SetPackageLevel(2);
    EXPECT_EQ(second.NextLevel(), std::optional<LPARAM>(2));
    EXPECT_EQ(first.NextLevel(0), std::nullopt);  // the one post of the change went to the second
}

// A thread that does not leave within the stop's wait (held here by
// suspending it) keeps its handles; a later start takes it back.
TEST_F(LightLevelWatcher, StopThatGivesUpWaitingKeepsTheThreadForTheNextStart)
{
    SetPackageLevel(1);
    LevelWindow window;
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), nullptr));
    SetPackageLevel(2);
    // Past its post the thread holds nothing this test needs, wherever it is held.
    ASSERT_EQ(window.NextLevel(), std::optional<LPARAM>(2));
    platform::UniqueHandle thread(DuplicateThread(m_light.WatcherThread()));
    const DWORD threadId = GetThreadId(thread.Get());
    ASSERT_NE(SuspendThread(thread.Get()), static_cast<DWORD>(-1));

    EXPECT_GE(MillisecondsOf(m_light, false, nullptr), kLightLevelStopWaitMs - 100);
    EXPECT_NE(m_light.WatcherThread(), nullptr);
    EXPECT_EQ(m_light.Window(), nullptr);

    EXPECT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), nullptr));
    EXPECT_EQ(GetThreadId(m_light.WatcherThread()), threadId);  // no second watcher
    ResumeThread(thread.Get());
    SetPackageLevel(3);
    EXPECT_EQ(window.NextLevel(), std::optional<LPARAM>(3));
    EXPECT_EQ(WaitForSingleObject(thread.Get(), 0), WAIT_TIMEOUT);

    // Joined this time: ended, and no handle kept.
    EXPECT_TRUE(m_light.StartStopLightLevelWatcher(false, nullptr, nullptr));
    EXPECT_EQ(WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(m_light.WatcherThread(), nullptr);
}

TEST_F(LightLevelWatcher, StopAfterTheThreadEndedClosesWithoutWaiting)
{
    SetPackageLevel(1);
    LevelWindow window;
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), nullptr));
    SetPackageLevel(2);
    ASSERT_EQ(window.NextLevel(), std::optional<LPARAM>(2));
    platform::UniqueHandle thread(DuplicateThread(m_light.WatcherThread()));
    ASSERT_NE(SuspendThread(thread.Get()), static_cast<DWORD>(-1));
    MillisecondsOf(m_light, false, nullptr);  // gives up waiting
    ASSERT_NE(m_light.WatcherThread(), nullptr);
    ResumeThread(thread.Get());
    ASSERT_EQ(WaitForSingleObject(thread.Get(), kPostWaitMs), WAIT_OBJECT_0);

    // Well short of the stop's wait, which a busy machine does not make up.
    EXPECT_LT(MillisecondsOf(m_light, false, nullptr), kLightLevelStopWaitMs);
    EXPECT_EQ(m_light.WatcherThread(), nullptr);

    // A fresh start then runs a new watcher.
    ASSERT_TRUE(m_light.StartStopLightLevelWatcher(true, window.Get(), nullptr));
    ASSERT_NE(m_light.WatcherThread(), nullptr);
    EXPECT_NE(GetThreadId(m_light.WatcherThread()), GetThreadId(thread.Get()));
    SetPackageLevel(0);
    EXPECT_EQ(window.NextLevel(), std::optional<LPARAM>(0));
}

// Holds the loader lock, so a thread that loads the library waits there.
class LoaderLockHold {
public:
    LoaderLockHold()
    {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        m_lock = reinterpret_cast<LockFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrLockLoaderLock")));
        m_unlock = reinterpret_cast<UnlockFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrUnlockLoaderLock")));
        m_held = m_lock != nullptr && m_unlock != nullptr && m_lock(0, nullptr, &m_cookie) == 0;
    }
    ~LoaderLockHold() { Release(); }
    bool IsHeld() const { return m_held; }
    // How many threads wait for the lock while it is held: Wine counts them
    // up from 0, Windows from Vista on down from -2 in steps of four.
    int Waiters() const
    {
        const LONG count = LoaderSection()->LockCount;
        return count >= 0 ? static_cast<int>(count) : static_cast<int>((-1 - count) >> 2);
    }
    void Release()
    {
        if (m_held) m_unlock(0, m_cookie);
        m_held = false;
    }

private:
    static const RTL_CRITICAL_SECTION* LoaderSection()
    {
        // The PEB's LoaderLock, which no header names.
        using PebFn = const BYTE*(NTAPI*)();
        const auto currentPeb = reinterpret_cast<PebFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetCurrentPeb")));
        const BYTE* peb = currentPeb();
#ifdef _WIN64
        return *reinterpret_cast<RTL_CRITICAL_SECTION* const*>(peb + 0x110);
#else
        return *reinterpret_cast<RTL_CRITICAL_SECTION* const*>(peb + 0xA0);
#endif
    }

    using LockFn = LONG(NTAPI*)(ULONG, ULONG*, ULONG_PTR*);
    using UnlockFn = LONG(NTAPI*)(ULONG, ULONG_PTR);
    LockFn m_lock = nullptr;
    UnlockFn m_unlock = nullptr;
    ULONG_PTR m_cookie = 0;
    bool m_held = false;
};

// The thread is held in its reading (loading the library) while its owner
// stops, gives up waiting and goes; afterwards its wait must still see the
// stop event, not a closed handle.
TEST_F(LightLevelWatcher, ThreadOutlivingItsOwnerStillSeesItsStopEvent)
{
    MakeVkpDriverKey(1);
    m_script.SetStatus(WMI_DEVID_KB_BACKLIGHT, 0x00050100);
    LevelWindow window;
    platform::UniqueHandle thread;
    {
        auto light = std::make_unique<LightLevel>(kLibrary);
        ASSERT_TRUE(light->StartStopLightLevelWatcher(true, window.Get(), nullptr));
        // Past its first reading: the start's own and the thread's have asked the library.
        ASSERT_TRUE(PollUntil(
            [&] { return m_script.CallsOf("VoWMI_NB_GetDeviceStatus").size() >= 2; }, kPostWaitMs));
        thread.Reset(DuplicateThread(light->WatcherThread()));
        LoaderLockHold loader;
        ASSERT_TRUE(loader.IsHeld());
        m_script.SetStatus(WMI_DEVID_KB_BACKLIGHT, 0x00050101);
        ScopedRegistryDword::Set(kDriverSettingsKey, kLightLevelValueName, 2);
        ASSERT_TRUE(PollUntil([&] { return loader.Waiters() > 0; }, kPostWaitMs))
            << "the thread never came to load the library";
        const ULONGLONG begin = GetTickCount64();
        light.reset();
        EXPECT_GE(GetTickCount64() - begin, kLightLevelStopWaitMs - 100);
        loader.Release();
    }
    ASSERT_EQ(WaitForSingleObject(thread.Get(), kPostWaitMs), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeThread(thread.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);  // left through its stop event
    EXPECT_EQ(window.NextLevel(0), std::nullopt);  // the thread had ended: nothing more can come
}
