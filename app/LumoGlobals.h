#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/win/UniqueHandle.h"

// Start-up state shared by the whole program: the model class, the
// command-line mode, the single-instance event and the language from the
// command line. All start at zero.
extern int ProductID;
extern BYTE g_bCmdInit;
extern BYTE g_bCmdUninit;
extern BYTE g_bCmdApply;
extern uint32_t g_dwApplyIndex;
extern BYTE g_bCmdChkDefault;
extern BYTE g_bCmdBackground;
extern platform::UniqueHandle g_hSingleInstanceEvent;
extern int g_nLangIndex;
// The main dialog's window once it exists.
extern HWND g_hMainWnd;
// The profile last applied (Basic.ini [Config] Apply), 0 to 2.
extern int32_t g_nAppliedProfile;
// The power-state lighting mask last received.
extern BYTE g_uPowerStateMask;
// The main window's registration for the controller's device notifications.
extern HDEVNOTIFY g_hDevNotify;

// The value "-apply" gets when its argument is not a decimal number: out of
// range for every profile, so the apply mode rejects it.
constexpr uint32_t kApplyIndexInvalid = 0xFFFFFFFFu;

extern const wchar_t kSingleInstanceEventName[];
extern const wchar_t kMainWindowClassName[];
extern const wchar_t kMainWindowTitle[];

// Registered window messages: the same text gives the same id in every
// process of the desktop. Registered during static initialisation.
extern UINT WM_PROFILESYNCMODIFY_MESSAGE;
extern UINT WM_PROFILEMODIFY_MESSAGE;
extern UINT WM_PROFILESYNCWINDOWS_MESSAGE;
// The same message again, for the sync page, which receives it as well.
extern UINT WM_SYNCPAGE_PROFILESYNCWINDOWS_MESSAGE;
extern UINT WM_ACPI_NOTIFICATION_MESSAGE;
extern UINT WM_ACPI_SIMULATION_MESSAGE;
extern UINT WM_LIGHTBUTTON_CLICK_MESSAGE;

extern const wchar_t kProfileSyncModifyMessageText[];
extern const wchar_t kProfileModifyMessageText[];
extern const wchar_t kProfileSyncWindowsMessageText[];
extern const wchar_t kAcpiNotificationMessageText[];
extern const wchar_t kAcpiSimulationMessageText[];
extern const wchar_t kLightButtonClickMessageText[];
// Registered by the WMI library path each time it opens the library.
extern const wchar_t kVornBroadcastMessageText[];

// Private window messages.
// WM_HSVPICKER_COLORCHANGED (0x4DF) belongs to the picker: ui/colorpicker/HSVColorPicker.h.
constexpr UINT WM_DIALOG_OK = 0x591;
constexpr UINT WM_DIALOG_CANCEL = 0x592;
constexpr UINT WM_EDIT_KEY = 0x661;
constexpr UINT WM_ZONEMODE_CHANGED = 0x667;
constexpr UINT WM_PANEL_SETPROFILE = 0x6BB;
constexpr UINT WM_PANEL_SETZONE = 0x6BC;
constexpr UINT WM_EFFECTTYPE_CHANGED = 0x6BD;
constexpr UINT WM_EFFECTVALUE_CHANGED = 0x6BE;
constexpr UINT WM_LIGHTLEVEL_CHANGED = 0x6BF;
// WM_CONTROL_RENDER (0x720) belongs to the control framework: ui/framework/Control.h.
