#pragma once
// A run of the real program that a test started, and its main window.
#include <windows.h>

#include "app/LumoGlobals.h"
#include "platform/win/UniqueHandle.h"

namespace apptest {

struct Started {
    platform::UniqueHandle process;
    DWORD id = 0;
    // Null unless the run was put into a job of its own.
    platform::UniqueHandle job;
};

// How many processes a run put into a job has had: its own and every one it
// started, whether still starting, running or ended; 0 without a job.
inline DWORD ProcessesOfRun(const Started& started)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!started.job || !QueryInformationJobObject(started.job.Get(), JobObjectBasicAccountingInformation, &info,
                                                   sizeof(info), nullptr))
        return 0;
    return info.TotalProcesses;
}

// The visible main window of that process, or null.
inline HWND VisibleMainWindowOf(DWORD processId)
{
    for (HWND w = FindWindowExW(nullptr, nullptr, kMainWindowClassName, nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, kMainWindowClassName, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Waits until the process shows its window (returned) or ends (null).
inline HWND WaitForWindowOrExit(const Started& started, DWORD patienceMs)
{
    const ULONGLONG deadline = GetTickCount64() + patienceMs;
    while (GetTickCount64() < deadline) {
        if (HWND w = VisibleMainWindowOf(started.id)) return w;
        if (WaitForSingleObject(started.process.Get(), 10) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

}  // namespace apptest
