// Measures, in one process with the maker's library stand-in beside it, how
// long a real click on an effect takes to reach the library, and how often a
// colour drag in the picker popup reaches it. Usage: input_latency_probe.exe [clicks]
#include <windows.h>
#include <objidl.h>
#include "platform/win/GdiplusHeaders.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"
#include "tests/app/ScriptedDlg.h"
#include "ui/colorpicker/LumoColorPickerDlg.h"

namespace {

// Places in the window at 100 %: the static and breathing effect buttons.
constexpr POINT kStaticEffect = {1094, 229};
constexpr POINT kBreathingEffect = {1107, 261};
constexpr SIZE kEffectSwatchSize = {37, 35};
constexpr int kDesignWidth = 1400;
// Calls closer than this belong to one report of the picker.
constexpr double kBurstGapMs = 20;

using LastCallFn = LONGLONG (*)();
LastCallFn g_lastCall = nullptr;

double Ms(LONGLONG counter)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Runs the window's messages for a while; each iteration also hands the
// library's last call time to the watcher.
template <typename Watch>
void PumpFor(double ms, Watch watch)
{
    const LONGLONG end = Counter() + static_cast<LONGLONG>(ms / Ms(1));
    MSG msg;
    while (Counter() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        watch(g_lastCall());
        Sleep(1);
    }
}

void PumpFor(double ms)
{
    PumpFor(ms, [](LONGLONG) {});
}

void SendMouse(POINT screen, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &input, sizeof(input));
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PrintSpread(const wchar_t* what, const std::vector<double>& values)
{
    if (values.empty()) {
        std::wprintf(L"%ls: none measured\n", what);
        return;
    }
    std::wprintf(L"%ls: median %.1f ms, min %.1f, max %.1f (%zu)\n", what, Median(values),
                 *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                 values.size());
}

struct SizeSearch {
    SIZE size;
    POINT centre;
};

BOOL CALLBACK FindControlOfSize(HWND child, LPARAM context)
{
    auto* search = reinterpret_cast<SizeSearch*>(context);
    RECT rect{};
    GetWindowRect(child, &rect);
    if (!IsWindowVisible(child) || rect.right - rect.left != search->size.cx ||
        rect.bottom - rect.top != search->size.cy)
        return TRUE;
    search->centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return FALSE;
}

// Clicks, opens the picker and drags in a running main window.
class LatencyProbe {
public:
    LatencyProbe(CLumoDlg& dialog, int clicks) : m_dialog(dialog), m_hWnd(dialog.GetSafeHwnd()), m_clicks(clicks) {}

    void Measure()
    {
        while (m_dialog.IsFading()) PumpFor(20);
        ::SetForegroundWindow(m_hWnd);
        PumpFor(300);

        std::vector<double> latencies;
        for (int i = 0; i < m_clicks; ++i) {
            const POINT at = ScreenPoint(i % 2 ? kStaticEffect : kBreathingEffect);
            SendMouse(at, 0);
            PumpFor(100);
            const LONGLONG before = Counter();
            SendMouse(at, MOUSEEVENTF_LEFTDOWN);
            SendMouse(at, MOUSEEVENTF_LEFTUP);
            bool reached = false;
            PumpFor(250, [&](LONGLONG last) { reached = reached || last > before; });
            if (reached) latencies.push_back(Ms(g_lastCall() - before));
        }
        PrintSpread(L"effect click to the library's last call of it", latencies);

        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        const float scale = static_cast<float>(window.right - window.left) / kDesignWidth;
        SizeSearch swatch{{static_cast<LONG>(kEffectSwatchSize.cx * scale + 0.5f),
                           static_cast<LONG>(kEffectSwatchSize.cy * scale + 0.5f)},
                          {-1, -1}};
        ::EnumChildWindows(m_hWnd, FindControlOfSize, reinterpret_cast<LPARAM>(&swatch));
        if (swatch.centre.x < 0) {
            std::wprintf(L"colour drag: no colour swatch found\n");
            return;
        }
        const double shownAfter = OpenPicker(swatch.centre);
        std::wprintf(L"first click on a colour swatch to the picker popup shown: %.0f ms\n", shownAfter);
        if (shownAfter >= 0) {
            ColorPopup().IsVisible = 0;
            PumpFor(300);
            std::wprintf(L"a later click to the popup shown: %.0f ms\n", OpenPicker(swatch.centre));
        }
        const HWND wheel = ColorPopup().Picker().Picker().Handle.Get();
        if (!wheel || shownAfter < 0) return;
        PumpFor(300);

        RECT area{};
        ::GetWindowRect(wheel, &area);
        const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        const int radius = (area.right - area.left) / 10;
        // The wheel's own reports come from its timer thread.
        constexpr LONG kMaxReports = 512;
        static LONGLONG reports[kMaxReports];
        static volatile LONG reportCount = 0;
        ColorPopup().Picker().Picker().ColorChanged.Subscribe([](void*, Gdiplus::Color&) {
            const LONG index = InterlockedIncrement(&reportCount) - 1;
            if (index < kMaxReports) reports[index] = Counter();
        });
        std::vector<double> calls;
        LONGLONG seen = g_lastCall();
        auto watch = [&](LONGLONG last) {
            if (last != seen) calls.push_back(Ms(last));
            seen = last;
        };
        SendMouse(centre, 0);
        PumpFor(50);
        SendMouse(centre, MOUSEEVENTF_LEFTDOWN);
        const double dragStart = Ms(Counter());
        for (int step = 0; step < 120; ++step) {
            const double angle = step * 0.1;
            const POINT at{centre.x + static_cast<LONG>(radius * std::cos(angle)),
                           centre.y + static_cast<LONG>(radius * std::sin(angle))};
            SendMouse(at, 0);
            PumpFor(16, watch);
        }
        SendMouse(centre, MOUSEEVENTF_LEFTUP);
        const double dragEnd = Ms(Counter());
        PumpFor(200, watch);

        // One report of the picker reaches the library as a burst of calls.
        std::vector<double> bursts;
        for (double t : calls)
            if (bursts.empty() || t - bursts.back() > kBurstGapMs) bursts.push_back(t);
        std::vector<double> gaps;
        for (size_t i = 1; i < bursts.size(); ++i) gaps.push_back(bursts[i] - bursts[i - 1]);
        std::vector<double> wheelGaps;
        const LONG wheelReports = std::min<LONG>(static_cast<LONG>(reportCount), kMaxReports);
        for (LONG i = 1; i < wheelReports; ++i) wheelGaps.push_back(Ms(reports[i] - reports[i - 1]));
        std::wprintf(L"colour drag of %.0f ms: the wheel reported %ld colours to the picker panel, %zu reports "
                     L"reached the library\n",
                     dragEnd - dragStart, static_cast<long>(wheelReports), bursts.size());
        PrintSpread(L"time between the wheel's reports", wheelGaps);
        PrintSpread(L"time between reports reaching the library", gaps);
        SendMouse(centre, 0);
        ColorPopup().IsVisible = 0;
        PumpFor(200);
    }

private:
    LumoColorPickerDlg& ColorPopup() { return m_dialog.ColorPopup(); }

    POINT ScreenPoint(POINT at) const
    {
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        const float scale = static_cast<float>(window.right - window.left) / kDesignWidth;
        POINT point{static_cast<LONG>(at.x * scale + 0.5f), static_cast<LONG>(at.y * scale + 0.5f)};
        ::ClientToScreen(m_hWnd, &point);
        return point;
    }

    // Clicks the colour swatch: the time until the picker shows, or -1.
    double OpenPicker(POINT swatch)
    {
        const LONGLONG opening = Counter();
        SendMouse(swatch, 0);
        SendMouse(swatch, MOUSEEVENTF_LEFTDOWN);
        SendMouse(swatch, MOUSEEVENTF_LEFTUP);
        for (int i = 0; i < 300; ++i) {
            PumpFor(5);
            const HWND made = ColorPopup().Picker().Picker().Handle.Get();
            if (made && ::IsWindowVisible(made)) return Ms(Counter() - opening);
        }
        return -1;
    }

    CLumoDlg& m_dialog;
    const HWND m_hWnd;
    const int m_clicks;
};
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int clicks = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    DetectModelClass();
    ParseCommandLine(L"");
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    {
        // The same module the dialog loads from this folder.
        if (HMODULE library = LoadLibraryW(L"NBHWCTL.dll"))
            g_lastCall = reinterpret_cast<LastCallFn>(reinterpret_cast<void*>(GetProcAddress(library, "StandIn_LastCallCounter")));
        if (!g_lastCall) {
            std::wprintf(L"the library stand-in is not beside the probe\n");
            return 1;
        }
        testsupport::ScriptedDlg dialog;
        dialog.script = [clicks](testsupport::ScriptedDlg& d) {
            LatencyProbe(d, clicks).Measure();
            d.EndDialog(IDCANCEL);
        };
        dialog.DoModal();
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
