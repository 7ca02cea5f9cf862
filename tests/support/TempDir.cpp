#include "tests/support/TempDir.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <cstdio>

namespace testsupport {

namespace {
void RemoveTree(const std::wstring& path)
{
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}
}  // namespace

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    wchar_t name[MAX_PATH];
    swprintf(name, MAX_PATH, L"%lslumo_%lu_%u", base, GetCurrentProcessId(), counter++);
    m_path = name;
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, n);
    fclose(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ReadUtf16File(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path);
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return text;
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    WriteFileBytes(path, bytes);
}

}  // namespace testsupport
