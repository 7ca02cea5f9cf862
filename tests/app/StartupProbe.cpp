// Measures how long Lumo.exe takes from process start until its bare dialog
// is up (and, after WM_CLOSE, gone), or until a mode start has ended.
// Usage: startup_probe.exe <Lumo.exe> <runs> [arguments...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win/UniqueHandle.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleWindowOf(DWORD processId)
{
    for (HWND w = FindWindowExW(nullptr, nullptr, L"VYL LumoCore App Class", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"VYL LumoCore App Class", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: startup_probe <Lumo.exe> <runs> [arguments...]\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 3; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    int runs = std::max(1, _wtoi(argv[2]));

    std::vector<double> untilWindow, untilClosed, untilEnd;
    for (int run = 0; run < runs; ++run) {
        std::wstring line = commandLine;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            std::fwprintf(stderr, L"cannot start %ls (%lu)\n", line.c_str(), GetLastError());
            return 1;
        }
        platform::UniqueHandle process(pi.hProcess);
        platform::UniqueHandle thread(pi.hThread);
        HWND window = nullptr;
        for (;;) {
            if ((window = VisibleWindowOf(pi.dwProcessId)) != nullptr) break;
            if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0) break;
            QueryPerformanceCounter(&now);
            if (Milliseconds(start, now) > 30000) {
                std::fwprintf(stderr, L"neither a window nor an end within 30 s\n");
                TerminateProcess(process.Get(), 1);
                return 1;
            }
        }
        QueryPerformanceCounter(&now);
        if (window != nullptr) {
            untilWindow.push_back(Milliseconds(start, now));
            LARGE_INTEGER closeAt = now;
            PostMessageW(window, WM_CLOSE, 0, 0);
            WaitForSingleObject(process.Get(), 30000);
            QueryPerformanceCounter(&now);
            untilClosed.push_back(Milliseconds(closeAt, now));
            std::wprintf(L"run %d: window up after %.0f ms, gone %.0f ms after WM_CLOSE\n", run + 1,
                         untilWindow.back(), untilClosed.back());
        } else {
            untilEnd.push_back(Milliseconds(start, now));
            std::wprintf(L"run %d: ended after %.0f ms without a window\n", run + 1, untilEnd.back());
        }
    }
    if (!untilWindow.empty())
        std::wprintf(L"median: window up %.0f ms, closed %.0f ms later (%zu runs)\n", Median(untilWindow),
                     Median(untilClosed), untilWindow.size());
    if (!untilEnd.empty())
        std::wprintf(L"median: mode ended %.0f ms after start (%zu runs)\n", Median(untilEnd), untilEnd.size());
    return 0;
}
