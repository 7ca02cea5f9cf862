#include "tests/support/ProfileFiles.h"

#include <windows.h>

namespace testsupport {

std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[256] = L"";
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, path.c_str());
    return value;
}

}  // namespace testsupport
