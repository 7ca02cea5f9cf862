#include "backend/device/LightLevel.h"

#include <atomic>
#include <cwchar>
#include <utility>

#include "backend/device/NbhwctlApi.h"
#include "platform/win/BoundedFormat.h"

namespace {

// The watcher's life, shared by the UI thread and the thread itself, so a
// stop and a later start agree on whether the thread is still watching.
enum WatcherState : int {
    kWatcherWatching,
    kWatcherStopRequested,
    kWatcherLeaving,
};

constexpr uint32_t kWmiBacklightLevel0 = 0x00050100;
constexpr uint32_t kWmiBacklightLevel1 = 0x00050101;
constexpr uint32_t kWmiBacklightLevel2 = 0x00050102;

// SOFTWARE keys of this 32-bit program live in the 32-bit view.
constexpr REGSAM kRegistryView = KEY_WOW64_32KEY;

template <typename Fn>
Fn Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Reads the level of the backlight device from the maker's library; seed is
// what the status word holds before the call.
bool ReadLevelFromLibrary(const std::wstring& libraryPath, uint32_t seed, DWORD& level)
{
    // Not freed: like the main window's copy, the library stays loaded once
    // it has registered its event.
    HMODULE module = LoadLibraryW(libraryPath.c_str());
    if (module == nullptr) return false;
    auto open = Resolve<PFN_VoWMI_Open>(module, "VoWMI_Open");
    auto checkSupport = Resolve<PFN_VoWMI_CheckSupport>(module, "VoWMI_CheckSupport");
    auto registerEvent = Resolve<PFN_VoWMI_NB_RegisterEvent>(module, "VoWMI_NB_RegisterEvent");
    auto getStatus = Resolve<PFN_VoWMI_NB_GetDeviceStatus>(module, "VoWMI_NB_GetDeviceStatus");
    if (open == nullptr || checkSupport == nullptr || registerEvent == nullptr || getStatus == nullptr) return false;

    if (!checkSupport()) OutputDebugStringW(L"not DT/AIO/MBWMI");
    if (open()) {
        registerEvent();
        RegisterWindowMessageW(L"WM_VORN_BROADCAST_MESSAGE");
    }
    uint32_t status = seed;
    // A failed read leaves the seed in the word: that is no level.
    if (!getStatus(WMI_DEVID_KB_BACKLIGHT, &status)) return false;
    level = LightLevelFromWmiStatus(status);
    return true;
}

bool ReadString(HKEY key, const wchar_t* name, wchar_t (&text)[MAX_PATH + 1])
{
    DWORD bytes = sizeof(text);
    return RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, text, &bytes) == ERROR_SUCCESS;
}

bool IsVkpDriverKey(HKEY key)
{
    wchar_t text[MAX_PATH + 1];
    if (!ReadString(key, L"MatchingDeviceId", text)) return false;
    if (CompareStringOrdinal(text, -1, kVkpMatchingDeviceId, -1, TRUE) != CSTR_EQUAL) return false;
    return ReadString(key, L"DriverDesc", text) && wcscmp(text, kVkpDriverDesc) == 0;
}

platform::UniqueHKey OpenForNotify(const wchar_t* subKey)
{
    platform::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_NOTIFY | kRegistryView, key.Put()) != ERROR_SUCCESS)
        key.Reset();
    return key;
}

platform::UniqueHKey OpenWatchedKey()
{
    platform::UniqueHKey key = OpenForNotify(kVkpPackageKey);
    if (key) return key;
    wchar_t settings[MAX_PATH];
    if (FindVKPSettingsKey(settings)) key = OpenForNotify(settings);
    return key;
}

bool AskForChange(HKEY key, HANDLE changeEvent)
{
    return RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changeEvent, TRUE) == ERROR_SUCCESS;
}

UINT HotkeySimulationMessage()
{
    static const UINT message = RegisterWindowMessageW(kHotkeySimulationMessageText);
    return message;
}

}  // namespace

DWORD LightLevelFromRegistryValue(DWORD value)
{
    DWORD level = value & 0x0F;
    return level > kLightLevelMax ? kLightLevelMax : level;
}

DWORD LightLevelFromWmiStatus(uint32_t status)
{
    switch (status) {
    case kWmiBacklightLevel0: return 0;
    case kWmiBacklightLevel1: return 1;
    case kWmiBacklightLevel2: return 2;
    default: return kLightLevelMax;
    }
}

bool ReadLightLevel(const wchar_t* subKey, DWORD& value)
{
    platform::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_QUERY_VALUE | kRegistryView, key.Put()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key.Get(), kLightLevelValueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return false;
    value = data;
    return true;
}

bool FindVKPSettingsKey(wchar_t (&path)[MAX_PATH])
{
    platform::UniqueHKey classKey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemDevicesClassKey, 0,
                      KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | kRegistryView, classKey.Put()) != ERROR_SUCCESS)
        return false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[MAX_PATH];
        DWORD length = MAX_PATH;
        LSTATUS status = RegEnumKeyExW(classKey.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // a name too long for the path: not ours
        if (status != ERROR_SUCCESS) return false;
        platform::UniqueHKey subKey;
        if (RegOpenKeyExW(classKey.Get(), name, 0, KEY_READ | kRegistryView, subKey.Put()) != ERROR_SUCCESS) continue;
        if (!IsVkpDriverKey(subKey.Get())) continue;
        // A cut path would name some other key.
        if (platform::FormatBounded(path, MAX_PATH, L"%ls\\%ls\\Settings", kSystemDevicesClassKey, name)) return true;
    }
}

struct LightLevel::Shared {
    std::wstring libraryPath;
    std::atomic<DWORD> lastLevel{kLightLevelUnread};
    std::atomic<HWND> window{nullptr};
    std::atomic<int> watcherState{kWatcherLeaving};
};

// Everything the thread owns: its share of the state and its own copy of the
// stop event, so nothing it waits on can be closed under it.
struct LightLevel::WatcherStart {
    std::shared_ptr<Shared> shared;
    platform::UniqueHandle stopEvent;
};

LightLevel::LightLevel(std::wstring libraryPath) : m_shared(std::make_shared<Shared>())
{
    m_shared->libraryPath = std::move(libraryPath);
}

LightLevel::~LightLevel()
{
    StartStopLightLevelWatcher(false, nullptr, nullptr);
}

DWORD LightLevel::LastNotifiedLevel() const
{
    return m_shared->lastLevel.load();
}

HWND LightLevel::Window() const
{
    return m_shared->window.load();
}

bool LightLevel::GetLightLevel(DWORD* level, bool notify, bool post)
{
    return ReadLevel(*m_shared, level, notify, post);
}

bool LightLevel::ReadLevel(Shared& shared, DWORD* level, bool notify, bool post)
{
    DWORD value = 0;
    DWORD found = 0;
    if (ReadLightLevel(kVkpPackageKey, value)) {
        found = LightLevelFromRegistryValue(value);
    } else {
        // The driver key's value only says the package is there; the level
        // itself comes from the library.
        wchar_t settings[MAX_PATH];
        if (!FindVKPSettingsKey(settings) || !ReadLightLevel(settings, value)) return false;
        if (!ReadLevelFromLibrary(shared.libraryPath, value, found)) return false;
    }
    if (level != nullptr) *level = found;
    if (notify && shared.lastLevel.exchange(found) != found) {
        HWND window = shared.window.load();
        if (post && window != nullptr) PostMessageW(window, kLightLevelChangedMessage, 0, static_cast<LPARAM>(found));
    }
    return true;
}

bool LightLevel::SetLightLevel(DWORD level)
{
    if (level > kLightLevelMax) return false;
    DWORD current = 0;
    if (!GetLightLevel(&current, false, false) || current == level) return false;
    HWND service = FindWindowW(kHotkeyWindowClass, kHotkeyWindowTitle);
    if (service == nullptr) return false;
    // The new level comes back through the registry and the watcher.
    return PostMessageW(service, HotkeySimulationMessage(), kHotkeySetLevelWParam,
                        kHotkeySetLevelLParamBase + static_cast<LPARAM>(level)) != FALSE;
}

bool LightLevel::StartStopLightLevelWatcher(bool start, HWND window, DWORD* level)
{
    Shared& shared = *m_shared;
    if (start) {
        if (!GetLightLevel(level, true, false)) return false;
        shared.window.store(window);
        if (m_hThread) {
            // A thread kept by a stop that gave up waiting: it watches again,
            // unless it is already on its way out.
            if (m_hStopEvent) ResetEvent(m_hStopEvent.Get());
            int expected = kWatcherStopRequested;
            if (!shared.watcherState.compare_exchange_strong(expected, kWatcherWatching) &&
                expected == kWatcherLeaving) {
                if (WaitForSingleObject(m_hThread.Get(), kLightLevelStopWaitMs) != WAIT_OBJECT_0) return true;
                m_hThread.Reset();
            }
        }
        if (!m_hStopEvent) {
            m_hStopEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
            if (!m_hStopEvent) return true;
        }
        if (!m_hThread) StartWatcherThread();
        return true;
    }

    // No post may reach the window once its owner has stopped watching.
    shared.window.store(nullptr);
    if (!m_hStopEvent) return true;
    int expected = kWatcherWatching;
    shared.watcherState.compare_exchange_strong(expected, kWatcherStopRequested);
    SetEvent(m_hStopEvent.Get());
    if (m_hThread) {
        // Still running: keep its handles, a later start takes it back.
        if (WaitForSingleObject(m_hThread.Get(), kLightLevelStopWaitMs) != WAIT_OBJECT_0) return true;
        m_hThread.Reset();
    }
    m_hStopEvent.Reset();
    return true;
}

void LightLevel::StartWatcherThread()
{
    auto start = std::make_unique<WatcherStart>();
    start->shared = m_shared;
    if (!DuplicateHandle(GetCurrentProcess(), m_hStopEvent.Get(), GetCurrentProcess(), start->stopEvent.Put(), 0,
                         FALSE, DUPLICATE_SAME_ACCESS))
        return;
    m_shared->watcherState.store(kWatcherWatching);
    m_hThread.Reset(CreateThread(nullptr, 0, &LightLevel::LightLevelWatcherThread, start.get(), 0, nullptr));
    if (m_hThread)
        start.release();  // the thread owns it now
    else
        m_shared->watcherState.store(kWatcherLeaving);
}

DWORD WINAPI LightLevel::LightLevelWatcherThread(void* parameter)
{
    std::unique_ptr<WatcherStart> start(static_cast<WatcherStart*>(parameter));
    Shared& shared = *start->shared;
    struct LeaveMark {
        Shared& shared;
        ~LeaveMark() { shared.watcherState.store(kWatcherLeaving); }
    } leaveMark{shared};

    platform::UniqueHandle changeEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!changeEvent) return 1;
    platform::UniqueHKey key = OpenWatchedKey();
    // Asked for before each reading, so a change in between is not lost.
    bool watching = key && AskForChange(key.Get(), changeEvent.Get());
    ReadLevel(shared, nullptr, true, true);
    if (!watching) return 1;

    const HANDLE events[2] = {start->stopEvent.Get(), changeEvent.Get()};
    for (;;) {
        DWORD result = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            int expected = kWatcherStopRequested;
            if (shared.watcherState.compare_exchange_strong(expected, kWatcherLeaving)) return 0;
            continue;  // started again before it could leave
        }
        if (result != WAIT_OBJECT_0 + 1) return 1;
        watching = AskForChange(key.Get(), changeEvent.Get());
        ReadLevel(shared, nullptr, true, true);
        if (!watching) return 1;
    }
}

LightLevel g_LightLevel;

bool GetLightLevel(DWORD* level, bool notify, bool post)
{
    return g_LightLevel.GetLightLevel(level, notify, post);
}

bool SetLightLevel(DWORD level)
{
    return g_LightLevel.SetLightLevel(level);
}

bool StartStopLightLevelWatcher(bool start, HWND window, DWORD* level)
{
    return g_LightLevel.StartStopLightLevelWatcher(start, window, level);
}
