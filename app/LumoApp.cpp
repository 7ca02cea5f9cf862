#include "app/LumoApp.h"

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"

CLumoApp theApp;

CLumoApp::CLumoApp()
{
    DetectModelClass();
}

BOOL CLumoApp::InitInstance()
{
    ParseCommandLine(m_lpCmdLine);
    if (!TakeSingleInstance()) return FALSE;
    ReadLangSwitch(m_lpCmdLine);

    CWinApp::InitInstance();

    RegisterMainWindowClass(m_hInstance);

    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) m_gdiplusToken = 0;

    CLumoDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The program has no loop of its own beyond the dialog's.
    return FALSE;
}

int CLumoApp::ExitInstance()
{
    if (m_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
        m_gdiplusToken = 0;
    }
    g_hSingleInstanceEvent.Reset();
    return CWinApp::ExitInstance();
}
