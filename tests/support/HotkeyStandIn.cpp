#include "tests/support/HotkeyStandIn.h"

#include "backend/device/LightLevel.h"
#include "tests/support/FixturePaths.h"

namespace testsupport {

HotkeyStandIn::HotkeyStandIn(bool storesLevel)
    : m_process(FixturePath(L"hotkey\\StandInHotkey.exe"), storesLevel ? std::wstring(kVkpPackageKey) : std::wstring(),
                kHotkeyWindowClass, kHotkeyWindowTitle)
{
}

}  // namespace testsupport
