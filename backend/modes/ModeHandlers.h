#pragma once
#include <windows.h>

#include <cstdint>

#include "backend/device/EffectDispatch.h"
#include "backend/device/WmiLibrary.h"
#include "backend/profiles/ProfileFolders.h"

class LightingServiceClient;

// What the command-line modes take from the program around them.
struct ModeEnvironment {
    UINT profileModifyMessage;      // broadcast to running windows
    UINT profileSyncModifyMessage;  // posted to the listener
    HWND selfWindow;                // this process's own main window, if any
    const ProfileFolderSources& folders;
};

// The reset effect: static red on the whole keyboard.
EffectData ResetEffect();

// How long "-uninit" waits for a running window to close before deleting.
constexpr DWORD kRunningWindowCloseWaitMs = 5000;

void InstallHandler(const ModeEnvironment& env);
void UninstallHandler(const ModeEnvironment& env);
void CheckDefaultHandler(const ModeEnvironment& env);

// Writes [Sync] into the profile folder's Basic.ini (when there is a folder)
// and tells the listener, starting it from the program folder when it is not
// running.
void NotifySyncEffectUpdate(UINT profileSyncModifyMessage, const ProfileFolderSources& folders);

// "-apply N": the dialog's state that the mode reads and writes.
struct ApplyModeState {
    const ModeEnvironment& env;
    uint32_t applyIndex;       // g_dwApplyIndex
    int productId;             // ProductID
    int32_t appliedProfile;    // g_nAppliedProfile
    uint32_t& modelType;       // m_uiModelType
    int32_t& currentTab;
    SyncEffectSlots& slots;
    WmiLibrary& wmi;
    LightingServiceClient& service;
};

void ApplyHandler(ApplyModeState& state);

// What "-apply N" stores for the model type: [Config] of Basic.ini (and
// allIndex of Custom0.Ini when N picks an all-keys effect) in the folder, and
// the tab it picks; currentTab when N picks nothing to store.
int32_t StoreApplySelection(const wchar_t* folder, uint32_t index, uint32_t modelType, DWORD support,
                            ProfileTable& profiles, int32_t currentTab);

// The laptop model whose keyboard "-apply" treats as model type 1 whatever
// the controller reports. The window has a wider rule of its own; it takes
// over what "-apply" stored by re-reading the files.
constexpr int kProductForcedToModelTypeOne = 1;

// The model type "-apply" works with, from the controller's answer.
uint32_t ModelTypeFromStatus(DWORD dwType, DWORD dwSubType, DWORD pidModel, int productId);
