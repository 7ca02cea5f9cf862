#pragma once
#include <windows.h>

#include <functional>
#include <map>

namespace testsupport {

// Stands in front of one window's procedure while it lives: after each message
// the window has handled, sent or posted, counts it, keeps the pointer of a
// mouse message and calls back, so a test sees every state the window passes
// through, not samples between pumps.
//
// MessageWatch (MessageWatch.h) is the other watch: it hooks the thread's
// queue and sees what is taken from it, for any window, one not yet made
// included, but neither sent messages nor the state after a handler. A test
// that waits for a window's own handling uses this one.
class WindowWatch {
public:
    explicit WindowWatch(HWND window, std::function<void()> afterEach = {});
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    int Handled(UINT message) const;
    // In client coordinates, as the last mouse message carried it.
    POINT LastPointer() const { return m_pointer; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    WNDPROC m_previous = nullptr;
    std::function<void()> m_afterEach;
    std::map<UINT, int> m_handled;
    POINT m_pointer = {-1, -1};
};

}  // namespace testsupport
