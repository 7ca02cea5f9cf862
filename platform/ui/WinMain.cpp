#include <windows.h>

#include "platform/ui/WinApp.h"

// The program's entry: the application object already exists (static
// initialisation), so all that is left is to run it.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int cmdShow)
{
    return RunWinApp(instance, cmdLine, cmdShow);
}
