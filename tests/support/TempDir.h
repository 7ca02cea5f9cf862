#pragma once
#include <string>

namespace testsupport {

// A fresh folder under the system temp folder, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// UTF-16LE text with its byte-order mark, as the log file and a file saved
// as Unicode hold it; the read drops the mark.
std::wstring ReadUtf16File(const std::wstring& path);
void WriteUtf16File(const std::wstring& path, const std::wstring& text);

}  // namespace testsupport
