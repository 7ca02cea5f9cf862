#pragma once
#include <windows.h>

#include <string>

// The steps of the program's start-up, each testable on its own.

// The model class of a product name: 1 or 2 for the supported models
// (first match in list order, case-sensitive substring), 9 for any other.
int MapModelNameToProductID(const char* productName);

// Asks WMI for the Name of every Win32_ComputerSystemProduct; the last one
// read wins, none gives an empty name. False when a COM step fails.
bool QueryComputerSystemProductName(std::wstring& name);

// The model probe: sets ProductID from the product name; leaves it as it is
// when WMI cannot be asked.
void DetectModelClass();

// Sets the mode flags from the command line (without the program's name): a
// switch counts only as the only argument, "-apply" only with exactly one
// number after it.
void ParseCommandLine(LPCWSTR cmdLine);

// Sets g_nLangIndex from "-Lang=" anywhere in the command line; leaves it
// when the switch is absent.
void ReadLangSwitch(LPCWSTR cmdLine);

// Takes the single-instance event unless "-init", "-uninit" or "-apply" was
// given. False when another instance holds it: its window has then been
// brought to the front and this start should end.
bool TakeSingleInstance();

// Registers the main window's class: the system dialog class under our name,
// so that other processes find the window by it.
bool RegisterMainWindowClass(HINSTANCE instance);
