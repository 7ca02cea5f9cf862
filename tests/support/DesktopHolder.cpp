#include <windows.h>

// A hidden window that keeps Wine's desktop process alive between tests.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"lumo desktop holder", 0, 0, 0, 0, 0, nullptr, nullptr, instance,
                                  nullptr);
    MSG msg;
    while (window != nullptr && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
