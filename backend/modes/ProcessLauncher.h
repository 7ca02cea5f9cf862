#pragma once

// Starts a program without a console window and without waiting for it; null
// arguments count as none. True when the process was started.
bool CreateNormalProcess(const wchar_t* exePath, const wchar_t* arguments);

// Starts "LumoListen.exe" from the program's folder.
void RunListener();

extern const wchar_t kListenerFileName[];
extern const wchar_t kListenerWindowClass[];
