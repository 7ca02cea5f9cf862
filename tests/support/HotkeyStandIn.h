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
    // With storesLevel, a request is written back to the package key; with
    // holdsLevels too, only once ReleaseHeldLevel lets it through.
    explicit HotkeyStandIn(bool storesLevel, bool holdsLevels = false);

    bool IsUp() const { return m_process.IsUp(); }

    // The requests received, as "wParam lParam", once count have arrived or
    // the time is up.
    std::vector<std::string> Requests(size_t count, DWORD timeoutMs = 5000) const;
    // Every request posted to the stand-in before this call: a marker posted
    // now reaches it behind them, so none is still on its way once it has.
    // A line that is no request when the marker cannot reach the stand-in.
    std::vector<std::string> RequestsSoFar() const;

    // Writes the oldest held request to the package key; true once it is
    // written, false when none was held.
    bool ReleaseHeldLevel() const;

private:
    LoggingProcess m_process;
};

}  // namespace testsupport
