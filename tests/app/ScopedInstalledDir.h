#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "backend/trace/Trace.h"

namespace apptest {

// The registry's "InstalledDir" (HKLM, 32-bit view) as a test sets it; what
// was there before, type and bytes, is put back when it goes out of scope.
class ScopedInstalledDir {
public:
    ScopedInstalledDir()
    {
        DWORD size = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, trace::kRegistryKey, kName, RRF_RT_ANY | RRF_NOEXPAND |
                         RRF_SUBKEY_WOW6432KEY, &m_previousType, nullptr, &size) != ERROR_SUCCESS)
            return;
        m_previous.resize(size);
        m_hadValue = RegGetValueW(HKEY_LOCAL_MACHINE, trace::kRegistryKey, kName,
                                  RRF_RT_ANY | RRF_NOEXPAND | RRF_SUBKEY_WOW6432KEY, &m_previousType,
                                  m_previous.data(), &size) == ERROR_SUCCESS;
        m_previous.resize(size);
    }
    explicit ScopedInstalledDir(const std::wstring& folder) : ScopedInstalledDir() { Set(folder); }
    ~ScopedInstalledDir()
    {
        if (m_hadValue)
            Write(m_previousType, m_previous.data(), static_cast<DWORD>(m_previous.size()));
        else
            Write(REG_NONE, nullptr, 0);
    }
    ScopedInstalledDir(const ScopedInstalledDir&) = delete;
    ScopedInstalledDir& operator=(const ScopedInstalledDir&) = delete;

    void Set(const std::wstring& folder)
    {
        Write(REG_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    // Bytes as they are, terminated or not; null deletes the value.
    void SetBytes(const void* data, DWORD bytes) { Write(REG_SZ, data, bytes); }

private:
    static constexpr const wchar_t* kName = L"InstalledDir";

    static void Write(DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, trace::kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        if (data == nullptr)
            RegDeleteValueW(key, kName);
        else
            RegSetValueExW(key, kName, 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
    }

    bool m_hadValue = false;
    DWORD m_previousType = REG_NONE;
    std::vector<BYTE> m_previous;
};

}  // namespace apptest
