#include "tests/support/RegistryValue.h"

namespace testsupport {

ScopedRegistryDword::ScopedRegistryDword(const std::wstring& subKey, const std::wstring& valueName,
                                         std::optional<DWORD> value)
    : m_subKey(subKey), m_valueName(valueName), m_previous(Get(subKey, valueName))
{
    Set(subKey, valueName, value);
}

ScopedRegistryDword::~ScopedRegistryDword()
{
    Set(m_subKey, m_valueName, m_previous);
}

void ScopedRegistryDword::Set(const std::wstring& subKey, const std::wstring& valueName, std::optional<DWORD> value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    if (value) {
        DWORD data = *value;
        RegSetValueExW(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    } else {
        RegDeleteValueW(key, valueName.c_str());
    }
    RegCloseKey(key);
}

std::optional<DWORD> ScopedRegistryDword::Get(const std::wstring& subKey, const std::wstring& valueName)
{
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, subKey.c_str(), valueName.c_str(), RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6432KEY,
                     nullptr, &data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return data;
}

}  // namespace testsupport
