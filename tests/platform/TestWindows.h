#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/Dialog.h"
#include "platform/ui/Wnd.h"

namespace uitest {

constexpr UINT kPlainDialog = 201;
constexpr UINT kDialogWithChild = 202;

// Records the messages its WindowProc and PreTranslateMessage see.
class RecordingWnd : public CWnd {
public:
    explicit RecordingWnd(std::string name = {}, std::vector<std::string>* preTranslateLog = nullptr)
        : m_name(std::move(name)), m_log(preTranslateLog)
    {
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == WM_CREATE && failCreate) return -1;
        if (message == WM_APP) return static_cast<LRESULT>(wParam + lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (m_log != nullptr && msg->message == WM_APP + 1) m_log->push_back(m_name);
        return msg->message == WM_APP + 1 && consumes;
    }
    bool Saw(UINT message) const
    {
        for (UINT m : messages)
            if (m == message) return true;
        return false;
    }

    std::vector<UINT> messages;
    bool consumes = false;
    bool failCreate = false;
    int ncDestroyed = 0;

protected:
    void PostNcDestroy() override { ++ncDestroyed; }

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

// Creates a child of our own class.
inline bool CreateChild(CWnd& wnd, HWND parent, int id)
{
    LPCWSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return wnd.CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != FALSE;
}

}  // namespace uitest
