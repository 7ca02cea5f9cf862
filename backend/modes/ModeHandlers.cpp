#include "backend/modes/ModeHandlers.h"

#include <array>

#include "backend/device/RgbKeyboard.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/modes/Shortcuts.h"
#include "backend/profiles/AppliedConfig.h"
#include "backend/profiles/IniStore.h"
#include "backend/service/LightingServiceClient.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"

namespace {

const wchar_t kConfig[] = L"Config";
const wchar_t kMainWindowClass[] = L"VYL LumoCore App Class";

void WriteApplyZero(const wchar_t* folder)
{
    wchar_t basic[MAX_PATH];
    if (BuildBasicIniPath(folder, basic, MAX_PATH)) WriteIniInt(basic, kConfig, L"Apply", 0);
}

// Static red, commit and apply, over HID whatever the model type.
void SendReset(bool readStatus, const wchar_t* place)
{
    InitRGBKBDevice();
    DWORD dwType = 0;
    if (readStatus) {
        DWORD dwSubType = 0;
        GetRGBKBStatus(dwType, dwSubType);
        LogNumber(L"KBStatus, dwType is ", place, dwType);
    }
    SetRGBKBEffect(0, true, ResetEffect(), dwType);
    ExecSimpleCmd2RGBKB(RGBKB_CMD_COMMIT);
    ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
    LogMessage(L"Prepare to exit !!!", L"UninitRGBKBDevice", true, 0);
}

void Broadcast(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageW(HWND_BROADCAST, message, wParam, lParam);
}

// Posts WM_CLOSE to another process's main window and waits, bounded, for it
// to go: its close still writes Basic.ini, which must not race the deletion.
void CloseRunningWindow(HWND self)
{
    HWND found = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr);
    if (found != nullptr && found == self) {
        LogMessage(L"found self window, next !", L"UninstallHandler", true, 0);
        found = FindWindowExW(nullptr, found, kMainWindowClass, nullptr);
    }
    if (found == nullptr) return;
    LogMessage(L"found main ui window !", L"UninstallHandler", true, 0);
    PostMessageW(found, WM_CLOSE, 0, 0);
    const ULONGLONG deadline = GetTickCount64() + kRunningWindowCloseWaitMs;
    while (IsWindow(found) && GetTickCount64() < deadline) Sleep(20);
}

bool ProgramFolderOrTrace(const ModeEnvironment& env, wchar_t* folder, const wchar_t* place)
{
    if (env.folders.ProgramFolder(folder, MAX_PATH)) return true;
    LogMessage(L"GetModuleFileName failed", place, false, 0);
    return false;
}

}  // namespace

EffectData ResetEffect()
{
    EffectData effect{};
    effect.ColorR = 255;
    return effect;
}

uint32_t ModelTypeFromStatus(DWORD dwType, DWORD dwSubType, DWORD pidModel, int productId)
{
    uint32_t modelType = dwType;
    if (dwType == 2) {
        if (pidModel == 2)
            modelType = 3;
        else if (pidModel == 3 && dwSubType == 1)
            modelType = 4;
    }
    if (productId == kProductForcedToModelTypeOne) modelType = 1;
    return modelType;
}

void InstallHandler(const ModeEnvironment& env)
{
    const wchar_t* place = L"InstallHandler";
    LogMessage(L"I am called!", place, true, 0);
    if (!ProgramFolderOrTrace(env, m_tszIniDir, place)) return;
    LogMessage(m_tszIniDir, L"m_tszIniDir @ InstallHandler", true, 0);
    if (!g_bUWP) {
        WriteApplyZero(m_tszIniDir);
        SendReset(true, place);
        Broadcast(env.profileModifyMessage, 0, 0);
    }
    ShortCutHandler(true);
}

void UninstallHandler(const ModeEnvironment& env)
{
    CloseRunningWindow(env.selfWindow);

    wchar_t appData[MAX_PATH];
    wchar_t dataFolder[MAX_PATH];
    if (env.folders.CommonAppDataFolder(appData, MAX_PATH) && BuildDataFolder(appData, dataFolder, MAX_PATH)) {
        LogMessage(dataFolder, L"tszPath @ UninstallHandler", true, 0);
        RemoveFiles(dataFolder, L"*.*", true);
    }
    SendReset(false, L"UninstallHandler");
    NotifySyncEffectUpdate(env.profileSyncModifyMessage, env.folders);
    ShortCutHandler(false);
    Broadcast(env.profileModifyMessage, 2, 0);
}

void CheckDefaultHandler(const ModeEnvironment& env)
{
    const wchar_t* place = L"CheckDefaultHandler";
    LogMessage(L"I am called!", place, true, 0);
    if (g_bUWP) {
        wchar_t appData[MAX_PATH];
        wchar_t dataFolder[MAX_PATH];
        if (!env.folders.CommonAppDataFolder(appData, MAX_PATH) || !BuildDataFolder(appData, dataFolder, MAX_PATH) ||
            !JoinPath(m_tszIniDir, MAX_PATH, dataFolder, L"UWPIni", L"path too long @ CheckDefaultHandler"))
            return;
    } else if (!ProgramFolderOrTrace(env, m_tszIniDir, place)) {
        return;
    }
    LogMessage(m_tszIniDir, L"m_tszIniDir @ CheckDefaultHandler", true, 0);
    WriteApplyZero(m_tszIniDir);
    // The type trace of the reset names the install handler's place.
    SendReset(true, L"InstallHandler");
}

void NotifySyncEffectUpdate(UINT profileSyncModifyMessage, const ProfileFolderSources& folders)
{
    const wchar_t* place = L"NotifySyncEffectUpdate";
    wchar_t basic[MAX_PATH];
    // Without a profile folder there is no Basic.ini to write: a bare
    // "\Basic.ini" would land at the root of the drive.
    if (m_tszIniDir[0] != L'\0' && BuildBasicIniPath(m_tszIniDir, basic, MAX_PATH)) {
        WritePrivateProfileStringW(L"Sync", L"Enable", L"0", basic);
        WritePrivateProfileStringW(L"Sync", L"PreviewOthers", L"0", basic);
    }
    LogMessage(L"nIndex out of bound!", place, true, 0);

    HWND listener = FindWindowW(kListenerWindowClass, nullptr);
    if (listener == nullptr) {
        RunListener(folders);
        Sleep(500);
        listener = FindWindowW(kListenerWindowClass, nullptr);
        if (listener == nullptr) return;
    }
    LogMessage(L"found sync window !", place, true, 0);
    PostMessageW(listener, profileSyncModifyMessage, 0, 0);
}

namespace {

// What an index selects: the tab (profile) it applies, the effect written
// as "ApplyEff", and whether that is profile 0's all-keys effect; stores is
// false when the index selects nothing to write.
struct ApplySelection {
    int32_t tab;
    int32_t effect;
    bool setsAllIndex;
    bool stores;
};

ApplySelection SelectWithSupport(uint32_t modelType, uint32_t index, const ProfileTable& profiles, int32_t currentTab)
{
    if (modelType == 1) {
        // Index 3 to 5 skip effect 3, which the window offers no button for.
        if (index <= 5) return {0, static_cast<int32_t>(index <= 2 ? index : index + 1), true, true};
        if (index == 6) return {1, profiles[1].wasdIndex, false, true};
        if (index == 7) return {2, profiles[2].qwerIndex, false, true};
        return {currentTab, 0, false, false};
    }
    if (index <= 6) return {0, static_cast<int32_t>(index), true, true};
    return {static_cast<int32_t>(index - 6), profiles[index - 6].fourIndex, false, true};
}

ApplySelection SelectApply(uint32_t index, uint32_t modelType, DWORD support, const ProfileTable& profiles,
                           int32_t currentTab)
{
    if (support != 0) return SelectWithSupport(modelType, index, profiles, currentTab);
    if (index >= kProfileCount) return {currentTab, 0, false, false};
    return {static_cast<int32_t>(index), 0, false, true};
}

}  // namespace

int32_t StoreApplySelection(const wchar_t* folder, uint32_t index, uint32_t modelType, DWORD support,
                            ProfileTable& profiles, int32_t currentTab)
{
    const ApplySelection selection = SelectApply(index, modelType, support, profiles, currentTab);
    wchar_t basic[MAX_PATH];
    wchar_t custom0[MAX_PATH];
    if (!selection.stores || !BuildBasicIniPath(folder, basic, MAX_PATH) ||
        !BuildCustomIniPath(folder, 0, custom0, MAX_PATH))
        return currentTab;
    CustomProfile& profile = profiles[static_cast<size_t>(selection.tab)];
    WriteIniInt(basic, kConfig, L"Apply", selection.tab);
    WriteIniInt(basic, kConfig, L"ApplyMode", AppliedZoneMode(profile, selection.tab, support != 0));
    if (support == 0) {
        if (const int32_t* field = AppliedEffectField(profile, selection.tab, false, modelType))
            WriteIniInt(basic, kConfig, L"ApplyEff", *field);
    } else if (selection.setsAllIndex) {
        WriteIniInt(custom0, kConfig, L"allIndex", selection.effect);
        WriteIniInt(basic, kConfig, L"ApplyEFF", selection.effect);
        profiles[0].allIndex = selection.effect;
    } else {
        WriteIniInt(basic, kConfig, L"ApplyEff", selection.effect);
    }
    return selection.tab;
}

void ApplyHandler(ApplyModeState& state)
{
    const wchar_t* place = L"ApplyHandler";
    const uint32_t index = state.applyIndex;
    LogNumber(L"g_dwApplyIndex is", place, index);
    // Without the support flag the index names a profile, and there are three.
    if (index > 8) {
        LogMessage(L"g_dwApplyIndex out of bound !", place, true, 0);
        return;
    }

    InitRGBKBDevice();
    DWORD dwType = 0;
    DWORD dwSubType = 0;
    GetRGBKBStatus(dwType, dwSubType);
    LogNumber(L"KBStatus, dwType is ", place, dwType);
    if (dwType != 1 && dwType != 2) {
        LogMessage(L"dwType wrong !", place, true, 0);
        return;
    }
    if (g_dwSupport == 0 && index >= kProfileCount) {
        LogMessage(L"g_dwApplyIndex out of bound !", place, true, 0);
        return;
    }
    state.modelType = ModelTypeFromStatus(dwType, dwSubType, g_dwPidModel, state.productId);
    LogNumber(L"m_uiModelType is ", place, state.modelType);

    SeedSettings seed;
    seed.support = g_dwSupport;
    seed.modelType = state.modelType;
    CopyIniFiles(state.env.folders, seed, g_bUWP, m_tszIniDir, MAX_PATH);
    wchar_t basic[MAX_PATH];
    BuildBasicIniPath(m_tszIniDir, basic, MAX_PATH);
    std::array<bool, kProfileCount> read{};
    for (int profile = 0; profile < kProfileCount; ++profile)
        read[static_cast<size_t>(profile)] = LoadCustomEffectsFromIni(profile);
    // A profile that could not be read holds the defaults: neither stored
    // nor sent as if they were the user's.
    const int32_t tab = SelectApply(index, state.modelType, g_dwSupport, g_CustomProfiles, state.currentTab).tab;
    if (tab < 0 || tab >= kProfileCount || !read[static_cast<size_t>(tab)]) {
        LogNumber(L"profile cannot be read, nothing applied", place, static_cast<uint32_t>(tab));
        return;
    }

    state.currentTab =
        StoreApplySelection(m_tszIniDir, index, state.modelType, g_dwSupport, g_CustomProfiles, state.currentTab);
    if (g_dwSupport != 0) {
        state.service.reScan();
        state.service.doSync();
    }

    if (dwType == 1) state.wmi.InitWMILibrary();
    EffectDispatchState dispatch{g_CustomProfiles, g_dwSupport, state.appliedProfile, state.currentTab, 0,
                                 state.slots,      state.wmi};
    ApplyEffect(dispatch, state.currentTab, dwType, false);

    ExecSimpleCmd2RGBKB(RGBKB_CMD_COMMIT);
    ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
    LogMessage(L"Prepare to exit !!!", L"UninitRGBKBDevice", true, 0);
    LogMessage(m_tszIniDir, L"after apply profile to ec, m_tszIniDir @ ApplyHandler", true, 0);
    LogMessage(basic, L"after apply profile to ec, tszBasic @ ApplyHandler", true, 0);
    Broadcast(state.env.profileModifyMessage, 0, static_cast<LPARAM>(index));
}
