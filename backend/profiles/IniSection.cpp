#include "backend/profiles/IniSection.h"

#include <cwchar>

namespace {

// Room for far more keys than a record has; a larger section falls back.
constexpr DWORD kSectionCapacity = 32 * 1024;

std::wstring Unquoted(const wchar_t* value, size_t length)
{
    if (length > 1 && (value[0] == L'"' || value[0] == L'\'') && value[length - 1] == value[0]) {
        return std::wstring(value + 1, length - 2);
    }
    return std::wstring(value, length);
}

}  // namespace

bool IniSection::Load(const wchar_t* path, const wchar_t* section)
{
    m_text.assign(kSectionCapacity, L'\0');
    const DWORD length = GetPrivateProfileSectionW(section, m_text.data(), kSectionCapacity, path);
    if (length >= kSectionCapacity - 2) {
        m_text.clear();
        return false;
    }
    m_text.resize(static_cast<size_t>(length) + 2);
    return true;
}

std::wstring IniSection::Value(const wchar_t* key, const wchar_t* defaultText, size_t capacity) const
{
    std::wstring result = defaultText != nullptr ? defaultText : L"";
    const size_t keyLength = std::wcslen(key);
    for (const wchar_t* line = m_text.data(); !m_text.empty() && *line != L'\0'; line += std::wcslen(line) + 1) {
        const wchar_t* equals = std::wcschr(line, L'=');
        const size_t nameLength = equals ? static_cast<size_t>(equals - line) : std::wcslen(line);
        if (nameLength != keyLength || _wcsnicmp(line, key, keyLength) != 0) continue;
        // A key without a value reads as absent.
        if (equals) result = Unquoted(equals + 1, std::wcslen(equals + 1));
        break;
    }
    if (capacity > 0 && result.size() > capacity - 1) result.resize(capacity - 1);
    return result;
}
