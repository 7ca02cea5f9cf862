#pragma once
#include <windows.h>

// The program's window messages: the windows post them upwards, the main
// dialog and other processes receive them.

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
// WM_CONTROL_RENDER (0x720) belongs to the control framework: ui/framework/core/Control.h.
