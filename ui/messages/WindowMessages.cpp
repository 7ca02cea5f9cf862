#include "ui/messages/WindowMessages.h"

const wchar_t kProfileSyncModifyMessageText[] = L"VORN VYL Lumo Core Profile Sync Modify Message";
const wchar_t kProfileModifyMessageText[] = L"VORN VYL Lumo Core Profile Modify Message";
const wchar_t kProfileSyncWindowsMessageText[] = L"VORN VYL Lumo Profile Sync Windows Message";
const wchar_t kAcpiNotificationMessageText[] = L"ACPI Notification through VKPHotkey from BIOS";
const wchar_t kAcpiSimulationMessageText[] = L"ACPI Simulation through VKPHotkey from Application";
const wchar_t kLightButtonClickMessageText[] = L"Light Button Click Message";
const wchar_t kVornBroadcastMessageText[] = L"WM_VORN_BROADCAST_MESSAGE";

// Registered during static initialisation: read them only once the program
// runs, not from other static initialisers.
UINT WM_PROFILESYNCMODIFY_MESSAGE = ::RegisterWindowMessageW(kProfileSyncModifyMessageText);
UINT WM_PROFILEMODIFY_MESSAGE = ::RegisterWindowMessageW(kProfileModifyMessageText);
UINT WM_PROFILESYNCWINDOWS_MESSAGE = ::RegisterWindowMessageW(kProfileSyncWindowsMessageText);
UINT WM_SYNCPAGE_PROFILESYNCWINDOWS_MESSAGE = ::RegisterWindowMessageW(kProfileSyncWindowsMessageText);
UINT WM_ACPI_NOTIFICATION_MESSAGE = ::RegisterWindowMessageW(kAcpiNotificationMessageText);
UINT WM_ACPI_SIMULATION_MESSAGE = ::RegisterWindowMessageW(kAcpiSimulationMessageText);
UINT WM_LIGHTBUTTON_CLICK_MESSAGE = ::RegisterWindowMessageW(kLightButtonClickMessageText);
