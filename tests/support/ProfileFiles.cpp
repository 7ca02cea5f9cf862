#include "tests/support/ProfileFiles.h"

#include <windows.h>

#include "tests/support/TempDir.h"

namespace testsupport {

std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[256] = L"";
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, path.c_str());
    return value;
}

namespace {

// The profile-string functions may hold a file's content by its time.
void Flush(const std::wstring& path)
{
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace

ShippedProfileFiles::ShippedProfileFiles(const std::wstring& folder, const std::wstring& seedFolder) : m_folder(folder)
{
    for (const wchar_t* name : kProfileFiles) {
        const std::wstring path = m_folder + L"\\" + name;
        m_kept.push_back(ReadFileBytes(path));
        ::CopyFileW((seedFolder + L"\\" + name).c_str(), path.c_str(), FALSE);
        Flush(path);
    }
}

ShippedProfileFiles::~ShippedProfileFiles()
{
    for (size_t i = 0; i < m_kept.size(); ++i) {
        const std::wstring path = m_folder + L"\\" + kProfileFiles[i];
        WriteFileBytes(path, m_kept[i]);
        Flush(path);
    }
}

}  // namespace testsupport
