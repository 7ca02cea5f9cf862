#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/LoggingProcess.h"

namespace testsupport {

// The hotkey service stand-in ("TESSEL" window), a separate process like the
// real service; it logs every set-level request it receives.
class HotkeyStandIn {
public:
    // With storesLevel, a request is written back to the package key.
    explicit HotkeyStandIn(bool storesLevel);

    bool IsUp() const { return m_process.IsUp(); }

    // The requests received, as "wParam lParam", once count have arrived or
    // the time is up.
    std::vector<std::string> Requests(size_t count, DWORD timeoutMs = 5000) const
    {
        return m_process.Lines(count, timeoutMs);
    }

private:
    LoggingProcess m_process;
};

}  // namespace testsupport
