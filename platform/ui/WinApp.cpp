#include "platform/ui/WinApp.h"

#include "platform/ui/Wnd.h"

CWinApp* CWinApp::s_current = nullptr;

CWinApp::CWinApp()
{
    // The first object constructed is the application.
    if (s_current == nullptr) s_current = this;
}

CWinApp::~CWinApp()
{
    if (s_current == this) s_current = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (m_pMainWnd != nullptr && CWnd::WalkPreTranslateTree(m_pMainWnd->GetSafeHwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    m_nExitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
    return ExitInstance();
}

int RunWinApp(HINSTANCE instance, LPCWSTR cmdLine, int cmdShow)
{
    CWinApp* app = CWinApp::Current();
    if (app == nullptr) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine != nullptr ? cmdLine : L"";
    app->m_nCmdShow = cmdShow;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
