#include "tests/support/TraceCapture.h"

#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"

namespace testsupport {

TraceCapture::TraceCapture() : m_path(m_dir.File(L"trace.log")), m_previousWriteFile(g_bWriteFile)
{
    WriteFileBytes(m_path, "\xFF\xFE");
    platform::CopyBounded(g_szLogPath, MAX_PATH, m_path.c_str());
    g_bWriteFile = true;
}

TraceCapture::~TraceCapture()
{
    g_bWriteFile = m_previousWriteFile;
    g_szLogPath[0] = L'\0';
}

std::wstring TraceCapture::Text() const
{
    return ReadUtf16File(m_path);
}

}  // namespace testsupport
