#include "tests/support/WindowWatch.h"

#include <utility>

namespace testsupport {

namespace {

constexpr wchar_t kWatchProperty[] = L"LumoTestWindowWatch";

}  // namespace

WindowWatch::WindowWatch(HWND window, std::function<void()> afterEach)
    : m_window(window), m_afterEach(std::move(afterEach))
{
    if (!::IsWindow(window) || !::SetPropW(window, kWatchProperty, this)) return;
    m_previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowWatch::Procedure)));
}

WindowWatch::~WindowWatch()
{
    if (!m_previous || ::GetPropW(m_window, kWatchProperty) != this) return;
    ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
    ::RemovePropW(m_window, kWatchProperty);
}

int WindowWatch::Handled(UINT message) const
{
    const auto found = m_handled.find(message);
    return found == m_handled.end() ? 0 : found->second;
}

LRESULT CALLBACK WindowWatch::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* watch = static_cast<WindowWatch*>(::GetPropW(window, kWatchProperty));
    if (!watch || !watch->m_previous) return ::DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC previous = watch->m_previous;
    if (message == WM_NCDESTROY) {
        // The window goes: the watch lets go of it first.
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropW(window, kWatchProperty);
        watch->m_previous = nullptr;
        return ::CallWindowProcW(previous, window, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
    ++watch->m_handled[message];
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        watch->m_pointer = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (watch->m_afterEach) watch->m_afterEach();
    return result;
}

}  // namespace testsupport
