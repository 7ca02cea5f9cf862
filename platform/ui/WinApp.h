#pragma once
#include <windows.h>

class CWnd;

// The program's one application object. It is constructed during static
// initialisation; the entry point then calls InitInstance and, when that
// returns FALSE, ExitInstance, whose value is the process's exit code.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // TRUE runs the application's own message loop (Run).
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_nExitCode; }
    // Pumps messages until WM_QUIT, then ExitInstance.
    virtual int Run();

    static CWinApp* Current() { return s_current; }

    HINSTANCE m_hInstance = nullptr;
    // The command line without the program's name.
    LPCWSTR m_lpCmdLine = L"";
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;

private:
    static CWinApp* s_current;
};

// What the entry point does: fills in the application object and runs it.
// Returns -1 when the program has no application object.
int RunWinApp(HINSTANCE instance, LPCWSTR cmdLine, int cmdShow);
