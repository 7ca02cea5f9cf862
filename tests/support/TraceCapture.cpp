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
    std::string bytes = ReadFileBytes(m_path);
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return text;
}

}  // namespace testsupport
