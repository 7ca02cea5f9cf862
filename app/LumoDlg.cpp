#include "app/LumoDlg.h"

#include <cwchar>

#include "app/LogFileSetup.h"
#include "app/LumoGlobals.h"
#include "app/ModeDispatch.h"
#include "app/UwpHandOver.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/modes/ModeHandlers.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "resources/app/resource.h"

CLumoDlg::CLumoDlg()
    : CDialog(IDD_LUMOCORE_DIALOG), m_comApartment(COINIT_APARTMENTTHREADED)
{
    m_hIcon.Reset(static_cast<HICON>(
        ::LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(IDI_LUMO), IMAGE_ICON, 96, 96, LR_DEFAULTCOLOR)));
}

CLumoDlg::~CLumoDlg() = default;

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
    m_hAccel = ::LoadAcceleratorsW(ResourceInstance(), MAKEINTRESOURCEW(IDR_LUMO_ACCELERATORS));
    return TRUE;
}

BOOL CLumoDlg::PreTranslateMessage(MSG* msg)
{
    if (m_hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, m_hAccel, msg)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CLumoDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HELP:
        // F1 does nothing.
        return FALSE;
    case WM_DIALOG_OK:
        OnOK();
        break;
    case WM_DIALOG_CANCEL:
        OnCancel();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
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
    EffectDispatchState state{g_CustomProfiles, g_dwSupport, g_nAppliedProfile, m_nCurrentTab,
                              m_nPanelSnapshot,  m_syncSlots,  m_wmi};
    ::ApplyEffect(state, profile, modelType, useSelection);
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

void CLumoDlg::CancelProgram()
{
    // Restoring the stored effect and the fade-out come in front of this.
    EndDialog(IDCANCEL);
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
