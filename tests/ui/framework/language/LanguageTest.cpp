// Language choice, the language file's strings and the per-language layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"
#include "ui/framework/core/Control.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/language/LanguageLayout.h"
#include "ui/framework/scale/Scale.h"

namespace {

// Saves and restores the language and scale globals around each test.
class LanguageGlobals : public testing::Test {
protected:
    void SetUp() override
    {
        m_langUI = g_nLangIndexUI;
        m_scale = g_fUIScale;
        m_section = g_szLangSection;
        m_file = g_szLangFile;
    }
    void TearDown() override
    {
        g_nLangIndexUI = m_langUI;
        g_fUIScale = m_scale;
        wcscpy_s(g_szLangSection, m_section.c_str());
        wcscpy_s(g_szLangFile, m_file.c_str());
    }

    // A UTF-16LE language file with a byte-order mark, as the build writes it.
    std::wstring WriteLangFile(const std::wstring& text)
    {
        std::wstring path = m_dir.File(L"Lumo.ini");
        std::string bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        testsupport::WriteFileBytes(path, bytes);
        return path;
    }
    void Use(const std::wstring& file, const wchar_t* section)
    {
        wcscpy_s(g_szLangFile, file.c_str());
        wcscpy_s(g_szLangSection, section);
    }

    testsupport::TempDir m_dir;

private:
    int m_langUI = 0;
    float m_scale = 1.0f;
    std::wstring m_section, m_file;
};

TEST(LanguageChoice, UserUiLanguageSelectsIndexAndSection)
{
    struct Case {
        LANGID uiLanguage;
        int index;
        const wchar_t* section;
    } cases[] = {
        {1033, 1, L"English"},     {1024, 1, L"English"},    {1028, 2, L"CHT"},       {3076, 2, L"CHT"},
        {2052, 3, L"CHS"},         {1031, 5, L"German"},     {3079, 5, L"German"},    {2055, 5, L"German"},
        {1034, 6, L"Spanish"},     {2058, 6, L"Spanish"},    {3082, 6, L"Spanish"},   {1036, 7, L"French"},
        {2060, 7, L"French"},      {3084, 7, L"French"},     {1041, 9, L"Japanese"},  {1046, 11, L"Portuguese"},
        {2070, 12, L"Portuguese"}, {1049, 13, L"Russian"},   {1043, 17, L"Dutch"},    {2067, 17, L"Dutch"},
        {1042, 1, L"English"},     {1025, 1, L"English"},    {0, 1, L"English"},
    };
    wchar_t saved[kLangBufferChars];
    wcscpy_s(saved, g_szLangSection);
    for (const Case& c : cases) {
        int index = 0;
        SelectLanguageFor(index, c.uiLanguage);
        EXPECT_EQ(index, c.index) << c.uiLanguage;
        EXPECT_STREQ(g_szLangSection, c.section) << c.uiLanguage;
    }
    wcscpy_s(g_szLangSection, saved);
}

TEST(LanguageChoice, AGivenIndexIsKeptAndUnknownOnesReadEnglish)
{
    struct Case {
        int index;
        const wchar_t* section;
    } cases[] = {{4, L"English"}, {11, L"Portuguese"}, {12, L"Portuguese"}, {13, L"Russian"}, {3, L"CHS"},
                 {20, L"English"}, {-1, L"English"}};
    wchar_t saved[kLangBufferChars];
    wcscpy_s(saved, g_szLangSection);
    for (const Case& c : cases) {
        int index = c.index;
        // The UI language is ignored once an index was given.
        SelectLanguageFor(index, 2052);
        EXPECT_EQ(index, c.index);
        EXPECT_STREQ(g_szLangSection, c.section) << c.index;
    }
    wcscpy_s(g_szLangSection, saved);
}

TEST_F(LanguageGlobals, StringsComeFromTheChosenSectionOrAreEmpty)
{
    std::wstring file = WriteLangFile(
        L"[English]\r\nIDS_APPLY=Apply\r\nIDS_OK=OK\r\n[German]\r\nIDS_APPLY=\u00dcbernehmen\r\n");
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* expected;
    } cases[] = {
        {L"English", L"IDS_APPLY", L"Apply"},
        {L"German", L"IDS_APPLY", L"\u00dcbernehmen"},
        {L"German", L"IDS_OK", L""},       // missing key: empty, not the key
        {L"Russian", L"IDS_APPLY", L""},   // missing section
        {L"English", L"", L""},
        {L"English", nullptr, L""},        // null key would list the section's keys
    };
    for (const Case& c : cases) {
        Use(file, c.section);
        std::wstring text = L"stale";
        GetLangString(text, c.key);
        EXPECT_EQ(text, c.expected) << c.section;
        wchar_t buffer[kLangBufferChars];
        wmemset(buffer, L'x', kLangBufferChars);
        GetLangStringBuf(c.key, buffer);
        EXPECT_STREQ(buffer, c.expected);
    }
    Use(m_dir.File(L"Missing.ini"), L"English");
    EXPECT_EQ(GetLangString(L"IDS_APPLY"), L"");
}

TEST_F(LanguageGlobals, ALongTextIsCutToTheBuffer)
{
    std::wstring longText(400, L'a');
    Use(WriteLangFile(L"[English]\r\nIDS_LONG=" + longText + L"\r\n"), L"English");
    EXPECT_EQ(GetLangString(L"IDS_LONG"), std::wstring(kLangBufferChars - 1, L'a'));
    wchar_t buffer[kLangBufferChars];
    GetLangStringBuf(L"IDS_LONG", buffer);
    EXPECT_EQ(wcslen(buffer), kLangBufferChars - 1);
}

TEST_F(LanguageGlobals, LocalizedTextWrapsTheKeysTextInPrefixAndSuffix)
{
    Use(WriteLangFile(L"[English]\r\nIDS_INFO_TEMPO=Tempo\r\n"), L"English");
    EXPECT_EQ(LocalizedText(L"IDS_INFO_TEMPO", L"ignored", L"[ ", L" ]").ToString(), L"[ Tempo ]");
    LocalizedText missing(L"IDS_NONE", L"", L"<", L">");
    LocalizedText copy = missing;
    EXPECT_EQ(copy.ToString(), L"<>");
}

TEST_F(LanguageGlobals, TheBuiltLanguageFileBesideTheProgramIsRead)
{
    ASSERT_TRUE(InitLangFilePath());
    wchar_t folder[kLangBufferChars];
    ASSERT_TRUE(GetModuleDirectory(folder));
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    size_t folderLength = wcslen(folder);
    ASSERT_GT(folderLength, 0u);
    EXPECT_EQ(folder[folderLength - 1], L'\\');
    EXPECT_EQ(std::wstring(module).compare(0, folderLength, folder), 0);
    EXPECT_EQ(std::wstring(g_szLangFile), std::wstring(folder) + L"Lumo.ini");

    int index = 2;
    SelectLanguageFor(index, 0);
    EXPECT_EQ(GetLangString(L"IDS_APPLY"), L"\u5957\u7528");
    index = 4;  // right-to-left layout, English texts
    SelectLanguageFor(index, 0);
    EXPECT_EQ(GetLangString(L"IDS_APPLY"), L"Apply");
    EXPECT_EQ(GetLangString(L"IDS_NO_SUCH_KEY"), L"");
}

TEST_F(LanguageGlobals, FontAndNumberBoxPaddingFollowTheLanguage)
{
    struct Case {
        int lang;
        float scale;
        const wchar_t* family;
        int left, top;
    } cases[] = {
        {9, 1.0f, L"MS UI Gothic", 7, 8}, {9, 1.25f, L"MS UI Gothic", 9, 10}, {9, 1.5f, L"MS UI Gothic", 11, 12},
        {1, 1.0f, L"Segoe UI", 5, 5},     {1, 1.25f, L"Segoe UI", 6, 6},      {4, 1.5f, L"Segoe UI", 8, 8},
        {0, 2.0f, L"Segoe UI", 10, 10},
    };
    for (const Case& c : cases) {
        g_nLangIndexUI = c.lang;
        g_fUIScale = c.scale;
        EXPECT_EQ(DefaultFontFamily(), c.family);
        Control::Thickness padding = GetNumberBoxTextPadding<Control::Thickness>();
        EXPECT_EQ(padding.left, c.left) << c.lang << " " << c.scale;
        EXPECT_EQ(padding.top, c.top) << c.lang << " " << c.scale;
        EXPECT_EQ(padding.right, 0);
        EXPECT_EQ(padding.bottom, 0);
    }
}

// Stands in for a control: FontSize and X read and written through Get/Set.
template <typename T>
struct FakeProperty {
    T value;
    T Get() const { return value; }
    void Set(const T& v) { value = v; }
};
struct FakeLabel {
    FakeProperty<float> FontSize{12.0f};
    FakeProperty<int> X{100};
};

TEST_F(LanguageGlobals, OnlyLanguageTwentyShrinksAndMovesColourPickerLabels)
{
    struct Case {
        int lang;
        float scale;
        float fontSize;
        int x;
    } cases[] = {{20, 1.0f, 8.0f, 90}, {20, 1.5f, 8.0f, 85}, {20, 1.25f, 8.0f, 87}, {1, 1.5f, 12.0f, 100},
                 {4, 1.0f, 12.0f, 100}};
    for (const Case& c : cases) {
        g_nLangIndexUI = c.lang;
        g_fUIScale = c.scale;
        FakeLabel label;
        AdjustColorPickerForLanguage(label);
        EXPECT_EQ(label.FontSize.Get(), c.fontSize) << c.lang;
        EXPECT_EQ(label.X.Get(), c.x) << c.lang << " " << c.scale;
    }
}

TEST_F(LanguageGlobals, LabelWidthsByLanguageAndUntouchedForOthers)
{
    struct Case {
        int lang;
        int single, pair, four[4];
    } cases[] = {
        {1, 93, 106, {67, 59, 77, 52}},   {5, 91, 129, {67, 89, 69, 81}},    {11, 79, 110, {67, 72, 73, 79}},
        {12, 79, 110, {67, 72, 73, 79}},  {13, 125, 142, {58, 118, 95, 95}}, {17, 85, 118, {67, 106, 108, 63}},
        {4, -1, -1, {-1, -1, -1, -1}},    {0, -1, -1, {-1, -1, -1, -1}},     {20, -1, -1, {-1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        g_nLangIndexUI = c.lang;
        int single = -1, pair[2] = {-1, -1}, four[4] = {-1, -1, -1, -1};
        ApplyLanguageWidth(single);
        ApplyLanguageWidths2(pair[0], pair[1]);
        ApplyLanguageWidths4(four[0], four[1], four[2], four[3]);
        EXPECT_EQ(single, c.single) << c.lang;
        EXPECT_EQ(pair[0], c.pair) << c.lang;
        EXPECT_EQ(pair[1], c.pair) << c.lang;
        for (int i = 0; i < 4; ++i) EXPECT_EQ(four[i], c.four[i]) << c.lang << " " << i;
    }
}

}  // namespace
