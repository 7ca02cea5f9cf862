#include <gtest/gtest.h>

#include <string>

#include "backend/profiles/IniSection.h"
#include "backend/profiles/IniStore.h"
#include "tests/backend/profiles/ProfileTestSupport.h"

using profiletest::WriteText;
using testsupport::TempDir;

namespace {

std::wstring RuntimeValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                          const wchar_t* defaultText, DWORD capacity)
{
    std::wstring value(capacity, L'\0');
    const DWORD length = GetPrivateProfileStringW(section, key, defaultText, value.data(), capacity, path.c_str());
    value.resize(length);
    return value;
}

}  // namespace

// A section read in one call gives every key what the key-by-key runtime
// call gives: case, blanks, quotes, duplicates, empty and absent keys
// (no key of ours starts with the comment mark).
TEST(IniSection, ValuesMatchTheRuntimeKeyByKey)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Custom0.Ini");
    WriteText(path,
              "[allData0]\r\n"
              "ColorR=12\r\n"
              "  Speed  =  7  \r\n"
              "colorg=5\r\n"
              "ColorG=99\r\n"
              "Quoted=\"42\"\r\n"
              "Single='-3'\r\n"
              "HalfQuote=\"8\r\n"
              "Empty=\r\n"
              "NoEquals\r\n"
              "Long=123456789012345678901234567890\r\n"
              ";Comment=1\r\n"
              "[other]\r\n"
              "Mode=4\r\n"
              "[ALLDATA0]\r\n"
              "Brightness=6\r\n");
    IniSection section;
    ASSERT_TRUE(section.Load(path.c_str(), L"allData0"));
    const wchar_t* const keys[] = {L"ColorR", L"SPEED",    L"ColorG",   L"Quoted", L"Single",     L"HalfQuote",
                                   L"Empty",  L"NoEquals", L"Long",     L"Mode",   L"Brightness", L"Missing",
                                   L"Comment"};
    for (const wchar_t* key : keys) {
        for (const DWORD capacity : {DWORD(kIniValueCapacity), DWORD(6)}) {
            EXPECT_EQ(section.Value(key, L"-9", capacity), RuntimeValue(path, L"allData0", key, L"-9", capacity))
                << "key " << testing::PrintToString(std::wstring(key)) << " capacity " << capacity;
        }
    }
    EXPECT_EQ(section.Value(L"colorR", L"", kIniValueCapacity), L"12");
    EXPECT_EQ(section.Value(L"Mode", L"d", kIniValueCapacity), L"d");
}

TEST(IniSection, MissingFileOrSectionGivesTheDefaults)
{
    TempDir dir;
    IniSection section;
    ASSERT_TRUE(section.Load(dir.File(L"none.ini").c_str(), L"Config"));
    EXPECT_EQ(section.Value(L"Apply", L"3", kIniValueCapacity), L"3");

    const std::wstring path = dir.File(L"Basic.ini");
    WriteText(path, "[Config]\r\nApply=1\r\n");
    ASSERT_TRUE(section.Load(path.c_str(), L"Setting"));
    EXPECT_EQ(section.Value(L"Apply", L"", kIniValueCapacity), L"");
}

// A section too large for one read is refused, so the caller reads key by key.
TEST(IniSection, OversizedSectionIsRefused)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Big.ini");
    std::string text = "[big]\r\n";
    for (int i = 0; i < 4000; ++i) text += "Key" + std::to_string(i) + "=0123456789\r\n";
    WriteText(path, text);
    IniSection section;
    EXPECT_FALSE(section.Load(path.c_str(), L"big"));
    EXPECT_EQ(section.Value(L"Key1", L"x", kIniValueCapacity), L"x");
}
