#pragma once
#include <windows.h>

#include <string>

#include "platform/win/UniqueHandle.h"

namespace testsupport {

// Holds an existing file open with no sharing, as another process writing it
// may: while held, every read and write of it by name fails.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path)
        : m_file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    bool Held() const { return m_file.IsValid(); }
    void Release() { m_file.Reset(); }

private:
    platform::UniqueFile m_file;
};

}  // namespace testsupport
