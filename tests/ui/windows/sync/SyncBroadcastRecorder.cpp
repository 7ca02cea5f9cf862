// A second process for the sync page's tests: a hidden top-level window that
// appends "<wParam> <lParam>" of every "VORN VYL Lumo Profile Sync Windows
// Message" it receives to the file named by its first argument, and quits on
// WM_CLOSE or after a minute.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/fixtures/common/MessageLogWindow.h"

namespace {

const wchar_t kClassName[] = L"LumoTestSyncBroadcastRecorder";
constexpr UINT kLifetimeMs = 60000;

UINT g_syncMessage = 0;
std::wstring g_logPath;

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_syncMessage && g_syncMessage != 0) {
        fixtures::AppendMessageLine(g_logPath, wParam, lParam);
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
    const std::vector<std::wstring> args = fixtures::ProgramArguments();
    if (args.empty()) return 2;
    g_logPath = args[0];

    g_syncMessage = RegisterWindowMessageW(L"VORN VYL Lumo Profile Sync Windows Message");
    return fixtures::RunHiddenWindow(instance, kClassName, L"", WS_POPUP, RecorderProc, kLifetimeMs);
}
