#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win/UniqueHandle.h"
#include "tests/support/TempDir.h"

namespace testsupport {

// A helper program run as a process of its own: it is given the path of a
// log file (and more arguments, if any), shows a window while it is up and
// appends a line to the log for each message it hears.
class LoggingProcess {
public:
    // Starts the program and waits for its window (a null title matches any).
    LoggingProcess(const std::wstring& program, const std::vector<std::wstring>& extraArguments,
                   const wchar_t* windowClass, const wchar_t* windowTitle);
    // Closes the window and waits for the process; ends it if it hangs.
    ~LoggingProcess();
    LoggingProcess(const LoggingProcess&) = delete;
    LoggingProcess& operator=(const LoggingProcess&) = delete;

    bool IsUp() const { return m_window != nullptr; }
    HWND Window() const { return m_window; }

    // The lines logged, once count have arrived or the time is up.
    std::vector<std::string> Lines(size_t count, DWORD timeoutMs = 5000) const;

private:
    TempDir m_dir;
    std::wstring m_log;
    platform::UniqueHandle m_process;
    HWND m_window = nullptr;
};

}  // namespace testsupport
