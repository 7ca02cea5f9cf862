#pragma once
// The files of a profile folder as the program keeps them, and one value read
// back from such a file the way the program reads it.
#include <string>

namespace testsupport {

inline constexpr const wchar_t* kProfileFiles[] = {L"Basic.ini", L"Custom0.Ini", L"Custom1.Ini", L"Custom2.Ini"};

// The key's value, or "<missing>" when the file, the section or the key is not there.
std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key);

}  // namespace testsupport
