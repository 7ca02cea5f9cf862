#include "ui/framework/language/Language.h"

#include <utility>

#include "platform/win/BoundedFormat.h"

int g_nLangIndex = 0;
int g_nLangIndexUI = 0;
wchar_t g_szLangSection[kLangBufferChars] = L"";
wchar_t g_szLangFile[kLangBufferChars] = L"";

namespace {

const wchar_t kEnglish[] = L"English";

struct LanguageRow {
    int index;
    const wchar_t* section;
    LANGID ids[3];  // 0 ends the list
};

const LanguageRow kLanguages[] = {
    {kLangEnglish, kEnglish, {1024, 1033, 0}},
    {kLangCht, L"CHT", {1028, 3076, 0}},
    {kLangChs, L"CHS", {2052, 0, 0}},
    {kLangGerman, L"German", {1031, 3079, 2055}},
    {kLangSpanish, L"Spanish", {1034, 2058, 3082}},
    {kLangFrench, L"French", {1036, 2060, 3084}},
    {kLangJapanese, L"Japanese", {1041, 0, 0}},
    {kLangPortugueseBrazil, L"Portuguese", {1046, 0, 0}},
    {kLangPortuguesePortugal, L"Portuguese", {2070, 0, 0}},
    {kLangRussian, L"Russian", {1049, 0, 0}},
    {kLangDutch, L"Dutch", {1043, 2067, 0}},
};

}  // namespace

const wchar_t* LanguageSectionForIndex(int langIndex)
{
    for (const LanguageRow& row : kLanguages) {
        if (row.index == langIndex) return row.section;
    }
    return kEnglish;
}

int LanguageIndexForUiLanguage(LANGID uiLanguage)
{
    for (const LanguageRow& row : kLanguages) {
        for (LANGID id : row.ids) {
            if (id != 0 && id == uiLanguage) return row.index;
        }
    }
    return kLangEnglish;
}

void SelectLanguageFor(int& langIndex, LANGID uiLanguage)
{
    if (langIndex == 0) langIndex = LanguageIndexForUiLanguage(uiLanguage);
    platform::CopyBounded(g_szLangSection, kLangBufferChars, LanguageSectionForIndex(langIndex));
}

void SelectLanguage(int& langIndex)
{
    SelectLanguageFor(langIndex, langIndex == 0 ? GetUserDefaultUILanguage() : 0);
}

bool GetModuleDirectory(wchar_t (&directory)[kLangBufferChars])
{
    directory[0] = L'\0';
    wchar_t path[kLangBufferChars] = L"";
    DWORD length = GetModuleFileNameW(nullptr, path, kLangBufferChars);
    // A full buffer means the path was cut: no folder rather than a wrong one.
    if (length == 0 || length >= kLangBufferChars) return false;
    size_t cut = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (path[i] == L'\\') cut = i + 1;
    }
    if (cut == 0) return false;
    path[cut] = L'\0';
    return platform::CopyBounded(directory, kLangBufferChars, path);
}

bool InitLangFilePath()
{
    wchar_t directory[kLangBufferChars];
    if (!GetModuleDirectory(directory) ||
        !platform::FormatBounded(g_szLangFile, kLangBufferChars, L"%lsLumo.ini", directory)) {
        g_szLangFile[0] = L'\0';
        return false;
    }
    return true;
}

void GetLangString(std::wstring& text, const wchar_t* key)
{
    text.clear();
    // A null key would list the section's keys instead of reading one.
    if (!key || !*key || !g_szLangFile[0]) return;
    wchar_t buffer[kLangBufferChars] = {};
    GetPrivateProfileStringW(g_szLangSection, key, L"", buffer, kLangBufferChars, g_szLangFile);
    text = buffer;
}

std::wstring GetLangString(const wchar_t* key)
{
    std::wstring text;
    GetLangString(text, key);
    return text;
}

void GetLangStringBuf(const wchar_t* key, wchar_t (&buffer)[kLangBufferChars])
{
    std::wstring text;
    GetLangString(text, key);
    platform::CopyBounded(buffer, kLangBufferChars, text.c_str());
}

LocalizedText::LocalizedText(std::wstring key, std::wstring text, std::wstring prefix, std::wstring suffix)
    : m_strKey(std::move(key)), m_strText(std::move(text)), m_strPrefix(std::move(prefix)), m_strSuffix(std::move(suffix))
{
}

std::wstring LocalizedText::ToString() const
{
    return m_strPrefix + GetLangString(m_strKey.c_str()) + m_strSuffix;
}
