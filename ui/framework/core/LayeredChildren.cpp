#include "ui/framework/core/LayeredChildren.h"

#include <versionhelpers.h>

namespace {

bool RunningUnderWine()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool g_forcedForTests = false;

} // namespace

void ForceLayeredChildWindowsForTests()
{
    g_forcedForTests = true;
}

bool LayeredChildrenAllowed(bool windows8OrLater, bool underWine)
{
    return windows8OrLater && !underWine;
}

bool UseLayeredChildWindows()
{
    // The manifest's Windows 8 entry keeps the version check honest.
    static const bool use =
        g_forcedForTests || LayeredChildrenAllowed(::IsWindows8OrGreater() != FALSE, RunningUnderWine());
    return use;
}

DWORD ChildLayeredExStyle(DWORD exStyle)
{
    return UseLayeredChildWindows() ? exStyle : (exStyle & ~static_cast<DWORD>(WS_EX_LAYERED));
}
