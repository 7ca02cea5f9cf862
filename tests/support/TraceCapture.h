#pragma once
#include <string>

#include "tests/support/TempDir.h"

namespace testsupport {

// Sends trace lines to a log file of its own for its lifetime; Text() gives
// what was written so far, without the byte-order mark.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::wstring Text() const;
    bool Contains(const std::wstring& fragment) const { return Text().find(fragment) != std::wstring::npos; }

private:
    TempDir m_dir;
    std::wstring m_path;
    bool m_previousWriteFile;
};

}  // namespace testsupport
