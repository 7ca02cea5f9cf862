#pragma once
#include <windows.h>

#include "platform/ui/Dialog.h"
#include "platform/ui/UiHandles.h"

// The program's one window: a borderless modal dialog of the class
// "VYL LumoCore App Class". It also runs the command-line modes, unseen.
class CLumoDlg : public CDialog {
public:
    CLumoDlg();
    ~CLumoDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Close button, Alt+F4 and Esc.
    void CancelProgram();
    // Enter (1) or Esc (0) in a number box goes to the box's owner; TRUE when
    // the focus was in one.
    BOOL HandleEditKey(int enter);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The UI thread's apartment, which the lighting-service client uses.
    platform::ComApartment m_comApartment;
    platform::UniqueIcon m_hIcon;
    HACCEL m_hAccel = nullptr;
};
