#include "tests/support/HotkeyStandIn.h"

#include <algorithm>

#include "backend/device/LightLevel.h"
#include "tests/fixtures/hotkey/StandInHotkeyControl.h"
#include "tests/support/FixturePaths.h"

namespace testsupport {

namespace {

// Markers carry this wParam, requests kHotkeySetLevelWParam.
constexpr WPARAM kMarkerWParam = 0;
constexpr DWORD kMarkerWaitMs = 5000;

bool IsMarker(const std::string& line)
{
    return line.rfind(std::to_string(kMarkerWParam) + " ", 0) == 0;
}

std::vector<std::string> WithoutMarkers(const std::vector<std::string>& lines)
{
    std::vector<std::string> requests;
    for (const std::string& line : lines)
        if (!IsMarker(line)) requests.push_back(line);
    return requests;
}

std::vector<std::wstring> StandInArguments(bool storesLevel, bool holdsLevels)
{
    std::vector<std::wstring> arguments;
    if (!storesLevel) return arguments;
    arguments.emplace_back(kVkpPackageKey);
    if (holdsLevels) arguments.emplace_back(fixtures::kHotkeyHoldArgument);
    return arguments;
}

}  // namespace

HotkeyStandIn::HotkeyStandIn(bool storesLevel, bool holdsLevels)
    : m_process(FixturePath(L"hotkey\\StandInHotkey.exe"), StandInArguments(storesLevel, holdsLevels),
                kHotkeyWindowClass, kHotkeyWindowTitle)
{
}

std::vector<std::string> HotkeyStandIn::Requests(size_t count, DWORD timeoutMs) const
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        std::vector<std::string> requests = WithoutMarkers(m_process.Lines(0, 0));
        if (requests.size() >= count || ::GetTickCount64() >= deadline) return requests;
        ::Sleep(10);
    }
}

std::vector<std::string> HotkeyStandIn::RequestsSoFar() const
{
    static LPARAM s_lastMarker = 0;
    const LPARAM marker = ++s_lastMarker;
    const std::string markerLine = std::to_string(kMarkerWParam) + " " + std::to_string(marker);
    const UINT message = ::RegisterWindowMessageW(kHotkeySimulationMessageText);
    // A stand-in that is gone heard nothing: that must not read as no request.
    if (!m_process.Window() || !::PostMessageW(m_process.Window(), message, kMarkerWParam, marker))
        return {"(the stand-in could not be reached)"};
    const ULONGLONG deadline = ::GetTickCount64() + kMarkerWaitMs;
    for (;;) {
        const std::vector<std::string> lines = m_process.Lines(0, 0);
        const auto found = std::find(lines.begin(), lines.end(), markerLine);
        if (found != lines.end()) return WithoutMarkers(std::vector<std::string>(lines.begin(), found));
        if (::GetTickCount64() >= deadline) return {"(the marker never arrived)"};
        ::Sleep(10);
    }
}

bool HotkeyStandIn::ReleaseHeldLevel() const
{
    DWORD_PTR stored = 0;
    // Sent, not posted: the level is in the registry when this returns.
    return m_process.Window() &&
           ::SendMessageTimeoutW(m_process.Window(), fixtures::kHotkeyReleaseHeldMessage, 0, 0, SMTO_ABORTIFHUNG,
                                 5000, &stored) != 0 &&
           stored == 1;
}

}  // namespace testsupport
