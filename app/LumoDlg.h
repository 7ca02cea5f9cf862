#pragma once
#include <windows.h>
#include <objidl.h>
#include "platform/win/GdiplusHeaders.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "app/ProfileReads.h"
#include "backend/device/EffectDispatch.h"
#include "backend/device/WmiLibrary.h"
#include "backend/service/LightingServiceClient.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/UiHandles.h"
#include "platform/win/GdiHandles.h"
#include "ui/colorpicker/LumoColorPickerDlg.h"
#include "ui/framework/drawing/SkinPrefetch.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/buttons/LineWnd.h"
#include "ui/windows/buttons/MouseEventCtrl.h"
#include "ui/windows/combo/ComboBox3.h"
#include "ui/windows/keyboard/CustomWnd.h"
#include "ui/windows/overlay/FadeDialogEffect.h"
#include "ui/windows/overlay/ProgressWnd.h"
#include "ui/windows/selector/SelectorWnd.h"
#include "ui/windows/shared/UniqueMemoryDc.h"
#include "ui/windows/sync/SyncWnd.h"

class LumoEffectPanel;

// The program's one window: a borderless modal dialog of the class
// "VYL LumoCore App Class". It also runs the command-line modes, unseen.
class CLumoDlg : public CDialog, public CFadeDialogEffect {
public:
    static constexpr int kTabCount = 2;
    static constexpr UINT kFirstTabButtonId = 0x806A;
    static constexpr UINT kMinimizeButtonId = 0x807E;
    static constexpr UINT kCloseButtonId = 0x807F;
    static constexpr UINT kApplyButtonId = 0x8081;

    static constexpr UINT_PTR kProgressStartTimerId = 3;
    static constexpr UINT kProgressStartTimerMs = 1350;
    static constexpr UINT_PTR kProgressStepTimerId = 2;
    static constexpr UINT kProgressStepTimerMs = 20;
    static constexpr int kProgressEnd = 100;
    static constexpr UINT_PTR kDeviceChangeTimerId = 4;
    static constexpr UINT kDeviceChangeTimerMs = 1000;

    // Layout at 100 %.
    static constexpr int kTitleStripHeight = 95;
    static constexpr int kKeyboardX = 50, kKeyboardY = 181, kKeyboardW = 947, kKeyboardH = 516;
    static constexpr int kSyncX = 50, kSyncY = 181, kSyncW = 1255, kSyncH = 516;
    static constexpr int kLineX = 0, kLineY = 159, kLineW = 970, kLineH = 5;
    static constexpr int kSelectorX = 1132, kSelectorY = 120, kSelectorW = 177, kSelectorH = 56;
    static constexpr int kSelectorTrackX = 14, kSelectorTrackY = 56 - 23;
    static constexpr int kMinimizeX = 1300, kMinimizeY = 4, kMinimizeW = 38, kMinimizeH = 30;
    static constexpr int kCloseX = 1342, kCloseY = 4, kCloseW = 55, kCloseH = 30;
    static constexpr int kApplyX = 1155, kApplyY = 711, kApplyW = 150, kApplyH = 38;
    static constexpr float kApplyHLarge = 37.5f;
    static constexpr int kPanelX = 1015, kPanelY = 183, kPanelW = 287, kPanelH = 514;
    static constexpr int kPanelYNoSupport = 335, kPanelHNoSupport = 359;
    static constexpr int kPopupW = 1400, kPopupH = 788;
    static constexpr int kZoneSelectorX = 1015, kZoneSelectorY = 230;
    static constexpr float kZoneSelectorXLarge = 1015.5f;

    CLumoDlg();
    ~CLumoDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnTimer(UINT_PTR id);
    void SelectTab(int tab);
    void SwitchToProfile(int profile, int mode, int effect);
    void OnZoneModeChanged();
    void OnEffectTypeChanged(WPARAM wParam, LPARAM lParam);
    void OnEffectValueChanged(WPARAM wParam, LPARAM lParam);
    void OnBnClickedApply();
    // Close button, Alt+F4 and Esc.
    void CancelProgram();
    // WM_CLOSE: another process (the uninstall mode), the taskbar or the
    // system menu. The same restore as the close button, and the window goes
    // even while the Apply overlay runs.
    void OnCloseRequest();
    // The end of the Windows session: the restore runs before we return, since
    // the process may be ended right after.
    void OnEndSession(bool ending);
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
    int32_t m_nPreviousTab = 0;
    int32_t m_nZoneMode = 0;
    int32_t m_nProgress = 0;

    // For tests and the measuring probe.
    LumoEffectPanel* EffectPanel() const { return m_pEffectPanel.get(); }
    LumoColorPickerDlg& ColorPopup() { return m_colorPopup; }
    CLightButton& TabButton(int tab) { return m_tabButtons[tab]; }
    CLightButton& ApplyButton() { return m_btnApply; }
    CCustomWnd& KeyboardPicture() { return m_keyboard; }
    CSyncWnd& SyncPage() { return m_syncWnd; }
    CProgressWnd& ProgressOverlay() { return m_progress; }
    CLineWnd& TabUnderline() { return m_lineWnd; }
    CSelectorWnd& LevelSelector() { return m_selector; }
    HDC BackgroundDC() const { return m_backgroundDC.Get(); }
    int WindowWidth() const { return m_nWindowWidth; }
    int WindowHeight() const { return m_nWindowHeight; }
    bool IsReleased() const { return m_bReleased; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Called as each building step of the start-up ends; for measuring.
    virtual void OnStartUpStep(const wchar_t* /*step*/) {}

private:
    // Building, called from OnInitDialog only.
    void PaintBackground(HINSTANCE instance);
    void DrawBackgroundCaptions(Gdiplus::Graphics& graphics);
    void DrawTabLine(HINSTANCE instance);
    void CreateChildWindows(HINSTANCE instance);
    void CreateButtons();
    void CreateZoneSelector(HINSTANCE instance);
    void CreateEffectPanel();
    void LoadRecentColors();
    void KeepOnWorkArea();
    void RegisterDeviceNotifications();
    BOOL OnEraseBkgnd(HDC dc);

    void ShowTabWindows(int tab);
    void ReleaseButtons();
    void ReleaseDCs();
    void MoveCheckToTab(int tab);
    void MoveAppliedMark(int profile);
    void PreviewCurrent(int profile);
    void PostToPanel(UINT message, WPARAM wParam, LPARAM lParam);
    void OnProfileModified(WPARAM wParam, LPARAM lParam);
    // The applied profile's own effect, as its tab sends it: after a switch
    // from outside no zone tab has sent anything yet.
    void ResendAppliedEffect();
    // False (traced) for a profile that never came from its file: its
    // defaults are not what the user stored.
    bool ProfileMaySend(int profile) const;
    // The index field of a profile that its tab sends, null when none.
    int32_t* TabEffectField(int profile);
    // Notes "ApplyEff" as read or written for the applied profile.
    void RememberStoredEffect(int profile, int32_t effect);
    // "ApplyEff" for an Apply on a profile's tab.
    int32_t EffectToStore(int profile);
    void ApplyPowerStates();
    // A power-state mask from the page's broadcast: sent and kept.
    void OnPowerStatesChanged(BYTE mask);
    // What every closing does before the window goes: the stored profiles and
    // power states back on the keyboard, the recent colours saved.
    void RestoreStoredState();
    void RestoreStoredPowerStates();
    // True when the table holds the profile as its file does; one that could
    // not be read is read again now (and the panel shows it).
    bool HoldProfileAsStored(int profile);
    // The tab under which the underline stands for a profile: one without a
    // tab button of its own shows the first tab's page.
    int UnderlineTab(int profile) const { return IsTabButton(profile) ? profile : 0; }
    void CommitToKeyboard();
    void StartProgress();
    void SaveRecentColors();
    bool BasicIniPath(wchar_t* path, size_t capacity) const;
    bool IsTabButton(int tab) const { return tab >= 0 && tab < m_nTabButtonCount; }
    void OnDialogMouse(UINT message, LPARAM lParam);

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
    ProfileReads m_profileReads;
    // Whether Basic.ini's recent colours were read; a list that could not be
    // read is never saved over the stored one.
    bool m_bRecentColorsRead = false;
    // The fade-out runs: the restore is done.
    bool m_bClosing = false;
    // Basic.ini's "ApplyEff" as last read or written, with the applied
    // profile and the index its tab sent then.
    struct StoredEffect {
        int32_t profile = -1;
        int32_t tabIndex = -1;
        int32_t effect = -1;
    } m_storedEffect;
    // The mask the last close sent, until the page's broadcast of it arrives.
    std::optional<BYTE> m_restoredPowerMask;

    std::unique_ptr<platform::WindowDc> m_windowDC;
    UniqueMemoryDc m_backgroundDC;
    int m_nWindowWidth = 0, m_nWindowHeight = 0;
    std::shared_ptr<Gdiplus::Bitmap> m_appliedMark;
    bool m_bReleased = false;
    RECT m_tabRects[kTabCount] = {};
    int m_tabCaptionWidths[kTabCount] = {};
    int m_nTabButtonCount = 0;
    RECT m_keyboardRect = {};
    CLightButton m_btnMinimize, m_btnClose, m_btnApply;
    CLightButton m_tabButtons[kTabCount];
    CMouseEventCtrl m_titleAreas;
    CCustomWnd m_keyboard;
    // Only while the window is built.
    std::unique_ptr<SkinPrefetch> m_skinPrefetch;
    bool m_bPreview = false;
    CSyncWnd m_syncWnd;
    CSelectorWnd m_selector;
    std::unique_ptr<CComboBox3> m_pZoneSelector;
    CProgressWnd m_progress;
    CLineWnd m_lineWnd;
    UINT m_nLightButtonMessage = 0;
    std::unique_ptr<LumoEffectPanel> m_pEffectPanel;
    LumoColorPickerDlg m_colorPopup;
    HDEVNOTIFY m_hDevNotify = nullptr;
};
