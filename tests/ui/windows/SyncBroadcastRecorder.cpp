// A second process for the sync page's tests: a hidden top-level window that
// appends "<wParam> <lParam>" of every "VORN VYL Lumo Profile Sync Windows
// Message" it receives to the file named by its first argument, and quits on
// WM_CLOSE or after a minute.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t kClassName[] = L"LumoTestSyncBroadcastRecorder";
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 60000;

UINT g_syncMessage = 0;
std::wstring g_logPath;

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_syncMessage && g_syncMessage != 0) {
        if (FILE* file = _wfopen(g_logPath.c_str(), L"ab")) {
            fprintf(file, "%lu %ld\n", static_cast<unsigned long>(wParam), static_cast<long>(lParam));
            fclose(file);
        }
        return 0;
    }
    switch (message) {
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 2) return 2;
    g_logPath = args[1];
    LocalFree(args);

    g_syncMessage = RegisterWindowMessageW(L"VORN VYL Lumo Profile Sync Windows Message");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (RegisterClassW(&wc) == 0) return 3;
    HWND window = CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 4;
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
