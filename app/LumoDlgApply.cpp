// Apply with its progress overlay, and the closing sequence.
#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/EffectDispatch.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/profiles/AppliedConfig.h"
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

void CLumoDlg::ResendAppliedEffect()
{
    if (g_nAppliedProfile < 0 || g_nAppliedProfile >= kProfileCount) return;
    if (!ProfileMaySend(g_nAppliedProfile)) return;
    const CustomProfile& profile = g_CustomProfiles[static_cast<size_t>(g_nAppliedProfile)];
    const int32_t zoneMode = g_dwSupport ? g_nAppliedProfile : profile.modeIndex;
    int32_t index = 0;
    const EffectData* record = DispatchRecord(profile, zoneMode, m_uiModelType, false, 0, index);
    if (record == nullptr) return;
    if (m_uiModelType == 1)
        m_wmi.SetEffectByWMI(index, *record, g_nAppliedProfile);
    else
        SetRGBKBEffect(index, zoneMode == 0, *record, m_uiModelType);
}

bool CLumoDlg::ProfileMaySend(int profile) const
{
    if (m_profileReads.IsKnown(profile)) return true;
    LogMessage(L"not sent, the profile was never read from its file", L"ApplyEffect", false,
               static_cast<uint32_t>(profile));
    return false;
}

bool CLumoDlg::HoldProfileAsStored(int profile)
{
    if (m_profileReads.IsRead(profile)) return true;
    if (!m_profileReads.Load(profile)) {
        LogMessage(L"left alone, the file cannot be read", L"HoldProfileAsStored", false, static_cast<uint32_t>(profile));
        return false;
    }
    // What the panel showed were defaults: it shows the stored profile now.
    if (m_pEffectPanel && m_pEffectPanel->Handle.Get() != nullptr)
        ::SendMessageW(m_pEffectPanel->Handle.Get(), WM_PANEL_SETPROFILE, static_cast<WPARAM>(m_nCurrentTab), 0);
    PreviewCurrent(m_nCurrentTab);
    return true;
}

int32_t* CLumoDlg::TabEffectField(int profile)
{
    if (profile < 0 || profile >= kProfileCount) return nullptr;
    return AppliedEffectField(g_CustomProfiles[static_cast<size_t>(profile)], profile, g_dwSupport != 0,
                              m_uiModelType);
}

void CLumoDlg::RememberStoredEffect(int profile, int32_t effect)
{
    const int32_t* field = TabEffectField(profile);
    m_storedEffect = {profile, field ? *field : -1, effect};
}

int32_t CLumoDlg::EffectToStore(int profile)
{
    const int32_t* field = TabEffectField(profile);
    if (field == nullptr) return m_pEffectPanel ? static_cast<int32_t>(m_pEffectPanel->EffectType.Get()) : -1;
    // Unchanged since it was stored: what is stored stays, also a value the
    // panel cannot show or one another process chose by its own rules.
    if (profile == m_storedEffect.profile && *field == m_storedEffect.tabIndex && m_storedEffect.effect != -1)
        return m_storedEffect.effect;
    return *field;
}

void CLumoDlg::OnBnClickedApply()
{
    if (m_nCurrentTab == kPowerStateTab) {
        ApplyPowerStates();
        return;
    }

    // A profile whose file could not be read is read again; an Apply that
    // cannot store it stores nothing and commits nothing.
    if (!HoldProfileAsStored(m_nCurrentTab) || !m_profileReads.Save(m_nCurrentTab)) {
        LogMessage(L"Apply left undone, the profile cannot be stored", L"OnBnClickedApply", false,
                   static_cast<uint32_t>(m_nCurrentTab));
        return;
    }
    const int32_t effect = EffectToStore(m_nCurrentTab);
    if (m_nCurrentTab != g_nAppliedProfile) MoveAppliedMark(m_nCurrentTab);

    wchar_t basicPath[MAX_PATH];
    if (BasicIniPath(basicPath, MAX_PATH)) {
        const wchar_t* place = L"OnBnClickedApply";
        LogMessage(basicPath, L"tszPath @ OnBnClickedApply", false, 0);
        // The zone mode as "-apply" stores it, so the two agree on the profile.
        const int32_t mode = AppliedZoneMode(g_CustomProfiles[static_cast<size_t>(g_nAppliedProfile)],
                                             g_nAppliedProfile, g_dwSupport != 0);
        SaveAppliedConfig(basicPath, g_nAppliedProfile, mode, effect);
        RememberStoredEffect(g_nAppliedProfile, effect);
        LogNumber(L"m_uiApply", place, static_cast<uint32_t>(g_nAppliedProfile));
        LogNumber(L"nModeIndex", place,
                  static_cast<uint32_t>(g_CustomProfiles[static_cast<size_t>(g_nAppliedProfile)].modeIndex));
        LogNumber(L"m_iModeIndex", place, static_cast<uint32_t>(m_nZoneMode));
    }
    SaveRecentColors();
    CommitToKeyboard();

    StartProgress();
    if (m_pEffectPanel) m_pEffectPanel->SnapshotSelection();
}

void CLumoDlg::ApplyPowerStates()
{
    // What goes to the keyboard is what this Apply stored: the switches of a
    // Basic.ini that was held at the start are only known once it is read.
    if (!m_syncWnd.GetSafeHwnd() || !m_syncWnd.SavePowerSettings()) {
        LogMessage(L"Apply left undone, the power states cannot be stored", L"OnBnClickedApply", false, 0);
        return;
    }
    g_uPowerStateMask = static_cast<BYTE>(m_syncWnd.PowerStateMaskNow());
    m_wmi.DeviceControl(kPowerStateDevice, (static_cast<uint32_t>(g_uPowerStateMask) << 16) | kPowerStateApplyWord);
    if (g_nAppliedProfile == 1 || g_nAppliedProfile == 2) {
        ResendAppliedEffect();
        ExecSimpleCmd2RGBKB(kCommandApply);
    }
    StartProgress();
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
    if (!BasicIniPath(basicPath, MAX_PATH)) return;
    LumoColorPicker& picker = m_colorPopup.Picker();
    if (!m_bRecentColorsRead) {
        DWORD error = 0;
        if (IniFileUnreadable(basicPath, &error)) {
            LogMessage(basicPath, L"recent colours left alone, the file cannot be read @ SaveRecentColors", false,
                       error);
            return;
        }
        // The stored colours go behind the ones picked since the start.
        const std::vector<uint32_t> picked = picker.RecentColors();
        for (uint32_t color : ::LoadRecentColors(basicPath)) picker.AddRecentColor(color);
        for (auto color = picked.rbegin(); color != picked.rend(); ++color) picker.AddRecentColor(*color);
        m_bRecentColorsRead = true;
    }
    ::SaveRecentColors(basicPath, picker.RecentColors());
}

void CLumoDlg::RestoreStoredState()
{
    // Unapplied edits are dropped: the table holds the files again (or, for a
    // file that cannot be read now, the profile as last read).
    m_profileReads.LoadAll();
    if (g_dwSupport) {
        if (m_uiModelType == 1) {
            if (g_nAppliedProfile >= 0 && g_nAppliedProfile <= 2) ApplyEffect(g_nAppliedProfile, 1, true);
        } else if (g_nAppliedProfile == 1 || g_nAppliedProfile == 2) {
            ApplyEffect(g_nAppliedProfile, m_uiModelType, true);
        }
        RestoreStoredPowerStates();
    } else {
        ApplyEffect(g_nAppliedProfile, m_uiModelType, true);
        ExecSimpleCmd2RGBKB(kCommandCommit);
        ExecSimpleCmd2RGBKB(kCommandApply);
    }
    LogMessage(L"Prepare to exit !!!", L"UninitRGBKBDevice", false, 0);
    SaveRecentColors();
}

void CLumoDlg::RestoreStoredPowerStates()
{
    if (!m_syncWnd.GetSafeHwnd()) return;
    // The page broadcasts the stored switches too, but a close may end the
    // process before that arrives: the stored mask goes out here, once.
    if (!m_syncWnd.LoadPowerSettings(true)) return;
    g_uPowerStateMask = static_cast<BYTE>(m_syncWnd.PowerStateMaskNow());
    m_restoredPowerMask = g_uPowerStateMask;
    m_wmi.DeviceControl(kPowerStateDevice, (static_cast<uint32_t>(g_uPowerStateMask) << 16) | kPowerStateRestoreWord);
}

void CLumoDlg::CancelProgram()
{
    if (m_bClosing) return;
    // Sending the applied profile's effect below makes it the current tab.
    const int32_t shownTab = m_nCurrentTab;
    RestoreStoredState();

    if (m_progress.IsActive() && m_progress.IsWindowVisible()) {
        // The window stays open while the overlay runs, on the tab it shows.
        m_nCurrentTab = shownTab;
        LogMessage(L"Prepare exit", L"CancelProgram", false, 0);
        return;
    }
    m_bClosing = true;
    StartFadeOut(m_hWnd, WM_DIALOG_CANCEL);
    LogMessage(L"Prepare exit", L"CancelProgram", false, 0);
}

void CLumoDlg::OnCloseRequest()
{
    if (m_bClosing) return;
    RestoreStoredState();
    m_bClosing = true;
    StartFadeOut(m_hWnd, WM_DIALOG_CANCEL);
    LogMessage(L"Prepare exit", L"OnCloseRequest", false, 0);
}

void CLumoDlg::OnEndSession(bool ending)
{
    if (!ending || m_bClosing) return;
    RestoreStoredState();
    m_bClosing = true;
    EndDialog(IDCANCEL);
}
