#include "tests/support/WindowCreationRefusal.h"

namespace testsupport {

WindowCreationRefusal::WindowCreationRefusal()
    : m_hook(::SetWindowsHookExW(WH_CBT, Refuse, nullptr, ::GetCurrentThreadId()))
{
}

WindowCreationRefusal::~WindowCreationRefusal()
{
    if (m_hook) ::UnhookWindowsHookEx(m_hook);
}

LRESULT CALLBACK WindowCreationRefusal::Refuse(int code, WPARAM wParam, LPARAM lParam)
{
    // A non-zero answer to HCBT_CREATEWND makes CreateWindowEx fail.
    if (code == HCBT_CREATEWND) return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace testsupport
