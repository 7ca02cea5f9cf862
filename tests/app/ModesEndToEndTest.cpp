#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/LumoGlobals.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/UniqueHandle.h"
#include "tests/app/StartedProgram.h"
#include "tests/app/ScopedInstalledDir.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/RegistryValue.h"
#include "tests/support/ShippedSeeds.h"
#include "tests/support/TempDir.h"

using testsupport::FileExists;
using testsupport::IniEntries;
using testsupport::IniValue;
using testsupport::kPatienceMs;
using testsupport::PollUntil;
using testsupport::ReadFileBytes;
using testsupport::ReadUtf16File;

namespace {

std::wstring CommonFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, folder, csidl, TRUE);
    return folder;
}

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder)
{
    return path.size() > folder.size() && (path[folder.size()] == L'\\') &&
           _wcsnicmp(path.c_str(), folder.c_str(), folder.size()) == 0;
}

// The full path of a process's program; empty when it cannot be had.
std::wstring ImageOf(DWORD processId)
{
    platform::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::wstring();
    std::wstring image(32768, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(process.Get(), 0, &image[0], &size)) return std::wstring();
    image.resize(size);
    return image;
}

// The running processes whose program lies in folder.
std::vector<DWORD> ProcessesIn(const std::wstring& folder)
{
    std::vector<DWORD> found;
    platform::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (StartsWithFolder(ImageOf(entry.th32ProcessID), folder)) found.push_back(entry.th32ProcessID);
    return found;
}

// The running processes of that very program.
std::vector<DWORD> ProcessesOf(const std::wstring& exe)
{
    std::vector<DWORD> found;
    for (DWORD id : ProcessesIn(exe.substr(0, exe.rfind(L'\\'))))
        if (_wcsicmp(ImageOf(id).c_str(), exe.c_str()) == 0) found.push_back(id);
    return found;
}

// How many processes that a run started still run the program; waits until
// each of them has its image, as one still starting has none yet.
DWORD StartedAndRunning(const apptest::Started& started, const std::wstring& program)
{
    DWORD running = 0;
    PollUntil([&] {
        running = 0;
        platform::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return false;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
            if (entry.th32ParentProcessID != started.id) continue;
            const std::wstring image = ImageOf(entry.th32ProcessID);
            if (image.empty()) return false;
            running += _wcsicmp(image.c_str(), program.c_str()) == 0;
        }
        return true;
    });
    return running;
}

// Ends every process running from folder, and what those start meanwhile: a
// process still starting has no image yet, its parent tells where it came from.
void EndProcessesIn(const std::wstring& folder)
{
    std::vector<DWORD> ended;
    for (int round = 0; round < 100; ++round) {
        std::vector<DWORD> running;
        platform::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
             more = Process32NextW(snapshot.Get(), &entry)) {
            const std::wstring image = ImageOf(entry.th32ProcessID);
            const bool startedByEnded =
                std::find(ended.begin(), ended.end(), entry.th32ParentProcessID) != ended.end();
            if (StartsWithFolder(image, folder) || (image.empty() && startedByEnded))
                running.push_back(entry.th32ProcessID);
        }
        if (running.empty()) return;
        for (DWORD id : running) {
            platform::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            if (!process) continue;
            TerminateProcess(process.Get(), 99);
            WaitForSingleObject(process.Get(), 10000);
            ended.push_back(id);
        }
    }
}

using apptest::Started;
using apptest::VisibleMainWindowOf;

// The program copied into an installation folder of its own with the seed
// profiles built beside it, and the stand-ins for the maker's library and the
// listener. Whatever still runs from the folder is ended when it goes.
class InstalledProgram {
public:
    explicit InstalledProgram(const std::wstring& folderName = L"Lumo") : m_folder(m_dir.File(folderName))
    {
        CreateDirectoryW(m_folder.c_str(), nullptr);
        const std::wstring exe = testsupport::WindowsPathOf(LUMO_APP_EXE);
        CopyFileW(exe.c_str(), Exe().c_str(), FALSE);
        testsupport::CopySeedFiles(exe.substr(0, exe.rfind(L'\\')), m_folder);
        CopyFileW(testsupport::FixturePath(L"nbhwctl\\full\\NBHWCTL.dll").c_str(), File(L"NBHWCTL.dll").c_str(),
                  FALSE);
        CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(), File(L"LumoListen.exe").c_str(), FALSE);
    }
    // A running program's files could not be deleted.
    ~InstalledProgram() { EndProcessesIn(m_folder); }
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring File(const std::wstring& name) const { return m_folder + L"\\" + name; }
    std::wstring Exe() const { return File(L"Lumo.exe"); }

    // The run goes into a job of its own before its first instruction, so
    // that every process it starts is counted, however briefly it lives.
    Started Start(const std::wstring& arguments) const
    {
        std::wstring commandLine = L"\"" + Exe() + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        Started started;
        started.job.Reset(CreateJobObjectW(nullptr, nullptr));
        if (!started.job ||
            !CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                            &pi))
            return started;
        started.process.Reset(pi.hProcess);
        platform::UniqueHandle thread(pi.hThread);
        started.id = pi.dwProcessId;
        if (!AssignProcessToJobObject(started.job.Get(), pi.hProcess)) started.job.Reset();
        ResumeThread(pi.hThread);
        return started;
    }

    // Runs the program and waits for it to end; its exit code, or -1.
    int Run(const std::wstring& arguments) const
    {
        Started started = Start(arguments);
        if (!started.process) return -1;
        if (WaitForSingleObject(started.process.Get(), 30000) != WAIT_OBJECT_0) {
            TerminateProcess(started.process.Get(), 99);
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(started.process.Get(), &code);
        return static_cast<int>(code);
    }

private:
    testsupport::TempDir m_dir;
    std::wstring m_folder;
};

}  // namespace

// Every mode of the real program on this prefix, with file logging on and no
// keyboard controller present.
TEST(ModesEndToEnd, InitApplyBackgroundAndUninit)
{
    testsupport::ScopedRegistryDword writeFile(trace::kRegistryKey, L"WriteFile", 1u);
    testsupport::TempDir logs;
    const std::wstring listenerLog = logs.File(L"listener.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", listenerLog.c_str());

    InstalledProgram program;
    wchar_t sid[MAX_PATH] = L"";
    ASSERT_TRUE(GetUserSIDString(sid, MAX_PATH));
    const std::wstring dataFolder = CommonFolder(CSIDL_COMMON_APPDATA) + L"\\VORN\\VYLLumoCore";
    const std::wstring log = dataFolder + L"\\" + sid + L"\\VYLLumoCore.log";
    const std::wstring desktopLink = CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\VYL Lumo Core.lnk";
    const std::wstring seed = program.File(L"Basic.ini");
    for (const wchar_t* name : testsupport::kSeedFileNames)
        ASSERT_TRUE(FileExists(program.File(name))) << "not built beside the program";
    const std::vector<std::wstring> shippedBasic = IniEntries(testsupport::SeedFolder() + L"\\Basic.ini");

    ASSERT_EQ(program.Run(L"-init"), 0);
    EXPECT_EQ(IniValue(seed, L"Config", L"Apply"), L"0");
    EXPECT_EQ(IniEntries(seed), shippedBasic) << "the seed keeps every other setting";
    EXPECT_TRUE(FileExists(desktopLink));
    std::wstring text = ReadUtf16File(log);
    EXPECT_NE(text.find(L"InstallHandler -> I am called!"), std::wstring::npos) << "log: " << log;
    EXPECT_NE(text.find(L"InitRGBKBDevice -> Not found device !!"), std::wstring::npos);
    EXPECT_NE(text.find(L"*******Begin to Log*******"), std::wstring::npos);

    WritePrivateProfileStringW(L"Config", L"Apply", L"2", seed.c_str());
    ASSERT_EQ(program.Run(L"/CHKDEFAULT"), 0);
    EXPECT_EQ(IniValue(seed, L"Config", L"Apply"), L"0");
    EXPECT_EQ(IniEntries(seed), shippedBasic);
    EXPECT_NE(ReadUtf16File(log).find(L"CheckDefaultHandler -> I am called!"), std::wstring::npos);

    const std::wstring userBasic = dataFolder + L"\\" + sid + L"\\Basic.ini";
    DeleteFileW(userBasic.c_str());
    ASSERT_EQ(program.Run(L"-apply 2"), 0);
    text = ReadUtf16File(log);
    EXPECT_NE(text.find(L"[LumoCore]ApplyHandler -> g_dwApplyIndex is error: 2 - "), std::wstring::npos);
    EXPECT_NE(text.find(L"ApplyHandler -> dwType wrong !"), std::wstring::npos);
    // Without a keyboard it stops before the profile folder is seeded, and no
    // mode touches the shipped profiles.
    EXPECT_FALSE(FileExists(userBasic));
    for (const wchar_t* name : testsupport::kSeedFileNames) {
        if (std::wstring(name) == L"Basic.ini") continue;
        EXPECT_EQ(ReadFileBytes(program.File(name)), ReadFileBytes(testsupport::SeedFolder() + L"\\" + name));
    }

    // "-background" starts the listener only in UWP mode.
    ASSERT_EQ(program.Run(L"-background"), 0);
    EXPECT_FALSE(FileExists(listenerLog));
    testsupport::WriteFileBytes(program.File(L"UWP.ini"), "");
    ASSERT_EQ(program.Run(L"-background"), 0);
    EXPECT_TRUE(PollUntil([&] { return FileExists(listenerLog); }));
    DeleteFileW(program.File(L"UWP.ini").c_str());

    ASSERT_EQ(program.Run(L"-uninit"), 0);
    EXPECT_FALSE(FileExists(dataFolder));
    EXPECT_FALSE(FileExists(desktopLink));
    EXPECT_TRUE(PollUntil([&] { return ReadFileBytes(listenerLog).find("Profile Sync Modify") != std::string::npos; }));

    while (HWND listener = FindWindowW(L"VORN VYL Lumo Core Listener Sync Proc Invisible Window", nullptr)) {
        PostMessageW(listener, WM_CLOSE, 0, 0);
        if (!PollUntil([listener] { return !IsWindow(listener); })) break;
    }
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}

namespace {

std::wstring SharedDataFolder()
{
    return CommonFolder(CSIDL_COMMON_APPDATA) + L"\\VORN\\VYLLumoCore";
}

HWND WaitForWindowOrExit(const Started& started)
{
    return apptest::WaitForWindowOrExit(started, kPatienceMs);
}

// Closes the window as a user would and waits for its process to end.
bool ClosesOnRequest(HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    platform::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, owner));
    PostMessageW(window, WM_CLOSE, 0, 0);
    return process && WaitForSingleObject(process.Get(), kPatienceMs) == WAIT_OBJECT_0;
}

struct KeptHandOver {
    const char* name;
    bool toItself;           // else to a second installation holding a Lumo.exe that cannot start
    const wchar_t* refusal;  // the trace of the refused hand-over
};

void PrintTo(const KeptHandOver& c, std::ostream* os)
{
    *os << c.name;
}

class UwpHandOverKept : public testing::TestWithParam<KeptHandOver> {};

}  // namespace

// A hand-over that cannot reach another program ends the chain: the program
// shows its own window instead of ending or starting itself again.
TEST_P(UwpHandOverKept, ShowsItsOwnWindow)
{
    const KeptHandOver& c = GetParam();
    testsupport::ScopedRegistryDword writeFile(trace::kRegistryKey, L"WriteFile", 1u);
    InstalledProgram program;
    testsupport::WriteFileBytes(program.File(L"UWP.ini"), "");
    InstalledProgram broken(L"Broken");
    testsupport::WriteFileBytes(broken.Exe(), "not a program");
    const std::wstring target = c.toItself ? program.Exe() : broken.Exe();
    apptest::ScopedInstalledDir installedDir((c.toItself ? program.Folder() : broken.Folder()) + L"\\");

    Started first = program.Start(L"");
    ASSERT_TRUE(first.process.IsValid());
    HWND window = WaitForWindowOrExit(first);
    ASSERT_NE(window, nullptr) << "it handed over and ended";
    // Its own process and the listener it starts in this mode: any other it
    // started counts, running, still starting or already ended.
    EXPECT_EQ(apptest::ProcessesOfRun(first), 1 + StartedAndRunning(first, program.File(kListenerFileName)))
        << "besides its listener it started a process: itself again";
    const std::wstring text = ReadUtf16File(SharedDataFolder() + L"\\UWPIni\\VYLLumoCore.log");
    EXPECT_NE(text.find(std::wstring(c.refusal) + L" @ OnInitDialog -> " + target + L"\r\n"), std::wstring::npos);
    EXPECT_TRUE(ClosesOnRequest(window));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UwpHandOverKept,
    testing::Values(KeptHandOver{"toItself", true, L"hands over again, not run !!!"},
                    KeptHandOver{"toAProgramThatCannotStart", false, L"run msi one failed !!!"}),
    [](const testing::TestParamInfo<KeptHandOver>& info) { return std::string(info.param.name); });

TEST(UwpHandOver, ToASecondInstallationEndsThisOneAndShowsThatOne)
{
    InstalledProgram first;
    testsupport::WriteFileBytes(first.File(L"UWP.ini"), "");
    InstalledProgram second(L"Second");
    apptest::ScopedInstalledDir installedDir(second.Folder() + L"\\");

    Started started = first.Start(L"");
    ASSERT_TRUE(started.process.IsValid());
    EXPECT_EQ(WaitForWindowOrExit(started), nullptr) << "the first showed its window";
    ASSERT_EQ(WaitForSingleObject(started.process.Get(), kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD exitCode = 1234;
    GetExitCodeProcess(started.process.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);

    HWND shown = nullptr;
    ASSERT_TRUE(PollUntil([&] {
        for (DWORD id : ProcessesOf(second.Exe()))
            if ((shown = VisibleMainWindowOf(id)) != nullptr) return true;
        return false;
    }))
        << "the second installation showed no window";
    EXPECT_TRUE(ProcessesIn(first.Folder()).empty()) << "the first started nothing of its own";
    EXPECT_TRUE(ClosesOnRequest(shown));
}
