#pragma once
#include <windows.h>

#include "platform/ui/WinApp.h"

class CLumoApp : public CWinApp {
public:
    // Runs the model probe.
    CLumoApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    ULONG_PTR m_gdiplusToken = 0;
};

extern CLumoApp theApp;
