#include "tests/app/DialogTestSupport.h"

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "tests/fixtures/common/FixtureLog.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/ShippedSeeds.h"
#include "tests/support/TempDir.h"

namespace dialogtest {

namespace {

class LoggedConnection : public HidConnection {
public:
    bool GetAttributesAndCaps(HIDD_ATTRIBUTES&, HIDP_CAPS&) override { return false; }
    bool SetFeature(const uint8_t* report, uint32_t length) override { return Log(report, length); }
    bool GetFeature(uint8_t*, uint32_t) override { return false; }
    bool WriteReport(const uint8_t* report, uint32_t length) override { return Log(report, length); }
    bool ReadInputReport(uint8_t*, uint32_t, uint32_t) override { return false; }

private:
    static bool Log(const uint8_t* report, uint32_t length)
    {
        if (length >= 2) fixtures::AppendLine(L"LUMO_NBHWCTL_LOG", "HID %02X %02X", report[0], report[1]);
        return true;
    }
};

}  // namespace

LoggedHidKeyboard::LoggedHidKeyboard() : m_kept(g_HidDevice)
{
    g_HidDevice = HidDeviceInfo{0, 64, 64, L"logged keyboard"};
    SetActiveHidPort(this);
}

LoggedHidKeyboard::~LoggedHidKeyboard()
{
    SetActiveHidPort(nullptr);
    g_HidDevice = m_kept;
}

std::unique_ptr<HidConnection> LoggedHidKeyboard::Open(const wchar_t*, HidAccess)
{
    return std::make_unique<LoggedConnection>();
}

void StorePowerSwitches(const std::wstring& basicIni, const std::array<const wchar_t*, 4>& values)
{
    const wchar_t* const keys[] = {L"BOOTUP", L"AWAKE", L"SLEEPING", L"SHUTDOWN"};
    for (size_t i = 0; i < values.size(); ++i)
        WritePrivateProfileStringW(L"Setting", keys[i], values[i], basicIni.c_str());
}

void ClickBootSwitch(CLumoDlg& dialog)
{
    ::SendMessageW(dialog.SyncPage().GetSafeHwnd(), WM_LIGHTBUTTON_CLICK_MESSAGE, kBootSwitchClick, 0);
    EXPECT_TRUE(testsupport::PumpUntil([] { return g_uPowerStateMask == kBootClickedPowerMask; },
                                       testsupport::kPatienceMs))
        << "the click's broadcast";
}

ProgramLog::ProgramLog(const std::wstring& profileFolder)
    : m_writeFile(trace::kRegistryKey, L"WriteFile", 1u), m_path(profileFolder + L"\\VYLLumoCore.log")
{
    DeleteFileW(m_path.c_str());
}

std::wstring ProgramLog::Text() const
{
    return testsupport::ReadUtf16File(m_path);
}

void ProfileFolderTest::SetUp()
{
    ParseCommandLine(L"");
    ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    const std::wstring library = testsupport::FixturePath(L"nbhwctl\\full\\NBHWCTL.dll");
    SetDllDirectoryW(library.substr(0, library.rfind(L'\\')).c_str());
    SeedSettings seed;
    CopyIniFiles(SystemFolderSources(), seed, false, m_tszIniDir, MAX_PATH);
    m_folder = m_tszIniDir;
    m_files = std::make_unique<testsupport::ShippedProfileFiles>(m_folder, testsupport::SeedFolder());
}

void ProfileFolderTest::TearDown()
{
    m_files.reset();
    SetDllDirectoryW(nullptr);
}

void ProfileFolderTest::WriteConfig(const wchar_t* key, const wchar_t* value)
{
    WritePrivateProfileStringW(L"Config", key, value, File(L"Basic.ini").c_str());
}

}  // namespace dialogtest
