#pragma once
#include <windows.h>

namespace testsupport {

// While it lives, every window this thread tries to make fails to be
// created (a CBT hook refuses it), as when the system runs out of them.
class WindowCreationRefusal {
public:
    WindowCreationRefusal();
    ~WindowCreationRefusal();
    WindowCreationRefusal(const WindowCreationRefusal&) = delete;
    WindowCreationRefusal& operator=(const WindowCreationRefusal&) = delete;

    bool IsActive() const { return m_hook != nullptr; }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook;
};

}  // namespace testsupport
