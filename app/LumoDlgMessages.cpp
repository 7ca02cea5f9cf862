// The main window's message dispatch, timers, tabs and the reaction to edits.
#include <windows.h>
#include <dbt.h>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/LightLevel.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/profiles/AppliedConfig.h"
#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"

namespace {

constexpr LPARAM kLastProfileModifyIndex = 8;
constexpr LPARAM kLastAllZoneEffectModel1 = 5;
constexpr LPARAM kLastAllZoneEffectOther = 6;
constexpr WPARAM kAcpiLevelKeys[] = {0xC4, 0xC5, 0xC7};
constexpr LPARAM kEffectTypeCount = 7;
constexpr uint8_t kCommandApply = 0xB5;

bool IsPreviewedValue(WPARAM what)
{
    switch (what) {
    case LumoEffectPanel::kValueColor1:
    case LumoEffectPanel::kValueColor2:
    case LumoEffectPanel::kValueColor3:
    case LumoEffectPanel::kValueColor4:
    case LumoEffectPanel::kValueColor5:
    case LumoEffectPanel::kValueColor6:
    case LumoEffectPanel::kValueColor7:
        return true;
    default:
        return false;
    }
}

}  // namespace

LRESULT CLumoDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HELP:
        // F1 does nothing.
        return FALSE;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_DESTROY:
        if (!m_bReleased) ReleaseDCs();
        // The panel's destructor destroys its window.
        m_pEffectPanel.reset();
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        OnDialogMouse(message, lParam);
        break;
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_DIALOG_OK:
        OnOK();
        break;
    case WM_DIALOG_CANCEL:
        OnCancel();
        break;
    case WM_ZONEMODE_CHANGED:
        OnZoneModeChanged();
        break;
    case WM_EFFECTTYPE_CHANGED:
        OnEffectTypeChanged(wParam, lParam);
        break;
    case WM_EFFECTVALUE_CHANGED:
        OnEffectValueChanged(wParam, lParam);
        break;
    case WM_DEVICECHANGE:
        if (g_dwSupport == 1 && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE))
            ::SetTimer(m_hWnd, kDeviceChangeTimerId, kDeviceChangeTimerMs, nullptr);
        break;
    default:
        break;
    }

    if (message == m_nLightButtonMessage && m_nLightButtonMessage != 0) {
        const UINT id = static_cast<UINT>(wParam);
        if (id >= kFirstTabButtonId && id < kFirstTabButtonId + kTabCount)
            SelectTab(static_cast<int>(id - kFirstTabButtonId));
        else if (id == kMinimizeButtonId)
            ShowWindow(SW_MINIMIZE);
        else if (id == kCloseButtonId)
            CancelProgram();
        else if (id == kApplyButtonId)
            OnBnClickedApply();
    } else if (message == WM_ACPI_NOTIFICATION_MESSAGE) {
        if (g_bUWP) {
            for (WPARAM key : kAcpiLevelKeys) {
                if (wParam == key) g_LightLevel.GetLightLevel(nullptr, true, true);
            }
        }
    } else if (message == WM_PROFILEMODIFY_MESSAGE) {
        OnProfileModified(wParam, lParam);
    } else if (message == WM_PROFILESYNCWINDOWS_MESSAGE) {
        switch (lParam) {
        case 0:
            OnPowerStatesChanged(static_cast<BYTE>(wParam));
            break;
        case 1:
            ResendAppliedEffect();
            ExecSimpleCmd2RGBKB(kCommandApply);
            break;
        case 3:
            g_uPowerStateMask = static_cast<BYTE>(wParam);
            break;
        default:
            break;
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CLumoDlg::OnProfileModified(WPARAM wParam, LPARAM lParam)
{
    const wchar_t* place = L"CLumoCoreDlg WndProc";
    LogNumber(L"WM_PROFILEMODIFY_MESSAGE, wParam is", place, static_cast<uint32_t>(wParam));
    if (wParam != 0) return;
    LogNumber(L"WM_PROFILEMODIFY_MESSAGE,wParam 0, profile applied !!, lParam is", place,
              static_cast<uint32_t>(lParam));
    if (lParam < 0 || lParam > kLastProfileModifyIndex) return;

    wchar_t basicPath[MAX_PATH];
    if (!BasicIniPath(basicPath, MAX_PATH)) return;
    const int32_t applied = SettleAppliedProfile(ReadIniInt(basicPath, L"Config", L"Apply", L""));
    const int32_t mode = ReadIniInt(basicPath, L"Config", L"ApplyMode", L"-1");
    const int32_t effect = ReadIniInt(basicPath, L"Config", L"ApplyEff", L"-1");
    // The other process has just applied this profile from its file.
    m_profileReads.Load(applied);
    if (g_dwSupport && applied == 0 && effect != -1) {
        const LPARAM lastAllZone = m_uiModelType == 1 ? kLastAllZoneEffectModel1 : kLastAllZoneEffectOther;
        if (lParam <= lastAllZone) g_CustomProfiles[0].allIndex = effect;
    }
    RememberStoredEffect(applied, effect);
    SwitchToProfile(applied, mode, effect);
}

void CLumoDlg::OnPowerStatesChanged(BYTE mask)
{
    // The page's broadcast of what a close restored: that mask went out already.
    const bool restoreEcho = m_restoredPowerMask && *m_restoredPowerMask == mask;
    m_restoredPowerMask.reset();
    g_uPowerStateMask = mask;
    if (!restoreEcho) m_wmi.SetPowerStateByWMI(mask, 0);
}

void CLumoDlg::OnDialogMouse(UINT message, LPARAM lParam)
{
    int oldArea = -1, newArea = -1;
    switch (message) {
    case WM_MOUSEMOVE:
        m_titleAreas.OnMouseMove(lParam, &oldArea, &newArea);
        break;
    case WM_MOUSELEAVE:
        m_titleAreas.OnMouseLeave(&oldArea, &newArea);
        break;
    case WM_LBUTTONDOWN:
        // The borderless window is dragged by its title strip.
        if (m_titleAreas.OnLButtonDown(lParam) == 0) PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        m_titleAreas.OnLButtonDown(lParam);
        break;
    case WM_LBUTTONUP:
        if (m_titleAreas.GetPressed() == m_titleAreas.GetHovered()) m_titleAreas.SetPressed(-1);
        break;
    default:
        break;
    }
}

void CLumoDlg::OnTimer(UINT_PTR id)
{
    switch (id) {
    case IDT_FADE_IN:
        OnFadeInTimer();
        break;
    case IDT_FADE_OUT:
        OnFadeOutTimer();
        break;
    case kProgressStartTimerId:
        ::KillTimer(m_hWnd, kProgressStartTimerId);
        ::SetTimer(m_hWnd, kProgressStepTimerId, kProgressStepTimerMs, nullptr);
        break;
    case kProgressStepTimerId:
        if (!m_progress.IsActive()) break;
        if (m_nProgress > kProgressEnd) {
            m_progress.Close();
            ::KillTimer(m_hWnd, kProgressStepTimerId);
        } else {
            m_progress.m_nPercent = m_nProgress;
            ++m_nProgress;
        }
        break;
    case kDeviceChangeTimerId:
        // Its ticks have no work; it stops so an idle window gets no timer messages.
        ::KillTimer(m_hWnd, kDeviceChangeTimerId);
        break;
    default:
        break;
    }
}

void CLumoDlg::MoveCheckToTab(int tab)
{
    if (IsTabButton(m_nCurrentTab) && m_tabButtons[m_nCurrentTab].GetSafeHwnd()) {
        m_tabButtons[m_nCurrentTab].SetCheck(FALSE);
        m_tabButtons[m_nCurrentTab].Refresh(FALSE, 0);
    }
    if (IsTabButton(tab) && m_tabButtons[tab].GetSafeHwnd()) {
        m_tabButtons[tab].SetCheck(TRUE);
        m_tabButtons[tab].Refresh(FALSE, 0);
    }
}

void CLumoDlg::MoveAppliedMark(int profile)
{
    if (IsTabButton(g_nAppliedProfile)) {
        m_tabButtons[g_nAppliedProfile].m_bShowMark = FALSE;
        if (m_tabButtons[g_nAppliedProfile].GetSafeHwnd()) m_tabButtons[g_nAppliedProfile].Refresh(FALSE, 0);
    }
    if (IsTabButton(profile)) {
        m_tabButtons[profile].m_bShowMark = TRUE;
        if (m_tabButtons[profile].GetSafeHwnd()) m_tabButtons[profile].Refresh(FALSE, 0);
    }
    g_nAppliedProfile = profile;
}

void CLumoDlg::PreviewCurrent(int profile)
{
    if (m_bPreview) m_keyboard.Keyboard().UpdatePreview(CKeybdWnd::kPreviewNow, profile);
}

void CLumoDlg::PostToPanel(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pEffectPanel && m_pEffectPanel->Handle.Get() != nullptr)
        ::PostMessageW(m_pEffectPanel->Handle.Get(), message, wParam, lParam);
}

void CLumoDlg::SelectTab(int tab)
{
    if (tab == m_nCurrentTab || tab < 0 || tab >= kProfileCount) return;
    if (tab == 1) m_nPreviousTab = m_nCurrentTab;
    ShowTabWindows(tab);
    m_lineWnd.MoveTo(tab, nullptr, 0);
    MoveCheckToTab(tab);
    m_nCurrentTab = tab;

    CustomProfile& profile = g_CustomProfiles[static_cast<size_t>(m_nCurrentTab)];
    if (!g_dwSupport && profile.modeIndex != m_nZoneMode) {
        m_nZoneMode = profile.modeIndex;
        if (m_pZoneSelector) m_pZoneSelector->SetCurSel(m_nZoneMode);
    }
    PostToPanel(WM_PANEL_SETPROFILE, static_cast<WPARAM>(tab), 0);
    // The keyboard first, then its picture: the picture takes longer.
    if (m_nCurrentTab != 1) ApplyEffect(m_nCurrentTab, m_uiModelType, false);
    PreviewCurrent(m_nCurrentTab);
}

void CLumoDlg::SwitchToProfile(int profile, int mode, int effect)
{
    if (profile != m_nCurrentTab) {
        ShowTabWindows(profile);
        m_lineWnd.MoveTo(UnderlineTab(profile), nullptr, 0);
        MoveCheckToTab(profile);
        m_nCurrentTab = profile;
    }
    if (profile != g_nAppliedProfile) MoveAppliedMark(profile);
    PreviewCurrent(profile);
    if (!g_dwSupport) {
        const int32_t modeIndex = g_CustomProfiles[static_cast<size_t>(m_nCurrentTab)].modeIndex;
        if (modeIndex != m_nZoneMode) m_nZoneMode = modeIndex;
        if (m_pZoneSelector && m_nZoneMode >= 0 && m_nZoneMode < m_pZoneSelector->GetCount())
            m_pZoneSelector->SetCurSel(m_nZoneMode);
    }
    PostToPanel(WM_PANEL_SETPROFILE, static_cast<WPARAM>(profile), 0);
    if (m_pEffectPanel) m_pEffectPanel->SetSnapshot(profile, mode, effect);
}

void CLumoDlg::OnZoneModeChanged()
{
    if (!m_pZoneSelector) return;
    const int index = m_pZoneSelector->GetCurSel();
    if (index < 0 || index == m_nZoneMode) return;
    // Read again first, should the file not have been read: the choice goes over it.
    const bool held = HoldProfileAsStored(m_nCurrentTab);
    m_nZoneMode = index;
    g_CustomProfiles[static_cast<size_t>(m_nCurrentTab)].modeIndex = index;
    PostToPanel(WM_PANEL_SETZONE, static_cast<WPARAM>(m_nCurrentTab), index);
    ApplyEffect(m_nCurrentTab, m_uiModelType, false);
    PreviewCurrent(m_nCurrentTab);
    if (held) m_profileReads.Save(m_nCurrentTab);
}

void CLumoDlg::OnEffectTypeChanged(WPARAM, LPARAM lParam)
{
    if (lParam < 0 || lParam >= kEffectTypeCount) return;
    // The keyboard first, then its picture: the picture takes longer.
    ApplyEffect(m_nCurrentTab, m_uiModelType, false);
    PreviewCurrent(m_nCurrentTab);
}

void CLumoDlg::OnEffectValueChanged(WPARAM wParam, LPARAM lParam)
{
    if (IsPreviewedValue(wParam) && m_bPreview)
        m_keyboard.Keyboard().UpdatePreview(CKeybdWnd::kPreviewDelayed, static_cast<int>(lParam));
    ApplyEffect(m_nCurrentTab, m_uiModelType, false);
}
