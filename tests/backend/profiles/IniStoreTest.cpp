#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "backend/profiles/IniStore.h"
#include "tests/backend/profiles/ProfileTestSupport.h"

using profiletest::ReadText;
using profiletest::WriteText;
using testsupport::FileExists;
using testsupport::TempDir;

namespace {

// Every field of every profile distinct, a third of them negative, and the
// 32-bit extremes in two places.
ProfileTable DistinctTable()
{
    ProfileTable table{};
    for (int p = 0; p < kProfileCount; ++p) {
        int32_t* words = reinterpret_cast<int32_t*>(&table[p]);
        const size_t count = sizeof(CustomProfile) / sizeof(int32_t);
        for (size_t i = 0; i < count; ++i) {
            int32_t value = (p + 1) * 100000 + static_cast<int32_t>(i);
            words[i] = i % 3 == 1 ? -value : value;
        }
    }
    table[1].qwerData[4].StrobingRandom = INT32_MIN;
    table[2].fourData[0].ColorR = INT32_MAX;
    return table;
}

bool SameProfile(const CustomProfile& a, const CustomProfile& b)
{
    return std::memcmp(&a, &b, sizeof(CustomProfile)) == 0;
}

std::vector<std::string> SectionsInFileOrder(const std::string& text)
{
    std::vector<std::string> sections;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            sections.push_back(line.substr(1, line.size() - 2));
    }
    return sections;
}

size_t CountKeyLines(const std::string& text)
{
    size_t keys = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.find('=') != std::string::npos) ++keys;
    return keys;
}

CustomProfile DefaultProfile()
{
    CustomProfile profile{};
    for (EffectData& e : profile.allData) e = DefaultEffectData();
    for (EffectData& e : profile.wasdData) e = DefaultEffectData();
    for (EffectData& e : profile.qwerData) e = DefaultEffectData();
    for (EffectData& e : profile.fourData) e = DefaultEffectData();
    return profile;
}

// A folder name of exactly the given length inside the temp folder.
std::wstring FolderOfLength(const TempDir& dir, size_t length)
{
    std::wstring folder = dir.Path() + L"\\";
    folder += std::wstring(length - folder.size(), L'd');
    profiletest::MakeFolder(folder);
    return folder;
}

class IniStoreTest : public testing::Test {
protected:
    TempDir dir;
};

}  // namespace

TEST(IniNumbers, DecimalReadsLikeTheRuntimeButClamps)
{
    const struct {
        const wchar_t* text;
        int32_t value;
    } cases[] = {
        {L"12", 12},
        {L" 12abc", 12},
        {L"abc", 0},
        {L"", 0},
        {L"\t-7", -7},
        {L"+5", 5},
        {L"- 5", 0},
        {L"0x10", 0},
        {L"2147483647", INT32_MAX},
        {L"2147483648", INT32_MAX},
        {L"-2147483648", INT32_MIN},
        {L"-2147483649", INT32_MIN},
        {L"99999999999999999999999999", INT32_MAX},
        {L"-99999999999999999999999999", INT32_MIN},
        {L"0000000000000000000042", 42},
        // Only ASCII counts: full-width digits, signs and blanks end the number.
        {L"\xFF12", 0},
        {L"1\xFF12", 1},
        {L"\xFF0D" L"3", 0},
        {L"\x3000" L"5", 0},
        {L"\x0662", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIniInt(c.text), c.value) << c.text;
    EXPECT_EQ(ParseIniInt(nullptr), 0);
}

TEST(IniNumbers, RecentColoursAreSixHexDigitsReadOpaque)
{
    const struct {
        const wchar_t* text;
        uint32_t argb;
    } cases[] = {
        {L"00FF80", 0xFF00FF80u}, {L"ff0000", 0xFFFF0000u}, {L"", 0xFF000000u},
        {L"80", 0xFF000080u},     {L"zz", 0xFF000000u},     {L"FFFFFFFFFFFF", 0xFFFFFFFFu},
    };
    for (const auto& c : cases) EXPECT_EQ(RecentColorFromText(c.text), c.argb) << c.text;
    EXPECT_EQ(ParseIniHex(L"\xFF11\xFF10"), 0);
    EXPECT_EQ(ParseIniHex(L"A\xFF21"), 0xA);
    EXPECT_EQ(ParseIniHex(L"FFFFFFFFFFFF"), INT32_MAX);
    EXPECT_EQ(ParseIniHex(L"-FFFFFFFFFFFF"), INT32_MIN);

    wchar_t text[16];
    ASSERT_TRUE(RecentColorText(0xFF00FF80u, text, ARRAYSIZE(text)));
    EXPECT_STREQ(text, L"00FF80");
    ASSERT_TRUE(RecentColorText(0x12ABCDEFu, text, ARRAYSIZE(text)));
    EXPECT_STREQ(text, L"ABCDEF");
}

TEST_F(IniStoreTest, WholeTableRoundTripsThroughTheFiles)
{
    const ProfileTable saved = DistinctTable();
    for (int n = 0; n < kProfileCount; ++n) ASSERT_TRUE(SaveProfile(dir.Path().c_str(), n, saved[n]));

    ProfileTable loaded{};
    for (int n = 0; n < kProfileCount; ++n) {
        ASSERT_TRUE(LoadProfile(dir.Path().c_str(), n, loaded[n]));
        EXPECT_TRUE(SameProfile(loaded[n], saved[n])) << "profile " << n;
    }
    EXPECT_EQ(loaded[1].qwerData[4].StrobingRandom, INT32_MIN);
    EXPECT_EQ(loaded[0].modeIndex, 100000);
    EXPECT_EQ(loaded[0].allIndex, -100001);

    // Every key once, sections in file order (all, four, WASD, QWER), "%d".
    std::string text = ReadText(dir.File(L"Custom2.Ini"));
    std::vector<std::string> expected = {"Config"};
    for (const char* list : {"allData", "fourData", "wasdData", "qwerData"})
        for (int k = 0; k < (std::string(list) == "allData" ? 7 : 5); ++k) expected.push_back(list + std::to_string(k));
    EXPECT_EQ(SectionsInFileOrder(text), expected);
    EXPECT_EQ(CountKeyLines(text), 6u + 22u * 27u);
    EXPECT_NE(text.find("allIndex=-300001\r\n"), std::string::npos);
    EXPECT_NE(text.find("wasdIndex=300002\r\n"), std::string::npos);
    EXPECT_NE(text.find("ColorR=2147483647\r\n"), std::string::npos);
}

TEST_F(IniStoreTest, MissingFileLoadsDefaultsOverWhateverWasThere)
{
    CustomProfile profile = DistinctTable()[0];
    ASSERT_TRUE(LoadProfile(dir.Path().c_str(), 1, profile));
    EXPECT_TRUE(SameProfile(profile, DefaultProfile()));
    EXPECT_FALSE(FileExists(dir.File(L"Custom1.Ini")));
}

TEST_F(IniStoreTest, MissingKeysTakeTheirDefaults)
{
    WriteText(dir.File(L"Custom0.Ini"),
              "[Config]\r\nallIndex=3\r\n[allData2]\r\nColorG=7\r\nSpeedType=3\r\n[qwerData4]\r\nTemperatureL=-5\r\n");
    CustomProfile profile{};
    ASSERT_TRUE(LoadProfile(dir.Path().c_str(), 0, profile));

    CustomProfile expected = DefaultProfile();
    expected.allIndex = 3;
    expected.allData[2].ColorG = 7;
    expected.allData[2].SpeedType = 3;
    expected.qwerData[4].TemperatureL = -5;
    EXPECT_TRUE(SameProfile(profile, expected));
}

TEST_F(IniStoreTest, NamesMatchWithoutRegardToCase)
{
    std::wstring basic = dir.File(L"Basic.ini");
    ASSERT_TRUE(WriteIniInt(basic.c_str(), L"Config", L"ApplyEFF", 4));
    EXPECT_EQ(ReadIniInt(basic.c_str(), L"Config", L"ApplyEff", L"-1"), 4);
    EXPECT_EQ(ReadIniInt(basic.c_str(), L"Config", L"Apply", L"-1"), -1);

    WriteText(dir.File(L"Custom1.Ini"), "[CONFIG]\r\nALLINDEX=5\r\n[ALLDATA0]\r\ncolorb=9\r\n");
    CustomProfile profile{};
    ASSERT_TRUE(LoadProfile(dir.Path().c_str(), 1, profile));
    EXPECT_EQ(profile.allIndex, 5);
    EXPECT_EQ(profile.allData[0].ColorB, 9);
}

TEST_F(IniStoreTest, OutOfRangeNumbersClampAndSelectNoRecord)
{
    WriteText(dir.File(L"Custom0.Ini"),
              "[Config]\r\nallIndex=99999999999\r\nwasdIndex=-99999999999\r\nfourIndex=4294967300\r\n"
              "[fourData1]\r\nColorR=12345678901234567890\r\n");
    CustomProfile profile{};
    ASSERT_TRUE(LoadProfile(dir.Path().c_str(), 0, profile));
    EXPECT_EQ(profile.allIndex, INT32_MAX);
    EXPECT_EQ(profile.wasdIndex, INT32_MIN);
    // Not wrapped round to a small index that would select a record.
    EXPECT_EQ(profile.fourIndex, INT32_MAX);
    EXPECT_EQ(profile.fourData[1].ColorR, INT32_MAX);
    EXPECT_EQ(RecordAt(profile.allData, kAllZoneEffectCount, profile.allIndex), nullptr);
    EXPECT_EQ(RecordAt(profile.wasdData, kZoneEffectCount, profile.wasdIndex), nullptr);
}

TEST_F(IniStoreTest, ProfileNumbersOutsideTheTableAreRefused)
{
    profiletest::ScopedIniDir folder(dir.Path());
    const ProfileTable before = DistinctTable();
    g_CustomProfiles = before;
    EffectData record = DefaultEffectData();
    for (int n : {-1, 3, 9, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(LoadCustomEffectsFromIni(n)) << n;
        EXPECT_FALSE(SaveCustomEffect2Ini(n)) << n;
        EXPECT_FALSE(LoadSingleEffectDataFromIni(n, &record, L"allData0")) << n;
        EXPECT_FALSE(SaveSingleEffectData2Ini(n, L"allData0", record)) << n;
        CustomProfile profile{};
        EXPECT_FALSE(LoadProfile(dir.Path().c_str(), n, profile)) << n;
        EXPECT_FALSE(SaveProfile(dir.Path().c_str(), n, profile)) << n;
    }
    for (int n = 0; n < kProfileCount; ++n) EXPECT_TRUE(SameProfile(g_CustomProfiles[n], before[n]));
    EXPECT_TRUE(profiletest::Listing(dir.Path()).empty());
    g_CustomProfiles = {};
}

TEST_F(IniStoreTest, ProgramEntryPointsUseTheProfileFolderAndTable)
{
    profiletest::ScopedIniDir folder(dir.Path());
    const ProfileTable saved = DistinctTable();
    g_CustomProfiles = saved;
    ASSERT_TRUE(SaveCustomEffect2Ini(1));
    ASSERT_TRUE(FileExists(dir.File(L"Custom1.Ini")));

    g_CustomProfiles = {};
    ASSERT_TRUE(LoadCustomEffectsFromIni(1));
    EXPECT_TRUE(SameProfile(g_CustomProfiles[1], saved[1]));
    // Only the profile asked for is loaded.
    EXPECT_EQ(g_CustomProfiles[0].modeIndex, 0);

    EffectData record = saved[2].fourData[3];
    ASSERT_TRUE(SaveSingleEffectData2Ini(2, L"qwerData4", record));
    EffectData back{};
    ASSERT_TRUE(LoadSingleEffectDataFromIni(2, &back, L"qwerData4"));
    EXPECT_EQ(std::memcmp(&back, &record, sizeof(EffectData)), 0);
    EXPECT_FALSE(LoadSingleEffectDataFromIni(2, nullptr, L"qwerData4"));
    g_CustomProfiles = {};
}

TEST_F(IniStoreTest, PathThatWouldNotFitIsRefusedNotCut)
{
    // "\Custom0.Ini" is 12 characters: 247 still fits in 260 with the end mark.
    std::wstring fits = FolderOfLength(dir, 247);
    wchar_t path[kIniPathCapacity] = L"stale";
    ASSERT_TRUE(BuildCustomIniPath(fits.c_str(), 0, path, ARRAYSIZE(path)));
    EXPECT_EQ(std::wstring(path), fits + L"\\Custom0.Ini");
    ASSERT_TRUE(WriteIniInt(path, L"Config", L"allIndex", 1));
    EXPECT_EQ(profiletest::Listing(fits), std::vector<std::wstring>{L"Custom0.Ini"});

    TempDir other;
    std::wstring tooLong = FolderOfLength(other, 248);
    profiletest::TraceLog trace;
    EXPECT_FALSE(BuildCustomIniPath(tooLong.c_str(), 0, path, ARRAYSIZE(path)));
    EXPECT_STREQ(path, L"");
    EXPECT_FALSE(SaveProfile(tooLong.c_str(), 0, DefaultProfile()));
    CustomProfile profile = DistinctTable()[0];
    EXPECT_FALSE(LoadProfile(tooLong.c_str(), 0, profile));
    EXPECT_TRUE(SameProfile(profile, DistinctTable()[0]));
    // A cut path would have written "Custom0.In" there.
    EXPECT_TRUE(profiletest::Listing(tooLong).empty());
    EXPECT_TRUE(trace.Contains(L"path too long @ BuildCustomIniPath"));

    std::wstring basicTooLong = FolderOfLength(other, 250);
    EXPECT_FALSE(BuildBasicIniPath(basicTooLong.c_str(), path, ARRAYSIZE(path)));
    EXPECT_STREQ(path, L"");
    EXPECT_FALSE(BuildBasicIniPath(L"", path, ARRAYSIZE(path)));
}

TEST_F(IniStoreTest, RecentColoursKeepTheirOrderAndDigits)
{
    std::wstring basic = dir.File(L"Basic.ini");
    const std::vector<uint32_t> newestFirst = {0xFF00FF80u, 0xFF123456u, 0xFFABCDEFu};
    ASSERT_TRUE(SaveRecentColors(basic.c_str(), newestFirst));
    std::string text = ReadText(basic);
    EXPECT_NE(text.find("Count=3\r\nColor0=ABCDEF\r\nColor1=123456\r\nColor2=00FF80\r\n"), std::string::npos) << text;
    EXPECT_EQ(LoadRecentColors(basic.c_str()), (std::vector<uint32_t>{0xFFABCDEFu, 0xFF123456u, 0xFF00FF80u}));
}

TEST_F(IniStoreTest, RecentColourCountFromTheFileIsBounded)
{
    std::wstring basic = dir.File(L"Basic.ini");
    std::string text = "[RecentColor]\r\nCount=15\r\n";
    for (int i = 0; i < 15; ++i) text += "Color" + std::to_string(i) + "=0000" + (i < 10 ? "0" : "") + std::to_string(i) + "\r\n";
    WriteText(basic, text);
    std::vector<uint32_t> colors = LoadRecentColors(basic.c_str());
    ASSERT_EQ(colors.size(), 10u);
    EXPECT_EQ(colors.front(), 0xFF000005u);
    EXPECT_EQ(colors.back(), 0xFF000014u);

    for (const char* count : {"-3", "0", "abc", "-2147483648"}) {
        WriteText(basic, std::string("[RecentColor]\r\nCount=") + count + "\r\nColor0=FFFFFF\r\n");
        EXPECT_TRUE(LoadRecentColors(basic.c_str()).empty()) << count;
    }
    // A huge count reads only the last ten keys, which are missing here.
    WriteText(basic, "[RecentColor]\r\nCount=99999999999\r\nColor0=FFFFFF\r\n");
    EXPECT_TRUE(LoadRecentColors(basic.c_str()).empty());
}

TEST(IniNumbers, OnlyAsciiHexDigitsMakeAStoredRecentColour)
{
    const struct {
        const wchar_t* text;
        bool read;
        uint32_t argb;
    } cases[] = {
        {L"00FF80", true, 0xFF00FF80u},
        {L" 0000ff\t", true, 0xFF0000FFu},
        {L"\xFF10\xFF10\xFF10\xFF10\xFF10\xFF10", false, 0},  // full-width zeros
        {L"\xFF26\xFF26\xFF10\xFF10\xFF10\xFF10", false, 0},  // full-width F
        {L"\xFF41\xFF42\xFF43", false, 0},                    // full-width a, b, c
        {L"00FF8\xFF10", false, 0},
        {L"\x3000" L"00FF80", false, 0},
        {L"", false, 0},
    };
    for (const auto& c : cases) {
        uint32_t argb = 0;
        EXPECT_EQ(ParseRecentColorText(c.text, argb), c.read) << static_cast<const void*>(c.text);
        if (c.read) EXPECT_EQ(argb, c.argb);
    }
}

TEST_F(IniStoreTest, HandEditedFullWidthNumbersAreNotRead)
{
    // Saved as Unicode, so the full-width characters reach the reader as they are.
    std::wstring basic = dir.File(L"Basic.ini");
    testsupport::WriteUtf16File(basic, L"[Config]\r\nApplyEff=\xFF12\r\nApply= \xFF11\r\n"
                                       L"[RecentColor]\r\nCount=3\r\nColor0=00FF00\r\n"
                                       L"Color1=\xFF10\xFF10\xFF10\xFF10\xFF10\xFF10\r\nColor2=FF0000\r\n");
    EXPECT_EQ(ReadIniInt(basic.c_str(), L"Config", L"ApplyEff", L"-1"), 0);
    EXPECT_EQ(ReadIniInt(basic.c_str(), L"Config", L"Apply", L""), 0);
    EXPECT_EQ(LoadRecentColors(basic.c_str()), (std::vector<uint32_t>{0xFF00FF00u, 0xFFFF0000u}))
        << "the full-width colour is skipped, not read as black";
}

TEST_F(IniStoreTest, EachRecentColourKeyIsSeenInTurnWithItsStoredValue)
{
    std::wstring basic = dir.File(L"Basic.ini");
    WriteText(basic, "[RecentColor]\r\nCount=3\r\nColor0=00FF00\r\nColor1=red\r\nColor2=0000FF\r\n");
    std::vector<std::wstring> seen;
    const std::vector<uint32_t> colors =
        LoadRecentColors(basic.c_str(), [&seen](const wchar_t* key, const wchar_t* value, const uint32_t* color) {
            wchar_t text[16] = L"skipped";
            if (color != nullptr) swprintf(text, 16, L"%08X", *color);
            seen.push_back(std::wstring(key) + L"=" + value + L" " + text);
        });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Color0=00FF00 FF00FF00", L"Color1=red skipped",
                                               L"Color2=0000FF FF0000FF"}));
    EXPECT_EQ(colors, (std::vector<uint32_t>{0xFF00FF00u, 0xFF0000FFu}));
}

TEST_F(IniStoreTest, MalformedOrMissingRecentColoursAreSkipped)
{
    std::wstring basic = dir.File(L"Basic.ini");
    WriteText(basic,
              "[RecentColor]\r\nCount=7\r\nColor0=00FF00\r\nColor1=red\r\nColor2=\r\nColor3=12G456\r\n"
              "Color4= 0000FF \r\nColor6=FF0000\r\n");
    EXPECT_EQ(LoadRecentColors(basic.c_str()), (std::vector<uint32_t>{0xFF00FF00u, 0xFF0000FFu, 0xFFFF0000u}));
}
