#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

// Holds Wine's desktop and its services for the whole test run, so they are
// started once here (not as children of a test whose output they would keep
// open). Writes the file named on its command line once everything is up.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"lumo desktop holder", 0, 0, 0, 0, 0, nullptr, nullptr, instance,
                                  nullptr);
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
        link->Release();
    wchar_t folder[MAX_PATH];
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, TRUE);
    if (commandLine != nullptr && *commandLine != L'\0') {
        FILE* ready = _wfopen(commandLine, L"w");
        if (ready != nullptr) fclose(ready);
    }
    MSG msg;
    while (window != nullptr && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    CoUninitialize();
    return 0;
}
