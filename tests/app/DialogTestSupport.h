#pragma once
// What the main window's in-process tests share: the real profile folder of
// the test prefix with its files kept and put back, the maker's library
// stand-in found by the window's plain load, and the calls it records.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "backend/device/HidPort.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/profiles/EffectModel.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/RegistryValue.h"
#include "tests/support/StandInLibrary.h"

class CLumoDlg;

namespace dialogtest {

// Power-state switches stored as boot on, awake on, sleeping off, shutdown
// on: the mask 0xCF; a click on the boot switch makes it 0xCC.
constexpr uint8_t kStoredPowerMask = 0xCF;
constexpr uint8_t kBootClickedPowerMask = 0xCC;
constexpr WPARAM kBootSwitchClick = 10;

// Basic.ini's [Setting] switches, in the order BOOTUP, AWAKE, SLEEPING, SHUTDOWN.
void StorePowerSwitches(const std::wstring& basicIni, const std::array<const wchar_t*, 4>& values);
// A click on the power-state page's boot switch, and its broadcast's arrival.
void ClickBootSwitch(CLumoDlg& dialog);

// For its scope, a keyboard whose reports go as "HID <id> <command>" lines
// into the stand-in library's log, so one log shows the library calls and the
// reports in the order they were made.
class LoggedHidKeyboard : public HidPort {
public:
    LoggedHidKeyboard();
    ~LoggedHidKeyboard() override;
    LoggedHidKeyboard(const LoggedHidKeyboard&) = delete;
    LoggedHidKeyboard& operator=(const LoggedHidKeyboard&) = delete;

    bool EnumInterfacePaths(const GUID&, std::vector<std::wstring>&) override { return true; }
    std::unique_ptr<HidConnection> Open(const wchar_t*, HidAccess) override;

private:
    HidDeviceInfo m_kept;
};

// The program's own log file in the profile folder, switched on for its
// scope and started empty: what the window traced, as a user's log shows it.
class ProgramLog {
public:
    explicit ProgramLog(const std::wstring& profileFolder);
    std::wstring Text() const;
    bool Contains(const wchar_t* fragment) const { return Text().find(fragment) != std::wstring::npos; }

private:
    testsupport::ScopedRegistryDword m_writeFile;
    std::wstring m_path;
};

// The real profile folder of this prefix, its files kept and put back, and
// the stand-in library found by the dialog's plain load.
class ProfileFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring File(const wchar_t* name) const { return m_folder + L"\\" + name; }
    void WriteConfig(const wchar_t* key, const wchar_t* value);
    // The switches of kStoredPowerMask.
    void WriteStoredPowerStates() { StorePowerSwitches(File(L"Basic.ini"), {L"1", L"1", L"0", L"1"}); }

    testsupport::StandInLibraryScript m_library;
    std::wstring m_folder;
    std::unique_ptr<testsupport::ShippedProfileFiles> m_files;
};

}  // namespace dialogtest
