#include "tests/support/FixturePaths.h"

#include <windows.h>

namespace testsupport {

std::wstring ExecutableDir()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, length);
    size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? dir : dir.substr(0, slash);
}

std::wstring FixturePath(const std::wstring& relative)
{
    return ExecutableDir() + L"\\fixtures\\" + relative;
}

}  // namespace testsupport
