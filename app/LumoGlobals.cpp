#include "app/LumoGlobals.h"

int ProductID = 0;
BYTE g_bCmdInit = 0;
BYTE g_bCmdUninit = 0;
BYTE g_bCmdApply = 0;
uint32_t g_dwApplyIndex = 0;
BYTE g_bCmdChkDefault = 0;
BYTE g_bCmdBackground = 0;
platform::UniqueHandle g_hSingleInstanceEvent;
HWND g_hMainWnd = nullptr;
int32_t g_nAppliedProfile = 0;
BYTE g_uPowerStateMask = 0;
HDEVNOTIFY g_hDevNotify = nullptr;

const wchar_t kSingleInstanceEventName[] = L"VYL LumoCore App Event";
const wchar_t kMainWindowClassName[] = L"VYL LumoCore App Class";
const wchar_t kMainWindowTitle[] = L"VYL Lumo Core";
