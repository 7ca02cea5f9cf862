#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace testsupport {

// Sets (or deletes) DWORD values under HKLM in the 32-bit view and puts back
// what was there when it goes out of scope.
class ScopedRegistryDword {
public:
    ScopedRegistryDword(const std::wstring& subKey, const std::wstring& valueName, std::optional<DWORD> value);
    ~ScopedRegistryDword();
    ScopedRegistryDword(const ScopedRegistryDword&) = delete;
    ScopedRegistryDword& operator=(const ScopedRegistryDword&) = delete;

    static void Set(const std::wstring& subKey, const std::wstring& valueName, std::optional<DWORD> value);
    static std::optional<DWORD> Get(const std::wstring& subKey, const std::wstring& valueName);

private:
    std::wstring m_subKey;
    std::wstring m_valueName;
    std::optional<DWORD> m_previous;
};

}  // namespace testsupport
