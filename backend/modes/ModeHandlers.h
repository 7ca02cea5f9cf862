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

// The model type the window works with, from the controller's answer.
uint32_t ModelTypeFromStatus(DWORD dwType, DWORD dwSubType, DWORD pidModel, int productId);
