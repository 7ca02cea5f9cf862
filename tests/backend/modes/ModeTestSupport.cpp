#include "tests/backend/modes/ModeTestSupport.h"

namespace modetest {

namespace {
const wchar_t kSinkClass[] = L"LumoTestMessageSink";
// Only keeps a listener that never closes from holding the run.
constexpr ULONGLONG kListenerCloseLimitMs = 10000;
}

MessageSink::MessageSink()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kSinkClass;
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW, kSinkClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               windowClass.hInstance, this);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageSink::~MessageSink()
{
    DestroyWindow(m_window);
}

LRESULT CALLBACK MessageSink::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MessageSink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message >= 0xC000 && message <= 0xFFFF) {
        self->m_received.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<MessageSink::Received> MessageSink::Collect(UINT message)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    std::vector<Received> found;
    for (const Received& received : m_received)
        if (received.message == message) found.push_back(received);
    m_received.clear();
    return found;
}

void CloseListeners()
{
    while (HWND listener = FindWindowW(L"VORN VYL Lumo Core Listener Sync Proc Invisible Window", nullptr)) {
        PostMessageW(listener, WM_CLOSE, 0, 0);
        const ULONGLONG deadline = GetTickCount64() + kListenerCloseLimitMs;
        while (IsWindow(listener) && GetTickCount64() < deadline) Sleep(10);
        if (IsWindow(listener)) break;
    }
}

std::wstring CommonFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, folder, csidl, TRUE);
    return folder;
}

void WriteIni(const std::wstring& path, const wchar_t* section, const wchar_t* key, const std::wstring& value)
{
    WritePrivateProfileStringW(section, key, value.c_str(), path.c_str());
}

}  // namespace modetest
