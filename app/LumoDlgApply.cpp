// Apply with its progress overlay, and the closing sequence.
#include "app/AppliedConfig.h"
#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"

namespace {

constexpr uint32_t kPowerStateDevice = 0x00100057;
constexpr uint32_t kPowerStateApplyWord = 0x1BD;
constexpr uint32_t kPowerStateRestoreWord = 0xBD;
constexpr uint8_t kCommandCommit = 0xB4;
constexpr uint8_t kCommandApply = 0xB5;
constexpr int kPowerStateTab = 1;

}  // namespace

void CLumoDlg::ResendZoneEffect()
{
    const EffectSlot& slot = m_syncSlots.slotB;
    if (m_uiModelType == 1)
        m_wmi.SetEffectByWMI(slot.effectIndex, slot.effect, g_nAppliedProfile);
    else
        SetRGBKBEffect(slot.effectIndex, false, slot.effect, m_uiModelType);
}

void CLumoDlg::OnBnClickedApply()
{
    if (m_nCurrentTab == kPowerStateTab) {
        m_wmi.DeviceControl(kPowerStateDevice, (static_cast<uint32_t>(g_uPowerStateMask) << 16) | kPowerStateApplyWord);
        if (m_syncWnd.GetSafeHwnd()) m_syncWnd.SavePowerSettings();
        if (g_nAppliedProfile == 1 || g_nAppliedProfile == 2) {
            ResendZoneEffect();
            ExecSimpleCmd2RGBKB(kCommandApply);
        }
        StartProgress();
        return;
    }

    if (m_nCurrentTab != g_nAppliedProfile) MoveAppliedMark(m_nCurrentTab);

    wchar_t basicPath[MAX_PATH];
    if (BasicIniPath(basicPath, MAX_PATH)) {
        const wchar_t* place = L"OnBnClickedApply";
        LogMessage(basicPath, L"tszPath @ OnBnClickedApply", false, 0);
        const int32_t effect = m_pEffectPanel ? static_cast<int32_t>(m_pEffectPanel->EffectType.Get()) : -1;
        SaveAppliedConfig(basicPath, g_nAppliedProfile, m_nZoneMode, effect);
        LogNumber(L"m_uiApply", place, static_cast<uint32_t>(g_nAppliedProfile));
        LogNumber(L"nModeIndex", place,
                  static_cast<uint32_t>(g_CustomProfiles[static_cast<size_t>(g_nAppliedProfile)].modeIndex));
        LogNumber(L"m_iModeIndex", place, static_cast<uint32_t>(m_nZoneMode));
    }
    SaveRecentColors();
    SaveCustomEffect2Ini(m_nCurrentTab);
    CommitToKeyboard();

    StartProgress();
    if (m_pEffectPanel) m_pEffectPanel->SnapshotSelection();
}

void CLumoDlg::CommitToKeyboard()
{
    if (!g_dwSupport) {
        ExecSimpleCmd2RGBKB(kCommandCommit);
        ExecSimpleCmd2RGBKB(kCommandApply);
        return;
    }
    if (m_nCurrentTab == 0) {
        ApplyEffect(0, m_uiModelType, false);
        if (m_uiModelType == 1) m_wmi.CommitEffectByWMI(g_CustomProfiles, g_nAppliedProfile);
        ExecSimpleCmd2RGBKB(kCommandCommit);
        m_syncWnd.m_nDeviceSyncMode = 0;
    } else {
        m_syncWnd.m_nDeviceSyncMode = 1;
        ExecSimpleCmd2RGBKB(kCommandCommit);
        ExecSimpleCmd2RGBKB(kCommandApply);
    }
}

void CLumoDlg::StartProgress()
{
    // A second Apply while the overlay shows starts no second one.
    if (m_progress.IsActive()) return;
    if (!m_progress.Create(this, m_nWindowWidth, m_nWindowHeight)) return;
    m_nProgress = 0;
    ::SetTimer(m_hWnd, kProgressStartTimerId, kProgressStartTimerMs, nullptr);
}

void CLumoDlg::SaveRecentColors()
{
    wchar_t basicPath[MAX_PATH];
    if (BasicIniPath(basicPath, MAX_PATH)) ::SaveRecentColors(basicPath, m_colorPopup.Picker().RecentColors());
}

void CLumoDlg::CancelProgram()
{
    // Sending the applied profile's effect below makes it the current tab.
    const int32_t shownTab = m_nCurrentTab;
    // Unapplied edits of profile 0 are dropped.
    LoadCustomEffectsFromIni(0);
    if (g_dwSupport) {
        if (m_uiModelType == 1) {
            if (g_nAppliedProfile >= 0 && g_nAppliedProfile <= 2) ApplyEffect(g_nAppliedProfile, 1, true);
        } else if (g_nAppliedProfile == 1 || g_nAppliedProfile == 2) {
            ApplyEffect(g_nAppliedProfile, m_uiModelType, true);
        }
        if (m_syncWnd.GetSafeHwnd()) m_syncWnd.LoadPowerSettings(true);
        m_wmi.DeviceControl(kPowerStateDevice,
                            (static_cast<uint32_t>(g_uPowerStateMask) << 16) | kPowerStateRestoreWord);
    } else {
        ApplyEffect(g_nAppliedProfile, m_uiModelType, true);
        ExecSimpleCmd2RGBKB(kCommandCommit);
        ExecSimpleCmd2RGBKB(kCommandApply);
    }
    LogMessage(L"Prepare to exit !!!", L"UninitRGBKBDevice", false, 0);
    SaveRecentColors();

    if (m_progress.IsActive() && m_progress.IsWindowVisible()) {
        // The window stays open while the overlay runs, on the tab it shows.
        m_nCurrentTab = shownTab;
        LogMessage(L"Prepare exit", L"CancelProgram", false, 0);
        return;
    }
    StartFadeOut(m_hWnd, WM_DIALOG_CANCEL);
    LogMessage(L"Prepare exit", L"CancelProgram", false, 0);
}
