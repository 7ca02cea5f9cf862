#pragma once
#include <windows.h>

#include <cstdint>

#include "backend/device/EffectDispatch.h"
#include "backend/device/WmiLibrary.h"
#include "backend/service/LightingServiceClient.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/UiHandles.h"

// The program's one window: a borderless modal dialog of the class
// "VYL LumoCore App Class". It also runs the command-line modes, unseen.
class CLumoDlg : public CDialog {
public:
    CLumoDlg();
    ~CLumoDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Close button, Alt+F4 and Esc.
    void CancelProgram();
    // Enter (1) or Esc (0) in a number box goes to the box's owner; TRUE when
    // the focus was in one.
    BOOL HandleEditKey(int enter);

    // Sends a profile's effect to the keyboard (see EffectDispatch).
    void ApplyEffect(int32_t profile, uint32_t modelType, bool useSelection);
    void InitWMILibrary();
    // "-apply N": the stored profile or effect N goes to the keyboard.
    void ApplyHandler();

    uint32_t m_uiModelType = 1;
    int32_t m_nCurrentTab = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The UI thread's apartment, which the lighting-service client uses.
    platform::ComApartment m_comApartment;
    platform::UniqueIcon m_hIcon;
    HACCEL m_hAccel = nullptr;
    WmiLibrary m_wmi;
    LightingServiceClient m_lightingService;
    // The effects last sent, which the sync page hands on.
    SyncEffectSlots m_syncSlots{};
    // The effect index the panel had selected when it was snapshot.
    int32_t m_nPanelSnapshot = 0;
};
