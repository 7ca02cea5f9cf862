#include <windows.h>

// The cheapest GUI program: what a process start costs under Wine before any
// of our code runs, to subtract from the program's own start-up figures.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
