#pragma once
// One section of a profile file, read with a single call: Wine's profile
// functions re-read the file on each call, so a record read key by key
// costs one file read per key.
#include <windows.h>

#include <string>
#include <vector>

class IniSection {
public:
    // Reads the section; false when it did not fit the buffer, and the
    // caller then reads key by key.
    bool Load(const wchar_t* path, const wchar_t* section);

    // The value as GetPrivateProfileString gives it (first entry of the key,
    // any case, one pair of enclosing quotes removed, at most capacity - 1
    // characters), or defaultText when the key is absent.
    std::wstring Value(const wchar_t* key, const wchar_t* defaultText, size_t capacity) const;

private:
    std::vector<wchar_t> m_text;
};
