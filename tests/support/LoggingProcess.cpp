#include "tests/support/LoggingProcess.h"

#include <sstream>

namespace testsupport {

LoggingProcess::LoggingProcess(const std::wstring& program, const std::vector<std::wstring>& extraArguments,
                               const wchar_t* windowClass, const wchar_t* windowTitle)
    : m_log(m_dir.File(L"messages.log"))
{
    std::wstring command = L"\"" + program + L"\" \"" + m_log + L"\"";
    for (const std::wstring& argument : extraArguments) command += L" \"" + argument + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    m_process.Reset(process.hProcess);
    platform::UniqueHandle unusedThread(process.hThread);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while ((m_window = FindWindowW(windowClass, windowTitle)) == nullptr && GetTickCount64() < deadline) Sleep(10);
}

LoggingProcess::~LoggingProcess()
{
    if (!m_process) return;
    if (m_window != nullptr) PostMessageW(m_window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0) TerminateProcess(m_process.Get(), 1);
}

std::vector<std::string> LoggingProcess::Lines(size_t count, DWORD timeoutMs) const
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        std::vector<std::string> lines;
        std::istringstream text(FileExists(m_log) ? ReadFileBytes(m_log) : "");
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        if (lines.size() >= count || GetTickCount64() >= deadline) return lines;
        Sleep(10);
    }
}

}  // namespace testsupport
