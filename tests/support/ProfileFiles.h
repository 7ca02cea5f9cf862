#pragma once
// The files of a profile folder as the program keeps them, and one value read
// back from such a file the way the program reads it.
#include <string>
#include <vector>

namespace testsupport {

inline constexpr const wchar_t* kProfileFiles[] = {L"Basic.ini", L"Custom0.Ini", L"Custom1.Ini", L"Custom2.Ini"};

// The key's value, or "<missing>" when the file, the section or the key is not there.
std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key);

// For its scope, a profile folder's files start as the shipped seeds in
// seedFolder give them, whatever an earlier run (or one cut short) left; the
// files it found there are put back at its end.
class ShippedProfileFiles {
public:
    ShippedProfileFiles(const std::wstring& folder, const std::wstring& seedFolder);
    ~ShippedProfileFiles();
    ShippedProfileFiles(const ShippedProfileFiles&) = delete;
    ShippedProfileFiles& operator=(const ShippedProfileFiles&) = delete;

private:
    std::wstring m_folder;
    std::vector<std::string> m_kept;
};

}  // namespace testsupport
