#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "backend/profiles/ProfileFolders.h"
#include "platform/win/BoundedFormat.h"
#include "tests/support/TempDir.h"

namespace modetest {

// The program and data folders of a mode run, in temporary folders.
class TestFolders : public ProfileFolderSources {
public:
    explicit TestFolders(const testsupport::TempDir& dir)
        : appData(dir.File(L"ProgramData")), program(dir.File(L"Program Files\\Lumo"))
    {
        SHCreateDirectoryExW(nullptr, appData.c_str(), nullptr);
        SHCreateDirectoryExW(nullptr, program.c_str(), nullptr);
    }
    bool CommonAppDataFolder(wchar_t* out, size_t capacity) const override
    {
        return platform::CopyBounded(out, capacity, appData.c_str());
    }
    bool ProgramFolder(wchar_t* out, size_t capacity) const override
    {
        return platform::FormatBounded(out, capacity, L"%ls\\", program.c_str());
    }
    bool UserSid(wchar_t* out, size_t capacity) const override
    {
        return platform::CopyBounded(out, capacity, L"S-1-5-21-0-0-0-1000");
    }

    std::wstring DataFolder() const { return appData + L"\\VORN\\VYLLumoCore"; }
    std::wstring UserFolder() const { return DataFolder() + L"\\S-1-5-21-0-0-0-1000"; }

    std::wstring appData;
    std::wstring program;
};

// A top-level window that gathers the registered messages posted to it, by
// broadcast or directly.
class MessageSink {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    MessageSink();
    ~MessageSink();
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;

    // Handles what is queued and returns what came for message: the handlers
    // post (to every top-level window, this one too) before they return.
    std::vector<Received> Collect(UINT message);
    HWND Window() const { return m_window; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
    std::vector<Received> m_received;
};

std::wstring CommonFolder(int csidl);
// Closes every running listener stand-in.
void CloseListeners();
void WriteIni(const std::wstring& path, const wchar_t* section, const wchar_t* key, const std::wstring& value);

}  // namespace modetest
