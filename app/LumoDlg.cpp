#include "app/LumoDlg.h"

#include <windows.h>
#include <dbt.h>

#include <cwchar>

#include "app/LogFileSetup.h"
#include "app/LumoGlobals.h"
#include "app/ModeDispatch.h"
#include "app/UwpHandOver.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/modes/ModeHandlers.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/profiles/AppliedConfig.h"
#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "resources/app/resource.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/SkinPrefetch.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/keyboard/KeyboardKeys.h"

namespace {

constexpr int kIconSide = 96;

}  // namespace

CLumoDlg::CLumoDlg()
    : CDialog(IDD_LUMOCORE_DIALOG), m_comApartment(COINIT_APARTMENTTHREADED)
{
    m_hIcon.Reset(static_cast<HICON>(::LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(IDI_LUMO), IMAGE_ICON,
                                                  kIconSide, kIconSide, LR_DEFAULTCOLOR)));
}

CLumoDlg::~CLumoDlg()
{
    if (m_pZoneSelector) {
        m_pZoneSelector->Release();
        m_pZoneSelector.reset();
    }
    // A dialog whose window never saw WM_DESTROY still lets go of what it made.
    if (!m_bReleased) ReleaseDCs();
    m_pEffectPanel.reset();
}

BOOL CLumoDlg::OnInitDialog()
{
    LogMessage(L"I am called", L"CLumoDlg::OnInitDialog", true, 0);
    CheckIfWriteLog();
    CheckIfWriteFile();
    CheckIfUWP();
    PrepareLogFile(SystemFolderSources(), g_bUWP);

    g_hMainWnd = m_hWnd;

    if (RunCommandLineMode(*this)) {
        EndDialog(IDCANCEL);
        return FALSE;
    }

    CDialog::OnInitDialog();

    if (g_bUWP && HandOverToInstalledProgram()) {
        EndDialog(IDCANCEL);
        return FALSE;
    }

    if (m_hIcon) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    }

    // Screen and skins.
    g_nResolutionClass = GetResolutionClass(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    InitScaleFactors();
    g_fFontScale = g_fFontScaleBase;
    g_fImageScale = g_fImageScaleBase;
    platform::CopyBounded(g_szSkinResType, kSkinResTypeChars, SkinResourceTypeForClass(g_nResolutionClass));
    m_hAccel = ::LoadAcceleratorsW(ResourceInstance(), MAKEINTRESOURCEW(IDR_LUMO_ACCELERATORS));
    SelectLanguage(g_nLangIndex);

    InitWMILibrary();
    OnStartUpStep(L"WMI library");
    // The big pictures decode meanwhile, in the order the building needs them.
    const wchar_t* const syncFrame = g_dwSupport ? L"SYNC_FRAME_ONLY" : nullptr;
    const wchar_t* const syncBackdrop = g_dwSupport ? L"SYNC_FRAME_BG" : nullptr;
    m_skinPrefetch = std::make_unique<SkinPrefetch>(
        ResourceInstance(), std::initializer_list<const wchar_t*>{L"MAIN_BG", CCustomWnd::kFramePictureName,
                                                                  CKeybdWnd::kBasePictureName, syncFrame,
                                                                  syncBackdrop, L"EFFECT_INFO_BG"});

    // The window drives these models' keyboards through the maker's library.
    if (ProductID == 1 || ProductID == 2) m_uiModelType = 1;
    wchar_t text[64];
    platform::FormatBounded(text, ARRAYSIZE(text), L"ProductID = %d", ProductID);
    LogMessage(text, L"OnInitDialog", false, 0);
    if (m_uiModelType == 1 || m_uiModelType == 2) g_nKeyboardLayout = 0;

    InitLangFilePath();
    g_nLangIndexUI = g_nLangIndex;

    SeedSettings seed;
    seed.support = g_dwSupport;
    seed.modelType = m_uiModelType;
    CopyIniFiles(SystemFolderSources(), seed, g_bUWP, m_tszIniDir, MAX_PATH);
    if (g_bUWP) RunListener();

    wchar_t basicPath[MAX_PATH];
    BasicIniPath(basicPath, MAX_PATH);
    LogMessage(basicPath, L"tszPath @ OnInitDialog", false, 0);
    // Every profile the window may show, send or save comes from its file.
    m_profileReads.LoadAll();

    DWORD basicError = 0;
    AppliedConfigReads reads;
    reads.basicIni = !IniFileUnreadable(basicPath, &basicError);
    if (!reads.basicIni) LogMessage(basicPath, L"file cannot be read @ OnInitDialog", false, basicError);
    for (int n = 0; n < kProfileCount; ++n) reads.profiles[static_cast<size_t>(n)] = m_profileReads.IsRead(n);
    const AppliedConfig applied =
        LoadAppliedConfig(basicPath, g_CustomProfiles, g_dwSupport != 0, m_uiModelType, reads);
    g_nAppliedProfile = applied.appliedProfile;
    RememberStoredEffect(applied.appliedProfile, applied.effect);
    if (g_dwSupport) {
        m_syncWnd.m_nDeviceSyncMode = applied.syncMode;
        m_nZoneMode = applied.zoneMode;
    }

    LogMessage(L"", L"Apply one @ OnInitDialog", false, 0);
    const HINSTANCE instance = ResourceInstance();
    OnStartUpStep(L"profiles and language");
    PaintBackground(instance);
    OnStartUpStep(L"background and skins");
    CreateChildWindows(instance);
    OnStartUpStep(L"child windows and buttons");
    CreateEffectPanel();
    OnStartUpStep(L"effect panel and picker popup");
    m_skinPrefetch.reset();

    ModifyStyle(0, WS_MINIMIZEBOX);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nWindowWidth, m_nWindowHeight, SWP_NOMOVE | SWP_NOZORDER);
    KeepOnWorkArea();
    SetWindowTextW(kMainWindowTitle);
    m_bReleased = false;

    LoadRecentColors();
    StartFadeIn(m_hWnd);
    RegisterDeviceNotifications();
    return TRUE;
}

void CLumoDlg::KeepOnWorkArea()
{
    // The template is centred at its own size; the skin's size can be larger
    // (twice at 4K) and would reach past the screen's edge.
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    if (window.left >= work.left && window.top >= work.top && window.right <= work.right &&
        window.bottom <= work.bottom)
        return;
    const int width = window.right - window.left, height = window.bottom - window.top;
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x > work.left ? x : work.left, y > work.top ? y : work.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CLumoDlg::BasicIniPath(wchar_t* path, size_t capacity) const
{
    return BuildBasicIniPath(m_tszIniDir, path, capacity);
}

void CLumoDlg::LoadRecentColors()
{
    wchar_t basicPath[MAX_PATH];
    if (!BasicIniPath(basicPath, MAX_PATH)) return;
    m_bRecentColorsRead = !IniFileUnreadable(basicPath);
    if (!m_bRecentColorsRead) return;
    // Oldest first, so the newest ends up at the front of the list.
    ::LoadRecentColors(basicPath, [this](const wchar_t* key, const wchar_t* value, const uint32_t* color) {
        LogMessage(key, L"tszName - @ Oninit", true, 0);
        LogMessage(value, L"tszReturn @ Oninit", true, 0);
        if (color == nullptr) return;
        const uint32_t argb = *color;
        wchar_t text[96];
        platform::FormatBounded(text, ARRAYSIZE(text), L"color: %X(%X), R:%d, G:%d, B:%d,", argb, argb & 0xFFFFFFu,
                                static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                                static_cast<int>(argb & 0xFF));
        LogMessage(text, L"tszTmp @ colorx value", false, 0);
        m_colorPopup.Picker().AddRecentColor(argb);
    });
}

void CLumoDlg::RegisterDeviceNotifications()
{
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kRgbKeyboardInterfaceClass;
    g_hDevNotify = ::RegisterDeviceNotificationW(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

BOOL CLumoDlg::PreTranslateMessage(MSG* msg)
{
    if (m_hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, m_hAccel, msg)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CLumoDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_ACCEL_ALT_F4:
        CancelProgram();
        return TRUE;
    case ID_ACCEL_ENTER:
        HandleEditKey(1);
        return TRUE;
    case ID_ACCEL_ESCAPE:
        if (!HandleEditKey(0)) CancelProgram();
        return TRUE;
    case ID_ACCEL_UP:
    case ID_ACCEL_DOWN:
    case ID_ACCEL_LEFT:
    case ID_ACCEL_RIGHT:
        // The arrow keys are swallowed.
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CLumoDlg::ApplyEffect(int32_t profile, uint32_t modelType, bool useSelection)
{
    if (!ProfileMaySend(profile)) return;
    if (m_pEffectPanel) m_nPanelSnapshot = m_pEffectPanel->SnapshotEffect();
    EffectDispatchState state{g_CustomProfiles, g_dwSupport, g_nAppliedProfile, m_nCurrentTab,
                              m_nPanelSnapshot,  m_syncSlots,  m_wmi};
    ::ApplyEffect(state, profile, modelType, useSelection);
    // The sync page hands the last sends on to the lighting service.
    m_syncWnd.m_syncSlots = m_syncSlots;
}

void CLumoDlg::InitWMILibrary()
{
    m_wmi.InitWMILibrary();
}

void CLumoDlg::ApplyHandler()
{
    ModeEnvironment env{WM_PROFILEMODIFY_MESSAGE, WM_PROFILESYNCMODIFY_MESSAGE, g_hMainWnd, SystemFolderSources()};
    ApplyModeState state{env,           g_dwApplyIndex, ProductID,  g_nAppliedProfile, m_uiModelType,
                         m_nCurrentTab, m_syncSlots,    m_wmi,      m_lightingService};
    ::ApplyHandler(state);
}

BOOL CLumoDlg::HandleEditKey(int enter)
{
    HWND focus = ::GetFocus();
    if (focus == nullptr) return FALSE;
    wchar_t className[16] = {};
    if (::GetClassNameW(focus, className, ARRAYSIZE(className)) == 0 || std::wcscmp(className, L"Edit") != 0)
        return FALSE;
    ::PostMessageW(::GetParent(focus), WM_EDIT_KEY, reinterpret_cast<WPARAM>(m_hWnd), enter);
    return TRUE;
}
