// Measures the main window in this process: the model probe, each building
// step of the start-up, the time until every window has painted its first
// frame, and, after the fade-in, timer messages and CPU time over an idle
// period. Usage: main_window_probe.exe [runs] [idle seconds]
#include <windows.h>
#include <objidl.h>
#include "platform/win/GdiplusHeaders.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"

namespace {

constexpr UINT kFirstFrame = WM_APP + 60;
constexpr UINT kIdleStart = WM_APP + 61;
constexpr UINT_PTR kIdleEndTimer = 0x7EEE;
constexpr UINT_PTR kFadeWaitTimer = 0x7EEF;

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

double ProcessCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

int g_timerMessages = 0;
bool g_countTimers = false;

LRESULT CALLBACK CountTimers(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && g_countTimers && msg->message == WM_TIMER &&
        msg->wParam != kIdleEndTimer)
        ++g_timerMessages;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class ProbedDlg : public CLumoDlg {
public:
    BOOL OnInitDialog() override
    {
        const BOOL shown = CLumoDlg::OnInitDialog();
        initEnd = Now();
        PostMessage(kFirstFrame);
        return shown;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kFirstFrame) {
            // Paint everything that waits, here and in every child, before the time is taken.
            MSG msg;
            while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
            firstFrame = Now();
            if (idleSeconds > 0) ::SetTimer(m_hWnd, kFadeWaitTimer, 50, nullptr);
            else EndDialog(IDCANCEL);
        } else if (message == WM_TIMER && wParam == kFadeWaitTimer && !IsFading()) {
            ::KillTimer(m_hWnd, kFadeWaitTimer);
            PostMessage(kIdleStart);
        } else if (message == kIdleStart) {
            idleCpuStart = ProcessCpuMs();
            threadCpuStart = ThreadCpuMs();
            g_timerMessages = 0;
            g_countTimers = true;
            ::SetTimer(m_hWnd, kIdleEndTimer, static_cast<UINT>(idleSeconds * 1000), nullptr);
        } else if (message == WM_TIMER && wParam == kIdleEndTimer) {
            g_countTimers = false;
            ::KillTimer(m_hWnd, kIdleEndTimer);
            idleCpu = ProcessCpuMs() - idleCpuStart;
            threadCpu = ThreadCpuMs() - threadCpuStart;
            EndDialog(IDCANCEL);
        }
        return CLumoDlg::WindowProc(message, wParam, lParam);
    }

    double start = 0, initEnd = 0, firstFrame = 0;
    double idleCpuStart = 0, idleCpu = 0, threadCpuStart = 0, threadCpu = 0;
    int idleSeconds = 0;
    std::vector<std::pair<std::wstring, double>> steps;

protected:
    void OnStartUpStep(const wchar_t* step) override { steps.push_back({step, Now()}); }
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const int idleSeconds = argc > 2 ? _wtoi(argv[2]) : 10;

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    const double probeStart = Now();
    DetectModelClass();
    const double probeMs = Now() - probeStart;
    ParseCommandLine(L"");
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountTimers, nullptr, GetCurrentThreadId());

    std::map<std::wstring, std::vector<double>> stepTimes;
    std::vector<std::wstring> stepOrder;
    std::vector<double> frames;
    for (int run = 0; run < runs; ++run) {
        ProbedDlg dialog;
        dialog.idleSeconds = run == runs - 1 ? idleSeconds : 0;
        dialog.start = Now();
        dialog.DoModal();
        double previous = dialog.start;
        for (const auto& step : dialog.steps) {
            if (run == 0) stepOrder.push_back(step.first);
            stepTimes[step.first].push_back(step.second - previous);
            previous = step.second;
        }
        stepTimes[L"rest of the start-up"].push_back(dialog.initEnd - previous);
        stepTimes[L"first frame painted"].push_back(dialog.firstFrame - dialog.initEnd);
        frames.push_back(dialog.firstFrame - dialog.start);
        std::wprintf(L"run %d: dialog start to first complete frame %.0f ms\n", run + 1, frames.back());
        if (dialog.idleSeconds > 0)
            std::wprintf(L"idle %d s after the fade-in: %d timer messages, %.1f ms CPU in the process (UI thread "
                         L"%.1f ms)\n",
                         dialog.idleSeconds, g_timerMessages, dialog.idleCpu, dialog.threadCpu);
    }
    if (hook) UnhookWindowsHookEx(hook);
    stepOrder.push_back(L"rest of the start-up");
    stepOrder.push_back(L"first frame painted");
    std::wprintf(L"model probe (WMI, once per process): %.0f ms\n", probeMs);
    std::wprintf(L"median over %d runs: dialog start to first complete frame %.0f ms; steps:\n", runs, Median(frames));
    for (const std::wstring& step : stepOrder) std::wprintf(L"  %-34ls %6.1f ms\n", step.c_str(), Median(stepTimes[step]));
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
