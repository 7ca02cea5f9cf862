#pragma once
#include <windows.h>

#include <cstdint>

// Where trace lines go; both off until the registry switches are read.
extern bool g_bWriteLog;
extern bool g_bWriteFile;
extern wchar_t g_szLogPath[MAX_PATH];

// The trace function: the place names who speaks; a failure line carries the
// error code (0 means the thread's last error) and the system's text for it.
void LogMessage(const wchar_t* message, const wchar_t* place, bool success, uint32_t errorCode);
// How a number reaches the log: a failure line with the number as its code;
// 0 shows as 0, not as the thread's last error.
void LogNumber(const wchar_t* message, const wchar_t* place, uint32_t number);

bool CheckIfWriteLog();
bool CheckIfWriteFile();
bool WriteLogLine(const wchar_t* text);
bool CreateLogFile();
bool CheckLogFileBOM();

namespace trace {

constexpr size_t kLineCapacity = 4096;
constexpr size_t kFileLineCapacity = 1024;
constexpr size_t kTimePrefixCapacity = 260;

extern const wchar_t kRegistryKey[];

// The log-file time prefix "MM/DD hh:mm:ss\t" (no year).
void FormatTimePrefix(const SYSTEMTIME& localTime, wchar_t* buffer, size_t capacity);

// The line LogMessage would emit, without sending it anywhere; lastError is
// used when errorCode is 0.
void FormatTraceLine(wchar_t* buffer, size_t capacity, const wchar_t* message, const wchar_t* place,
                     bool success, uint32_t errorCode, uint32_t lastError);

}  // namespace trace
