#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

constexpr size_t kLangBufferChars = 260;

// The language index of "-Lang=" on the command line, 0 without it.
extern int g_nLangIndex;
// The language index the layout and text drawing read: the start-up index
// (g_nLangIndex of the command line or the user's UI language) once chosen.
extern int g_nLangIndexUI;
// Section of the language file for the chosen language.
extern wchar_t g_szLangSection[kLangBufferChars];
// Full path of "Lumo.ini" beside the program.
extern wchar_t g_szLangFile[kLangBufferChars];

// Language indexes with a section of their own (others read "English").
enum LangIndex {
    kLangEnglish = 1,
    kLangCht = 2,
    kLangChs = 3,
    kLangGerman = 5,
    kLangSpanish = 6,
    kLangFrench = 7,
    kLangJapanese = 9,
    kLangPortugueseBrazil = 11,
    kLangPortuguesePortugal = 12,
    kLangRussian = 13,
    kLangDutch = 17,
};

// The section an index reads; "English" for any index without its own.
const wchar_t* LanguageSectionForIndex(int langIndex);
// The index for a user UI language id; 1 (English) for ids not listed.
int LanguageIndexForUiLanguage(LANGID uiLanguage);

// Sets g_szLangSection for langIndex; when langIndex is 0 it is first chosen
// from uiLanguage and written back. The caller passes the start-up global.
void SelectLanguageFor(int& langIndex, LANGID uiLanguage);
// The same with the user's UI language.
void SelectLanguage(int& langIndex);

// The program's folder with its trailing backslash; an empty string (and
// false) when the path cannot be had or does not fit.
bool GetModuleDirectory(wchar_t (&directory)[kLangBufferChars]);
// g_szLangFile := the program's folder + "Lumo.ini"; false (and an empty
// path) when that does not fit.
bool InitLangFilePath();

// The key's text in the chosen section; empty when the file, section or key
// is missing (never the key itself).
void GetLangString(std::wstring& text, const wchar_t* key);
std::wstring GetLangString(const wchar_t* key);
void GetLangStringBuf(const wchar_t* key, wchar_t (&buffer)[kLangBufferChars]);

// A language key with the texts shown around it.
struct LocalizedText {
    LocalizedText(std::wstring key, std::wstring text, std::wstring prefix, std::wstring suffix);

    // prefix + the key's text + suffix; m_strText is not read.
    std::wstring ToString() const;

    std::wstring m_strKey;
    std::wstring m_strText;
    std::wstring m_strPrefix;
    std::wstring m_strSuffix;
};
