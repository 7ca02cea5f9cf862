#pragma once
#include <windows.h>

#include <memory>

#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/keyboard/KeybdWnd.h"

// The model frame around the keyboard picture: a child of the main dialog
// that draws "KB_FRAME_RS200" over the dialog's background and holds the
// keyboard picture (CKeybdWnd) as its own child.
class CCustomWnd : public CWnd {
public:
    static constexpr const wchar_t* kFramePictureName = L"KB_FRAME_RS200";
    // Size of the keyboard picture at 100 %.
    static constexpr int kKeyboardWidth = 947;
    static constexpr int kKeyboardHeight = 516;

    CCustomWnd() = default;
    ~CCustomWnd() override;

    BOOL Create(CWnd* parent, HDC parentBackground, int x, int y, int width, int height, unsigned modelType);
    // Once the top-level window shows: layered where child windows may be
    // (painted otherwise); every call brings the frame to the top.
    void MakeLayered();
    void Destroy();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CKeybdWnd& Keyboard() { return m_keybd; }
    bool IsCreated() const { return m_bCreated; }
    bool IsLayered() const { return m_bLayered; }
    HDC BackBufferDC() const { return m_backBuffer.GetSafeHdc(); }

private:
    void LoadFrame();

    HDC m_hParentBackground = nullptr;  // the dialog's, not ours
    int m_nX = 0, m_nY = 0, m_nWidth = 0, m_nHeight = 0;
    std::unique_ptr<platform::WindowDc> m_windowDC;
    CMemoryDC m_backBuffer;
    bool m_bCreated = false;
    bool m_bLayered = false;
    CKeybdWnd m_keybd;
};
