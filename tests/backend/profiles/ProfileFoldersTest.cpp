#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <cstring>
#include <string>
#include <vector>

#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "tests/backend/profiles/ProfileTestSupport.h"
#include "tests/support/MessagePump.h"

using profiletest::EveryoneMayWrite;
using profiletest::IsFolder;
using profiletest::kDay;
using profiletest::kJan2020;
using profiletest::Listing;
using profiletest::MakeFolder;
using profiletest::ReadText;
using profiletest::SetWriteTime;
using profiletest::WriteText;
using testsupport::FileExists;
using testsupport::TempDir;

namespace {

const wchar_t kUser1[] = L"S-1-5-21-1001";
const wchar_t kUser2[] = L"S-1-5-21-1002";
const wchar_t kUser3[] = L"S-1-5-21-1003";
// Only keeps a shell that never ends from holding the run.
constexpr DWORD kHostShellLimitMs = 60000;

std::string IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[260] = {};
    GetPrivateProfileStringW(section, key, L"<none>", value, ARRAYSIZE(value), path.c_str());
    return std::string(value, value + wcslen(value));
}

std::string MarkOf(const std::wstring& path)
{
    return IniValue(path, L"Mark", L"From");
}

std::string Marked(const std::string& from, const std::string& more = "")
{
    return "[Mark]\r\nFrom=" + from + "\r\n" + more;
}

enum class FolderLink { Made, NoWayHere, Failed };

// A folder link made by the platform, or by the host's ln under Wine, whose
// Unix links it reports as reparse points. NoWayHere only where neither can
// be asked; a way that was taken and left no link is Failed, with why.
FolderLink MakeFolderLink(const std::wstring& link, const std::wstring& target, const std::wstring& unixTarget,
                          std::string& why)
{
    auto isLink = [&] {
        DWORD a = GetFileAttributesW(link.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT) && (a & FILE_ATTRIBUTE_DIRECTORY);
    };
    // Wine's CreateSymbolicLinkW answers TRUE and makes nothing.
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        isLink())
        return FolderLink::Made;

    // A host process gives no handle to wait on: the shell renames ln's
    // output and status into place once ln is done, and that file is the wait.
    const size_t cut = link.rfind(L'\\');
    const std::wstring parent = link.substr(0, cut);
    const std::wstring name = link.substr(cut + 1);
    const std::wstring done = link + L".done";
    std::wstring command = L"Z:\\bin\\sh -c \"ln -s " + unixTarget + L" " + name + L" > " + name +
                           L".out 2>&1; echo $? >> " + name + L".out; mv " + name + L".out " + name + L".done\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, parent.c_str(), &startup, &process)) {
        why = "no folder link can be made here: the platform makes none and there is no host shell";
        return FolderLink::NoWayHere;
    }
    // The handles Wine gives back for a host process are no real ones: left alone.
    if (!testsupport::PumpUntil([&] { return FileExists(done); }, kHostShellLimitMs)) {
        why = "the host shell never said that ln was done";
        return FolderLink::Failed;
    }
    const std::string output = testsupport::ReadFileBytes(done);
    DeleteFileW(done.c_str());
    if (output != "0\n") {
        why = "ln did not make the link: " + output;
        return FolderLink::Failed;
    }
    if (!isLink()) {
        why = "ln made the link, but it is not seen as a folder link";
        return FolderLink::Failed;
    }
    return FolderLink::Made;
}

class FolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        sources.appData = root.File(L"ProgramData");
        sources.program = ProgramDir() + L"\\";
        sources.sid = kUser2;
        MakeFolder(sources.appData);
        MakeFolder(ProgramDir());
    }

    std::wstring Base() const { return sources.appData + L"\\VORN\\VYLLumoCore"; }
    std::wstring ProgramDir() const { return root.File(L"Program"); }
    std::wstring UserDir(const std::wstring& sid) const { return Base() + L"\\" + sid; }

    void SeedProgram(bool withCustom2 = true)
    {
        WriteText(ProgramDir() + L"\\Basic.ini", Marked("program"));
        for (int n = 0; n < 3; ++n) {
            if (n == 2 && !withCustom2) continue;
            WriteText(ProgramDir() + L"\\Custom" + std::to_wstring(n) + L".Ini",
                      Marked("program", "[Config]\r\nallIndex=" + std::to_string(n + 4) + "\r\n"));
        }
    }

    // A user folder whose files carry the folder's name; without basic.ini
    // its other files get the time instead.
    void MakeUser(const std::wstring& name, bool withBasic, ULONGLONG ticks)
    {
        std::wstring folder = UserDir(name);
        MakeFolder(folder);
        std::string mark(name.begin(), name.end());
        for (const wchar_t* file : {L"Custom0.Ini", L"Custom1.Ini"}) {
            WriteText(folder + L"\\" + file, Marked(mark));
            if (!withBasic) SetWriteTime(folder + L"\\" + file, ticks);
        }
        if (withBasic) {
            WriteText(folder + L"\\basic.ini", Marked(mark));
            SetWriteTime(folder + L"\\basic.ini", ticks);
        }
    }

    std::wstring Run(bool uwp = false)
    {
        wchar_t iniDir[MAX_PATH] = L"unset";
        CopyIniFiles(sources, settings, uwp, iniDir, ARRAYSIZE(iniDir));
        return iniDir;
    }

    TempDir root;
    profiletest::FakeSources sources;
    SeedSettings settings;
};

}  // namespace

struct UserFolderSpec {
    const wchar_t* name;
    bool withBasic;
    ULONGLONG ticks;
};

struct SeedCase {
    const char* name;
    std::vector<UserFolderSpec> folders;
    const wchar_t* sid;
    const char* seededFrom;
};

TEST_F(FolderTest, UserFolderIsSeededFromTheNewestUserOrTheProgram)
{
    const SeedCase cases[] = {
        {"first user on the machine", {}, kUser1, "program"},
        {"second user inherits the newest folder",
         {{kUser1, true, kJan2020}, {kUser3, true, kJan2020 + 2 * kDay}},
         kUser2,
         "S-1-5-21-1003"},
        {"older listed later does not win",
         {{kUser3, true, kJan2020 + 2 * kDay}, {kUser1, true, kJan2020}},
         kUser2,
         "S-1-5-21-1003"},
        {"a folder without basic.ini never wins",
         {{kUser1, true, kJan2020}, {L"S-1-5-21-1009", false, kJan2020 + 9 * kDay}},
         kUser2,
         "S-1-5-21-1001"},
        {"only folders without basic.ini", {{L"S-1-5-21-1009", false, kJan2020}}, kUser2, "program"},
        {"folders not named S... are no user folders",
         {{L"UWPIni", true, kJan2020 + 5 * kDay}, {L"Xyz", true, kJan2020 + 5 * kDay}, {kUser1, true, kJan2020}},
         kUser2,
         "S-1-5-21-1001"},
        {"own folder newest is kept",
         {{kUser1, true, kJan2020}, {kUser2, true, kJan2020 + kDay}},
         kUser2,
         "S-1-5-21-1002"},
    };
    for (const SeedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir fresh;
        sources.appData = fresh.File(L"ProgramData");
        MakeFolder(sources.appData);
        SeedProgram();
        for (const UserFolderSpec& f : c.folders) MakeUser(f.name, f.withBasic, f.ticks);
        sources.sid = c.sid;

        std::wstring iniDir = Run();
        EXPECT_EQ(iniDir, UserDir(c.sid));
        EXPECT_EQ(MarkOf(iniDir + L"\\Basic.ini"), c.seededFrom);
        EXPECT_EQ(MarkOf(iniDir + L"\\Custom0.Ini"), c.seededFrom);
        EXPECT_EQ(MarkOf(iniDir + L"\\Custom1.Ini"), c.seededFrom);
    }
}

TEST_F(FolderTest, EqualTimesKeepTheFolderListedFirst)
{
    SeedProgram();
    MakeUser(kUser1, true, kJan2020);
    MakeUser(kUser3, true, kJan2020);
    std::vector<std::wstring> listed = Listing(Base(), L"S*.*");
    ASSERT_EQ(listed.size(), 2u);

    wchar_t name[MAX_PATH];
    ASSERT_TRUE(FindLatestIni(Base().c_str(), name, ARRAYSIZE(name)));
    EXPECT_EQ(name, listed[0]);
    std::wstring iniDir = Run();
    std::string first(listed[0].begin(), listed[0].end());
    EXPECT_EQ(MarkOf(iniDir + L"\\Basic.ini"), first);
}

TEST_F(FolderTest, FindLatestIniNamesInitOrNothing)
{
    wchar_t name[MAX_PATH] = L"stale";
    EXPECT_FALSE(FindLatestIni(Base().c_str(), name, ARRAYSIZE(name)));
    EXPECT_STREQ(name, L"");
    MakeFolder(Base() + L"\\S-empty");
    EXPECT_TRUE(FindLatestIni(Base().c_str(), name, ARRAYSIZE(name)));
    EXPECT_STREQ(name, L"Init");
}

TEST_F(FolderTest, InheritingReplacesTheUsersOwnStaleFiles)
{
    SeedProgram();
    MakeUser(kUser1, true, kJan2020);
    MakeFolder(UserDir(kUser2));
    WriteText(UserDir(kUser2) + L"\\Custom2.Ini", Marked("stale"));
    WriteText(UserDir(kUser2) + L"\\custom9.ini", Marked("stale"));
    WriteText(UserDir(kUser2) + L"\\notes.txt", "kept");

    std::wstring iniDir = Run();
    EXPECT_EQ(MarkOf(iniDir + L"\\Basic.ini"), "S-1-5-21-1001");
    EXPECT_FALSE(FileExists(iniDir + L"\\Custom2.Ini"));
    EXPECT_FALSE(FileExists(iniDir + L"\\custom9.ini"));
    EXPECT_TRUE(FileExists(iniDir + L"\\notes.txt"));
    // Copies are opened to everybody.
    EXPECT_TRUE(EveryoneMayWrite(iniDir + L"\\Custom0.Ini"));
}

TEST_F(FolderTest, MissingSeedFileLeavesDefaults)
{
    SeedProgram(false);
    MakeFolder(UserDir(kUser2));
    WriteText(UserDir(kUser2) + L"\\Custom2.Ini", "[Config]\r\nallIndex=6\r\n");

    std::wstring iniDir = Run();
    EXPECT_EQ(MarkOf(iniDir + L"\\Custom1.Ini"), "program");
    EXPECT_FALSE(FileExists(iniDir + L"\\Custom2.Ini"));
    CustomProfile profile{};
    profile.allIndex = 99;
    ASSERT_TRUE(LoadProfile(iniDir.c_str(), 2, profile));
    EXPECT_EQ(profile.allIndex, 0);
    EXPECT_EQ(profile.wasdData[3].TemperatureH, 60);
}

TEST_F(FolderTest, WithoutASidTheBaseFolderIsUsed)
{
    SeedProgram();
    sources.sidFails = true;
    std::wstring iniDir = Run();
    EXPECT_EQ(iniDir, Base() + L"\\");
    EXPECT_EQ(MarkOf(Base() + L"\\Basic.ini"), "program");
    EXPECT_EQ(MarkOf(Base() + L"\\Custom0.Ini"), "program");
}

TEST_F(FolderTest, SourceFailuresStopTheSeeding)
{
    SeedProgram();
    {
        profiletest::TraceLog trace;
        sources.programFails = true;
        EXPECT_EQ(Run(), UserDir(kUser2));
        EXPECT_FALSE(FileExists(UserDir(kUser2)));
        EXPECT_TRUE(trace.Contains(L"CopyIniFiles -> GetModuleFileName failed"));
        sources.programFails = false;
    }
    sources.appDataFails = true;
    EXPECT_EQ(Run(), L"");
    EXPECT_EQ(Run(true), L"");
    EXPECT_FALSE(FileExists(Base()));
}

TEST_F(FolderTest, ProfileFolderThatWouldNotFitIsRefused)
{
    SeedProgram();
    // The data folder fits; with the SID appended the path does not.
    std::wstring deep = root.Path() + L"\\";
    deep += std::wstring(215 - deep.size(), L'p');
    MakeFolder(deep);
    sources.appData = deep;
    sources.sid = L"S-1-5-21-1111111111-2222222222-3333333333-1001";
    ASSERT_LT(Base().size(), 260u);
    ASSERT_GT(UserDir(sources.sid).size(), 259u);

    profiletest::TraceLog trace;
    EXPECT_EQ(Run(), L"");
    // A cut path would have made a folder with a shortened SID.
    EXPECT_FALSE(FileExists(Base()));
    EXPECT_TRUE(trace.Contains(L"m_tszIniDir too long @ CopyIniFiles"));
}

struct UwpCase {
    const char* name;
    bool copyExists;
    const char* awake;     // null: key missing
    const char* fourZone;  // null: key missing
    int seedAge;           // seed's time against the copy's: +1 newer, 0 equal, -1 older
    const char* forceCopy;
    uint32_t support;
    unsigned modelType;
    bool reseeded;
};

TEST_F(FolderTest, UwpFolderIsReseededByItsRules)
{
    const UwpCase cases[] = {
        {"copy missing", false, nullptr, nullptr, +1, nullptr, 1, 1, true},
        {"awake 1, seed newer, no force, 4ZONE 1", true, "1", "1", +1, "0", 1, 1, false},
        {"the same without 4ZONE", true, "1", nullptr, +1, "0", 1, 1, true},
        {"awake missing with support: times not looked at", true, nullptr, "1", -1, nullptr, 1, 1, true},
        {"awake missing without support", true, nullptr, "1", -1, nullptr, 0, 1, false},
        {"awake 7 with support", true, "7", "1", 0, nullptr, 1, 2, true},
        {"seed newer and forced", true, "0", "1", +1, "1", 1, 1, true},
        {"seed older though forced", true, "1", "1", -1, "1", 1, 1, false},
        {"equal times though forced", true, "1", "0", 0, "1", 1, 1, false},
        {"copy missing without support", false, nullptr, nullptr, +1, nullptr, 0, 3, true},
        {"copy missing, support, model type 3", false, nullptr, nullptr, +1, nullptr, 1, 3, true},
    };
    for (const UwpCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir fresh;
        sources.appData = fresh.File(L"ProgramData");
        sources.program = fresh.File(L"Program") + L"\\";
        std::wstring program = fresh.File(L"Program");
        std::wstring uwpDir = sources.appData + L"\\VORN\\VYLLumoCore\\UWPIni";
        MakeFolder(program);
        MakeFolder(uwpDir);
        settings.support = c.support;
        settings.modelType = c.modelType;

        std::string force = c.forceCopy ? std::string("[Profile]\r\nForceCopy=") + c.forceCopy + "\r\n" : "";
        WriteText(program + L"\\Basic.ini", Marked("seed", force));
        for (int n = 0; n < 3; ++n) {
            std::wstring number = std::to_wstring(n);
            WriteText(program + L"\\Custom" + number + L".Ini", Marked("seed", "[Config]\r\nallIndex=5\r\n"));
            WriteText(program + L"\\Custom" + number + L"_20.ini", Marked("seed20", "[Config]\r\nallIndex=6\r\n"));
        }
        WriteText(program + L"\\Basic_20.ini", Marked("seed20"));
        WriteText(program + L"\\Lumo.ini", Marked("seedlang"));

        std::wstring copy = uwpDir + L"\\Basic.ini";
        WriteText(uwpDir + L"\\custom7.ini", Marked("stale"));
        WriteText(uwpDir + L"\\lumo_old.ini", Marked("stale"));
        if (c.copyExists) {
            std::string text = Marked("copy");
            if (c.awake) text += std::string("[Setting]\r\nAWAKE=") + c.awake + "\r\n";
            if (c.fourZone) text += std::string("[Config]\r\n4ZONE=") + c.fourZone + "\r\n";
            WriteText(copy, text);
            SetWriteTime(copy, kJan2020);
            SetWriteTime(program + L"\\Basic.ini", kJan2020 + c.seedAge * static_cast<LONGLONG>(kDay));
        }
        std::string before = ReadText(copy);

        std::wstring iniDir = Run(true);
        EXPECT_EQ(iniDir, uwpDir);
        if (!c.reseeded) {
            EXPECT_EQ(ReadText(copy), before);
            EXPECT_TRUE(FileExists(uwpDir + L"\\custom7.ini"));
            EXPECT_FALSE(FileExists(uwpDir + L"\\Custom0.Ini"));
            continue;
        }
        const char* seed = c.support ? "seed" : "seed20";
        EXPECT_FALSE(FileExists(uwpDir + L"\\custom7.ini"));
        EXPECT_FALSE(FileExists(uwpDir + L"\\lumo_old.ini"));
        EXPECT_EQ(MarkOf(copy), seed);
        for (const wchar_t* file : {L"\\Custom0.Ini", L"\\Custom1.Ini", L"\\Custom2.Ini"})
            EXPECT_EQ(MarkOf(uwpDir + file), seed) << file;
        EXPECT_EQ(MarkOf(uwpDir + L"\\Lumo.ini"), "seedlang");
        EXPECT_TRUE(EveryoneMayWrite(uwpDir + L"\\Lumo.ini"));

        bool modelOne = c.modelType == 1;
        EXPECT_EQ(IniValue(copy, L"Config", L"Apply"), "0");
        EXPECT_EQ(IniValue(copy, L"Config", L"ApplyMode"), "0");
        EXPECT_EQ(IniValue(copy, L"Sync", L"Support"), c.support ? "1" : "0");
        EXPECT_EQ(IniValue(copy, L"Config", L"4ZONE"), modelOne ? "0" : "1");
        EXPECT_EQ(IniValue(copy, L"Config", L"ApplyEff"), !c.support ? "0" : (modelOne ? "2" : "3"));
        EXPECT_EQ(IniValue(uwpDir + L"\\Custom0.Ini", L"Config", L"allIndex"),
                  !c.support ? "6" : (modelOne ? "2" : "5"));
    }
}

TEST_F(FolderTest, RemoveFilesTakesOnlyWhatMatches)
{
    std::wstring folder = root.File(L"profile");
    MakeFolder(folder + L"\\basicdir.ini");
    WriteText(folder + L"\\Basic.ini", "a");
    WriteText(folder + L"\\basic_old.ini", "b");
    SetFileAttributesW((folder + L"\\basic_old.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteText(folder + L"\\Custom0.Ini", "c");
    WriteText(folder + L"\\basicdir.ini\\basic.ini", "d");

    RemoveFiles(folder.c_str(), L"basic*.ini", false);
    EXPECT_FALSE(FileExists(folder + L"\\Basic.ini"));
    EXPECT_FALSE(FileExists(folder + L"\\basic_old.ini"));
    EXPECT_TRUE(FileExists(folder + L"\\Custom0.Ini"));
    EXPECT_TRUE(FileExists(folder + L"\\basicdir.ini\\basic.ini"));

    RemoveFiles(folder.c_str(), L"*.*", true);
    EXPECT_FALSE(FileExists(folder));
    // A folder that is not there is left as it is.
    RemoveFiles(folder.c_str(), L"*.*", true);
    EXPECT_FALSE(FileExists(folder));
}

TEST_F(FolderTest, RecursiveRemovalEmptiesTheWholeTree)
{
    std::wstring data = Base();
    MakeFolder(data + L"\\S-1\\deep\\deeper");
    MakeFolder(data + L"\\UWPIni");
    WriteText(data + L"\\VYLLumoCore.log", "log");
    WriteText(data + L"\\S-1\\Basic.ini", "a");
    WriteText(data + L"\\S-1\\deep\\deeper\\x.bin", "b");
    SetFileAttributesW((data + L"\\S-1\\deep\\deeper\\x.bin").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    WriteText(data + L"\\UWPIni\\Lumo.ini", "c");

    RemoveFiles(data.c_str(), L"*.*", true);
    EXPECT_FALSE(FileExists(data));
    EXPECT_TRUE(IsFolder(sources.appData + L"\\VORN"));
}

TEST_F(FolderTest, RecursiveRemovalRemovesLinksNotWhatIsBehindThem)
{
    std::wstring outside = root.File(L"outside");
    MakeFolder(outside + L"\\inner");
    WriteText(outside + L"\\keep.txt", "keep");
    WriteText(outside + L"\\inner\\keep.ini", "keep");
    std::wstring data = root.File(L"data");
    MakeFolder(data + L"\\S-1");
    WriteText(data + L"\\S-1\\Basic.ini", "gone");
    std::string why;
    const FolderLink inner = MakeFolderLink(data + L"\\S-1\\link", outside, L"../../outside", why);
    if (inner == FolderLink::NoWayHere) GTEST_SKIP() << why;
    ASSERT_TRUE(inner == FolderLink::Made) << why;
    ASSERT_TRUE(MakeFolderLink(root.File(L"toplink"), outside, L"outside", why) == FolderLink::Made) << why;

    profiletest::TraceLog trace;
    RemoveFiles(data.c_str(), L"*.*", true);
    RemoveFiles(root.File(L"toplink").c_str(), L"*.*", true);
    EXPECT_FALSE(FileExists(data + L"\\S-1\\Basic.ini"));
    EXPECT_TRUE(FileExists(outside + L"\\keep.txt"));
    EXPECT_TRUE(FileExists(outside + L"\\inner\\keep.ini"));
    EXPECT_TRUE(trace.Contains(L"link, not walked @ RemoveFiles"));
}

TEST_F(FolderTest, RemovalLeavesAnEntryWhosePathWouldNotFit)
{
    // folder\<55 k>.ini is 260 characters; cut to 259 it names the decoy.
    std::wstring folder = root.Path() + L"\\";
    folder += std::wstring(200 - folder.size(), L'f');
    MakeFolder(folder);
    std::wstring longName = std::wstring(55, L'k') + L".ini";
    std::wstring decoy = std::wstring(55, L'k') + L".in";
    ASSERT_EQ(folder.size() + 1 + longName.size(), 260u);
    WriteText(L"\\\\?\\" + folder + L"\\" + longName, "long");
    WriteText(folder + L"\\" + decoy, "decoy");
    WriteText(folder + L"\\kshort.ini", "short");

    profiletest::TraceLog trace;
    RemoveFiles(folder.c_str(), L"k*.ini", false);
    EXPECT_TRUE(FileExists(folder + L"\\" + decoy));
    EXPECT_FALSE(FileExists(folder + L"\\kshort.ini"));
    EXPECT_TRUE(trace.Contains(L"path too long @ RemoveFiles"));
    DeleteFileW((L"\\\\?\\" + folder + L"\\" + longName).c_str());
}

TEST_F(FolderTest, CopyFilesCopiesMatchingFilesAndFolders)
{
    std::wstring source = root.File(L"src");
    MakeFolder(source + L"\\basic_sub.ini");
    MakeFolder(source + L"\\other");
    WriteText(source + L"\\Basic.ini", "new basic");
    WriteText(source + L"\\basic_x.ini", "x");
    WriteText(source + L"\\Custom0.Ini", "custom");
    WriteText(source + L"\\basic_sub.ini\\basic_inner.ini", "inner");
    WriteText(source + L"\\basic_sub.ini\\readme.txt", "no");
    WriteText(source + L"\\other\\basic.ini", "no");
    // The target's parents are made too.
    std::wstring target = root.File(L"a\\b\\c");

    CopyFiles(source.c_str(), L"basic*.ini", target.c_str(), false);
    EXPECT_EQ(ReadText(target + L"\\Basic.ini"), "new basic");
    EXPECT_EQ(ReadText(target + L"\\basic_x.ini"), "x");
    EXPECT_EQ(ReadText(target + L"\\basic_sub.ini\\basic_inner.ini"), "inner");
    EXPECT_FALSE(FileExists(target + L"\\Custom0.Ini"));
    EXPECT_FALSE(FileExists(target + L"\\basic_sub.ini\\readme.txt"));
    EXPECT_FALSE(FileExists(target + L"\\other"));
    EXPECT_TRUE(EveryoneMayWrite(target + L"\\Basic.ini"));
    EXPECT_TRUE(EveryoneMayWrite(target + L"\\basic_sub.ini\\basic_inner.ini"));
    EXPECT_FALSE(EveryoneMayWrite(source + L"\\Basic.ini"));

    // Copies overwrite.
    WriteText(source + L"\\Basic.ini", "newer basic");
    CopyFiles(source.c_str(), L"basic*.ini", target.c_str(), false);
    EXPECT_EQ(ReadText(target + L"\\Basic.ini"), "newer basic");
}

TEST_F(FolderTest, CopyOverAFileJustReadIsReadAfresh)
{
    // The platform's INI cache knows a file by path and write time, and a
    // copy keeps its source's time.
    std::wstring source = root.File(L"src");
    std::wstring target = root.File(L"dst");
    MakeFolder(source);
    MakeFolder(target);
    WriteText(target + L"\\Basic.ini", Marked("old"));
    WriteText(source + L"\\Basic.ini", Marked("new"));
    SetWriteTime(target + L"\\Basic.ini", kJan2020);
    SetWriteTime(source + L"\\Basic.ini", kJan2020);
    ASSERT_EQ(MarkOf(target + L"\\Basic.ini"), "old");

    CopyFiles(source.c_str(), L"basic*.ini", target.c_str(), false);
    EXPECT_EQ(MarkOf(target + L"\\Basic.ini"), "new");
    WriteText(source + L"\\Basic_20.ini", Marked("twenty"));
    SetWriteTime(source + L"\\Basic_20.ini", kJan2020);
    CopyOneFile(source.c_str(), L"Basic_20.ini", target.c_str(), L"Basic.ini");
    EXPECT_EQ(MarkOf(target + L"\\Basic.ini"), "twenty");
}

TEST_F(FolderTest, OneFileCopyRenamesAndSkipsAMissingSource)
{
    std::wstring target = root.File(L"uwp");
    CopyOneFile(ProgramDir().c_str(), L"Basic_20.ini", target.c_str(), L"Basic.Ini");
    EXPECT_FALSE(FileExists(target));

    WriteText(ProgramDir() + L"\\Basic_20.ini", "twenty");
    profiletest::ScopedIniDir folder(target);
    CopyFiles(sources.program.c_str(), L"Basic_20.ini", L"Basic.Ini");
    EXPECT_EQ(ReadText(target + L"\\Basic.Ini"), "twenty");
    EXPECT_TRUE(EveryoneMayWrite(target + L"\\Basic.Ini"));
    WriteText(ProgramDir() + L"\\Basic_20.ini", "twenty-one");
    CopyFiles(sources.program.c_str(), L"Basic_20.ini", L"Basic.Ini");
    EXPECT_EQ(ReadText(target + L"\\Basic.Ini"), "twenty-one");
}

TEST_F(FolderTest, PermissionOpensTheFileToEverybody)
{
    std::wstring file = root.File(L"plain.ini");
    WriteText(file, "x");
    EXPECT_FALSE(EveryoneMayWrite(file));
    EXPECT_TRUE(SetFilePermission(file.c_str()));
    EXPECT_TRUE(EveryoneMayWrite(file));
    EXPECT_FALSE(SetFilePermission(nullptr));
}

TEST_F(FolderTest, FileExistsOnlyForAnOpenableFile)
{
    std::wstring file = root.File(L"here.ini");
    WriteText(file, "x");
    EXPECT_TRUE(CheckFileExist(file.c_str()));
    EXPECT_FALSE(CheckFileExist(root.File(L"missing.ini").c_str()));
    EXPECT_FALSE(CheckFileExist(nullptr));
}

TEST_F(FolderTest, UwpModeFollowsTheMarkerFile)
{
    EXPECT_FALSE(IsUWPProgramFolder(sources.program.c_str()));
    WriteText(ProgramDir() + L"\\UWP.ini", "");
    EXPECT_TRUE(IsUWPProgramFolder(sources.program.c_str()));
    EXPECT_FALSE(IsUWPProgramFolder(L""));
}

TEST(UserSid, IsTheTokenUsersSidAsText)
{
    wchar_t text[MAX_PATH] = {};
    ASSERT_TRUE(GetUserSIDString(text, ARRAYSIZE(text)));
    EXPECT_EQ(std::wstring(text).rfind(L"S-1-", 0), 0u) << text;

    PSID parsed = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidW(text, &parsed));
    platform::UniqueLocalMem parsedOwner(parsed);
    platform::UniqueHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()));
    std::vector<ULONG_PTR> buffer(64);
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token.Get(), TokenUser, buffer.data(),
                                    static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR)), &size));
    EXPECT_TRUE(EqualSid(parsed, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid));

    wchar_t tiny[5] = L"old";
    EXPECT_FALSE(GetUserSIDString(tiny, ARRAYSIZE(tiny)));
    EXPECT_STREQ(tiny, L"");
}

TEST(PathJoin, BoundsTheResultAndKeepsOneSeparator)
{
    wchar_t out[13];
    EXPECT_TRUE(JoinPath(out, ARRAYSIZE(out), L"C:\\ab", L"cd.ini", L"test"));
    EXPECT_STREQ(out, L"C:\\ab\\cd.ini");
    EXPECT_TRUE(JoinPath(out, ARRAYSIZE(out), L"C:\\ab\\", L"cd.ini", L"test"));
    EXPECT_STREQ(out, L"C:\\ab\\cd.ini");
    EXPECT_FALSE(JoinPath(out, ARRAYSIZE(out), L"C:\\abc", L"cd.ini", L"test"));
    EXPECT_STREQ(out, L"");

    wchar_t base[MAX_PATH];
    std::wstring appData(MAX_PATH - 17, L'a');
    EXPECT_FALSE(BuildDataFolder(appData.c_str(), base, ARRAYSIZE(base)));
    appData.pop_back();
    EXPECT_TRUE(BuildDataFolder(appData.c_str(), base, ARRAYSIZE(base)));
    EXPECT_EQ(std::wstring(base), appData + L"\\VORN\\VYLLumoCore");
}
