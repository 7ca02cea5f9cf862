#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <tinyxml2.h>

#include "tests/support/TempDir.h"

namespace servicetest {

// The client writes its files into the working directory: point it at a
// fresh folder for the test and put the old one back afterwards.
class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory()
    {
        wchar_t previous[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, previous);
        m_previous = previous;
        m_ok = SetCurrentDirectoryW(m_dir.Path().c_str()) != FALSE;
    }
    ~ScopedWorkingDirectory() { SetCurrentDirectoryW(m_previous.c_str()); }
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    bool Ok() const { return m_ok; }
    std::wstring File(const std::wstring& name) const { return m_dir.File(name); }

private:
    testsupport::TempDir m_dir;
    std::wstring m_previous;
    bool m_ok = false;
};

inline std::string Ascii(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

inline std::wstring Wide(const std::string& text)
{
    std::wstring out;
    for (unsigned char c : text) out.push_back(static_cast<wchar_t>(c));
    return out;
}

// Text files come back with CRLF line ends.
inline std::string WithoutCarriageReturns(std::string text)
{
    std::string out;
    for (char c : text)
        if (c != '\r') out.push_back(c);
    return out;
}

inline std::vector<std::string> ChildNames(const tinyxml2::XMLElement* element)
{
    std::vector<std::string> names;
    if (element == nullptr) return names;
    for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement())
        names.push_back(child->Name());
    return names;
}

inline std::string TextOf(const tinyxml2::XMLElement* element, const char* child)
{
    const tinyxml2::XMLElement* found = element != nullptr ? element->FirstChildElement(child) : nullptr;
    const char* text = found != nullptr ? found->GetText() : nullptr;
    return text != nullptr ? text : "<missing>";
}

inline std::string KeyOf(const tinyxml2::XMLElement* element)
{
    const char* key = element != nullptr ? element->Attribute("key") : nullptr;
    return key != nullptr ? key : "<none>";
}

}  // namespace servicetest
