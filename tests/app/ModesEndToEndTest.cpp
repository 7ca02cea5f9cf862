#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/LumoGlobals.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/UniqueHandle.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/RegistryValue.h"
#include "tests/support/ShippedSeeds.h"
#include "tests/support/TempDir.h"

using testsupport::FileExists;
using testsupport::IniEntries;
using testsupport::ReadFileBytes;
using testsupport::ReadUtf16File;

namespace {

std::wstring CommonFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, folder, csidl, TRUE);
    return folder;
}

std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[64] = L"";
    GetPrivateProfileStringW(section, key, L"<missing>", value, 64, path.c_str());
    return value;
}

// The program copied into an installation folder of its own with the seed
// profiles built beside it, and the stand-ins for the maker's library and the
// listener.
class InstalledProgram {
public:
    InstalledProgram() : m_folder(m_dir.File(L"Lumo"))
    {
        CreateDirectoryW(m_folder.c_str(), nullptr);
        const std::wstring exe = testsupport::WindowsPathOf(LUMO_APP_EXE);
        CopyFileW(exe.c_str(), Exe().c_str(), FALSE);
        testsupport::CopySeedFiles(exe.substr(0, exe.rfind(L'\\')), m_folder);
        CopyFileW(testsupport::FixturePath(L"nbhwctl\\full\\NBHWCTL.dll").c_str(), File(L"NBHWCTL.dll").c_str(),
                  FALSE);
        CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(), File(L"LumoListen.exe").c_str(), FALSE);
    }

    std::wstring File(const std::wstring& name) const { return m_folder + L"\\" + name; }
    std::wstring Exe() const { return File(L"Lumo.exe"); }

    // Runs the program and waits for it to end; its exit code, or -1.
    int Run(const std::wstring& arguments) const
    {
        std::wstring commandLine = L"\"" + Exe() + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return -1;
        platform::UniqueHandle process(pi.hProcess);
        platform::UniqueHandle thread(pi.hThread);
        if (WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0) {
            TerminateProcess(process.Get(), 99);
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(process.Get(), &code);
        return static_cast<int>(code);
    }

private:
    testsupport::TempDir m_dir;
    std::wstring m_folder;
};

bool WaitFor(bool (*condition)(const void*), const void* context, DWORD ms)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!condition(context)) {
        if (GetTickCount64() > deadline) return false;
        Sleep(20);
    }
    return true;
}

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
    EXPECT_TRUE(WaitFor([](const void* path) { return FileExists(*static_cast<const std::wstring*>(path)); },
                        &listenerLog, 5000));
    DeleteFileW(program.File(L"UWP.ini").c_str());

    ASSERT_EQ(program.Run(L"-uninit"), 0);
    EXPECT_FALSE(FileExists(dataFolder));
    EXPECT_FALSE(FileExists(desktopLink));
    EXPECT_TRUE(WaitFor(
        [](const void* path) {
            return ReadFileBytes(*static_cast<const std::wstring*>(path)).find("Profile Sync Modify") != std::string::npos;
        },
        &listenerLog, 5000));

    while (HWND listener = FindWindowW(L"VORN VYL Lumo Core Listener Sync Proc Invisible Window", nullptr)) {
        PostMessageW(listener, WM_CLOSE, 0, 0);
        for (int i = 0; i < 100 && IsWindow(listener); ++i) Sleep(10);
        if (IsWindow(listener)) break;
    }
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}
