#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/win/UniqueHandle.h"

// Posted to the level selector: wParam 0, lParam the level. The app's
// WM_LIGHTLEVEL_CHANGED has the same number.
constexpr UINT kLightLevelChangedMessage = WM_USER + 703;
// The hotkey service's registered message: wParam 199, lParam 128 + level.
constexpr wchar_t kHotkeySimulationMessageText[] = L"ACPI Simulation through VKPHotkey from Application";
constexpr WPARAM kHotkeySetLevelWParam = 199;
constexpr LPARAM kHotkeySetLevelLParamBase = 128;
constexpr wchar_t kHotkeyWindowClass[] = L"TESSEL";
constexpr wchar_t kHotkeyWindowTitle[] = L"Tessel";

constexpr wchar_t kVkpPackageKey[] = L"SOFTWARE\\VORN\\VKP Package";
// The system-devices setup class, under which the hotkey driver's key lives.
constexpr wchar_t kSystemDevicesClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e97d-e325-11ce-bfc1-08002be10318}";
constexpr wchar_t kVkpMatchingDeviceId[] = L"ACPI\\VORN7000";
constexpr wchar_t kVkpDriverDesc[] = L"VKP Package (VORN Keyboard Hotkeys) Device";
constexpr wchar_t kLightLevelValueName[] = L"HidKeybdLightLevel";

constexpr DWORD kLightLevelMax = 3;
// The last notified level before anything was read.
constexpr DWORD kLightLevelUnread = 15;
constexpr DWORD kLightLevelStopWaitMs = 2000;

// Low four bits, anything above the top level counts as the top level.
DWORD LightLevelFromRegistryValue(DWORD value);
// The library's backlight status word; unknown words mean the top level.
DWORD LightLevelFromWmiStatus(uint32_t status);

// The hotkey driver's "Settings" key, relative to HKLM; true when found.
bool FindVKPSettingsKey(wchar_t (&path)[MAX_PATH]);
// HidKeybdLightLevel under HKLM\subKey; true when a DWORD was read.
bool ReadLightLevel(const wchar_t* subKey, DWORD& value);

// The backlight level: read from the registry (or the maker's library), set
// through the hotkey service window, and followed by a watcher thread that
// posts kLightLevelChangedMessage to a window. The program has one
// (g_LightLevel); tests make their own with the stand-in library.
class LightLevel {
public:
    explicit LightLevel(std::wstring libraryPath = L"NBHWCTL.dll");
    ~LightLevel();
    LightLevel(const LightLevel&) = delete;
    LightLevel& operator=(const LightLevel&) = delete;

    // level may be null. With notify, a level that differs from the last
    // notified one is remembered and, with post, posted to the window.
    bool GetLightLevel(DWORD* level, bool notify, bool post);
    // True when the request was posted to the hotkey service.
    bool SetLightLevel(DWORD level);
    // False only when starting could not read the level.
    bool StartStopLightLevelWatcher(bool start, HWND window, DWORD* level);

    DWORD LastNotifiedLevel() const;
    HWND Window() const;
    // The watcher thread's handle while one is kept, else null.
    HANDLE WatcherThread() const { return m_hThread.Get(); }

private:
    struct Shared;
    struct WatcherStart;

    static bool ReadLevel(Shared& shared, DWORD* level, bool notify, bool post);
    static DWORD WINAPI LightLevelWatcherThread(void* parameter);
    void StartWatcherThread();

    // What the watcher thread uses lives here, so it outlasts this object
    // when a stop gives up waiting.
    std::shared_ptr<Shared> m_shared;
    platform::UniqueHandle m_hStopEvent;
    platform::UniqueHandle m_hThread;
};

extern LightLevel g_LightLevel;

// The program's calls, on g_LightLevel.
bool GetLightLevel(DWORD* level, bool notify, bool post);
bool SetLightLevel(DWORD level);
bool StartStopLightLevelWatcher(bool start, HWND window, DWORD* level);
