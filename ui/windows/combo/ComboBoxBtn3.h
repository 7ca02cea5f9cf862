#pragma once
#include <windows.h>

#include <memory>

#include "platform/ui/Wnd.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/combo/ComboShared.h"

class CComboBox3;

// What the combo box hands to its closed box.
struct ComboBoxBtn3Params {
    HDC stateDCs[kComboBoxStates] = {};  // normal, hover, pressed, focused; the combo's
    HDC frameDC = nullptr;               // the frame with the arrow, blended over
    ComboRect rect;
    HWND owner = nullptr;
    CComboBox3* combo = nullptr;
    const wchar_t* text = L"";
    int itemIndex = -1;
};

// The closed zone combo box: a child of the owner showing the current item
// and the drop-down arrow; a press opens the list.
class CComboBoxBtn3 : public CWnd {
public:
    enum FaceState { Normal, Hover, Pressed, Focused };

    explicit CComboBoxBtn3(const ComboBoxBtn3Params& params);
    ~CComboBoxBtn3() override;

    BOOL Create(CWnd* owner, const ComboRect& rect);
    void SetItem(const wchar_t* text, int index);
    void Render();
    // Hover 0, not open; focus back on the box.
    void CloseAndFocus();

    int GetItemIndex() const { return m_nItemIndex; }
    int GetHoverState() const { return m_nHoverState; }
    BOOL IsOpen() const { return m_bOpen; }
    int GetShownState() const { return m_nShownState; }
    HDC GetFace() const { return m_hFaceDC; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Redraw();
    void OnPaint();

    HDC m_hFaceDC = nullptr;  // a cached face, owned by the cache
    HDC m_stateDCs[kComboBoxStates] = {};
    HDC m_hFrameDC = nullptr;
    ComboRect m_rect;
    wchar_t m_szText[kComboTextChars] = {};
    int m_nItemIndex = kComboNoItem;
    BOOL m_bOpen = FALSE;
    BOOL m_bEnabled = TRUE;
    int m_nHoverState = 0;
    int m_nShownState = Normal;
    HWND m_hOwner = nullptr;
    CComboBox3* m_pCombo = nullptr;
};
