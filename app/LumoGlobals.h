#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/win/UniqueHandle.h"
// The window messages are the windows' own; the whole program uses them.
#include "ui/messages/WindowMessages.h"

// Start-up state shared by the whole program: the model class, the
// command-line mode, the single-instance event and the language from the
// command line (g_nLangIndex, ui/framework/language/Language.h). All start
// at zero.
extern int ProductID;
extern BYTE g_bCmdInit;
extern BYTE g_bCmdUninit;
extern BYTE g_bCmdApply;
extern uint32_t g_dwApplyIndex;
extern BYTE g_bCmdChkDefault;
extern BYTE g_bCmdBackground;
extern platform::UniqueHandle g_hSingleInstanceEvent;
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
