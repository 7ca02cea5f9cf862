#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win/UniqueHandle.h"
#include "tests/support/TempDir.h"

namespace testsupport {

// The hotkey service stand-in ("TESSEL" window), a separate process like the
// real service; it logs every set-level request it receives.
class HotkeyStandIn {
public:
    // With storesLevel, a request is written back to the package key.
    explicit HotkeyStandIn(bool storesLevel);
    ~HotkeyStandIn();
    HotkeyStandIn(const HotkeyStandIn&) = delete;
    HotkeyStandIn& operator=(const HotkeyStandIn&) = delete;

    bool IsUp() const { return m_window != nullptr; }

    // The requests received, as "wParam lParam", once count have arrived or
    // the time is up.
    std::vector<std::string> Requests(size_t count, DWORD timeoutMs = 5000) const;

private:
    TempDir m_dir;
    std::wstring m_log;
    platform::UniqueHandle m_process;
    HWND m_window = nullptr;
};

}  // namespace testsupport
