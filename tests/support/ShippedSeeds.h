#pragma once
// The seed profiles the build generates; a test that includes this links
// lumo_seed_profiles, which gives LUMO_SEED_DIR.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "backend/profiles/EffectModel.h"

namespace testsupport {

// Every file that ships beside Lumo.exe for the profile folders.
inline const wchar_t* const kSeedFileNames[] = {
    L"Basic.ini",      L"Basic_20.ini",   L"Custom0.Ini",    L"Custom1.Ini",
    L"Custom2.Ini",    L"Custom0_20.ini", L"Custom1_20.ini", L"Custom2_20.ini",
};

// A build path as Wine sees it (the host's / is drive Z:).
inline std::wstring WindowsPathOf(const std::string& unixPath)
{
    std::wstring path = !unixPath.empty() && unixPath[0] == '/' ? L"Z:" : L"";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

inline std::wstring SeedFolder()
{
    return WindowsPathOf(LUMO_SEED_DIR);
}

// Installs the seeds into a program folder; false when one is missing.
inline bool CopySeedFiles(const std::wstring& from, const std::wstring& to)
{
    bool all = true;
    for (const wchar_t* name : kSeedFileNames)
        all &= CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) != FALSE;
    return all;
}

// Everything the profile-string functions see in a file: each section's name
// in brackets, then its "key=value" entries, in file order.
inline std::vector<std::wstring> IniEntries(const std::wstring& path)
{
    std::vector<std::wstring> lines;
    std::vector<wchar_t> names(8192);
    GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const wchar_t* name = names.data(); *name != L'\0'; name += wcslen(name) + 1) {
        lines.push_back(L"[" + std::wstring(name) + L"]");
        std::vector<wchar_t> entries(32768);
        GetPrivateProfileSectionW(name, entries.data(), static_cast<DWORD>(entries.size()), path.c_str());
        for (const wchar_t* entry = entries.data(); *entry != L'\0'; entry += wcslen(entry) + 1)
            lines.push_back(entry);
    }
    return lines;
}

// A first start's profile: colour cycle on the whole keyboard, and every
// record as the INI store's defaults leave it (red, medium speed).
inline CustomProfile ShippedProfile()
{
    constexpr int32_t colorCycle = static_cast<int32_t>(EffectType::ColorCycle);
    CustomProfile profile{};
    profile.modeIndex = 0;
    profile.allIndex = profile.wasdIndex = profile.qwerIndex = profile.fourIndex = profile.syncIndex = colorCycle;
    for (EffectData& e : profile.allData) e = DefaultEffectData();
    for (EffectData& e : profile.wasdData) e = DefaultEffectData();
    for (EffectData& e : profile.qwerData) e = DefaultEffectData();
    for (EffectData& e : profile.fourData) e = DefaultEffectData();
    return profile;
}

}  // namespace testsupport
