#pragma once

// Starts a program without a console window and without waiting for it; null
// arguments count as none. True when the process was started.
bool CreateNormalProcess(const wchar_t* exePath, const wchar_t* arguments);

class ProfileFolderSources;

// Starts "LumoListen.exe" from the program's folder, and nothing (traced)
// when that folder cannot be had.
void RunListener(const ProfileFolderSources& folders);
// The same with the real machine's program folder.
void RunListener();

extern const wchar_t kListenerFileName[];
extern const wchar_t kListenerWindowClass[];
