#include "backend/trace/Trace.h"

#include <shlobj.h>

#include <cstdio>
#include <cwchar>

#include "platform/win/BoundedFormat.h"
#include "platform/win/UniqueHandle.h"

bool g_bWriteLog = false;
bool g_bWriteFile = false;
wchar_t g_szLogPath[MAX_PATH] = {};

namespace trace {

const wchar_t kRegistryKey[] = L"Software\\VORN\\VYLLumoCore";

namespace {

// The system's text for a code, or an empty text when it has none.
void SystemMessageText(uint32_t code, wchar_t* buffer, size_t capacity)
{
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    platform::UniqueLocalMem owner(text);
    if (length == 0 || text == nullptr) {
        // No system text: still end the line so the next one starts fresh.
        platform::CopyBounded(buffer, capacity, L"\r\n");
        return;
    }
    platform::CopyBounded(buffer, capacity, text);
}

bool ReadSwitch(const wchar_t* valueName, const wchar_t* place, bool& flag)
{
    platform::UniqueHKey key;
    LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRegistryKey, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                                   key.Put());
    if (status != ERROR_SUCCESS) {
        LogMessage(L"RegOpenKeyEx failed !!", place, false, static_cast<uint32_t>(status));
        return false;
    }
    DWORD value = 0;
    DWORD size = sizeof(value);
    status = RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS) {
        LogMessage(L"RegQueryValueEx failed !!", place, false, static_cast<uint32_t>(status));
        return false;
    }
    if (value == 1) flag = true;
    return true;
}

}  // namespace

void FormatTimePrefix(const SYSTEMTIME& t, wchar_t* buffer, size_t capacity)
{
    platform::FormatBounded(buffer, capacity, L"%02d/%02d %02d:%02d:%02d\t", t.wMonth, t.wDay, t.wHour, t.wMinute,
                            t.wSecond);
}

void FormatTraceLine(wchar_t* buffer, size_t capacity, const wchar_t* message, const wchar_t* place, bool success,
                     uint32_t errorCode, uint32_t lastError)
{
    if (message == nullptr) message = L"";
    if (place == nullptr) place = L"";
    if (success) {
        platform::FormatBounded(buffer, capacity, L"[LumoCore][Notify]%ls -> %ls\r\n", place, message);
        return;
    }
    uint32_t code = errorCode != 0 ? errorCode : lastError;
    wchar_t systemText[512];
    SystemMessageText(code, systemText, ARRAYSIZE(systemText));
    platform::FormatBounded(buffer, capacity, L"[LumoCore]%ls -> %ls error: %u - %ls", place, message, code,
                            systemText);
}

}  // namespace trace

namespace {

void SendTraceLine(const wchar_t* message, const wchar_t* place, bool success, uint32_t errorCode,
                   uint32_t lastError)
{
    wchar_t line[trace::kLineCapacity];
    trace::FormatTraceLine(line, ARRAYSIZE(line), message, place, success, errorCode, lastError);
    if (g_bWriteLog) OutputDebugStringW(line);
    if (g_bWriteFile) WriteLogLine(line);
}

}  // namespace

void LogMessage(const wchar_t* message, const wchar_t* place, bool success, uint32_t errorCode)
{
    // Read first: any later system call may change it.
    SendTraceLine(message, place, success, errorCode, GetLastError());
}

void LogNumber(const wchar_t* message, const wchar_t* place, uint32_t number)
{
    SendTraceLine(message, place, false, number, number);
}

bool CheckIfWriteLog()
{
    return trace::ReadSwitch(L"WriteLog", L"CheckIfWriteLog", g_bWriteLog);
}

bool CheckIfWriteFile()
{
    return trace::ReadSwitch(L"WriteFile", L"CheckIfWriteFile", g_bWriteFile);
}

bool CheckLogFileBOM()
{
    {
        platform::UniqueFile probe(CreateFileW(g_szLogPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) return false;
    }
    platform::UniqueFile file(CreateFileW(g_szLogPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return false;
    if (size.QuadPart == 0) {
        static const BYTE kBom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        return WriteFile(file.Get(), kBom, sizeof(kBom), &written, nullptr) && written == sizeof(kBom);
    }
    BYTE head[2] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), head, sizeof(head), &read, nullptr) || read != sizeof(head)) return false;
    return head[0] == 0xFF && head[1] == 0xFE;
}

bool WriteLogLine(const wchar_t* text)
{
    if (text == nullptr || !CheckLogFileBOM()) return false;

    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    GetSystemTime(&utc);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    wchar_t prefix[trace::kTimePrefixCapacity];
    trace::FormatTimePrefix(local, prefix, ARRAYSIZE(prefix));

    wchar_t copy[trace::kFileLineCapacity];
    platform::CopyBounded(copy, ARRAYSIZE(copy), text);

    FILE* file = _wfopen(g_szLogPath, L"ab");
    if (file == nullptr) return false;
    // Wide characters go out as they are: UTF-16LE, low byte first.
    std::fwrite(prefix, sizeof(wchar_t), std::wcslen(prefix), file);
    std::fwrite(copy, sizeof(wchar_t), std::wcslen(copy), file);
    std::fclose(file);
    return true;
}

bool CreateLogFile()
{
    wchar_t drive[_MAX_DRIVE] = {};
    wchar_t dir[_MAX_DIR] = {};
    if (_wsplitpath_s(g_szLogPath, drive, ARRAYSIZE(drive), dir, ARRAYSIZE(dir), nullptr, 0, nullptr, 0) != 0)
        return false;
    wchar_t folder[MAX_PATH];
    if (!platform::FormatBounded(folder, ARRAYSIZE(folder), L"%ls%ls", drive, dir)) return false;
    SHCreateDirectoryExW(nullptr, folder, nullptr);

    FILE* file = _wfopen(g_szLogPath, L"w");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}
