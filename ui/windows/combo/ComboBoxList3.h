#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/Wnd.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/combo/ComboShared.h"

class CComboBox3;

// What the combo box hands to the list of one opening.
struct ComboBoxList3Params {
    int x = 0, y = 0;  // in the owner's client coordinates
    int width = 0;
    int itemHeight = 0;
    std::vector<std::wstring> items;
    int hovered = -1;
    HDC rowNormalDC = nullptr;  // the combo's
    HDC rowHoverDC = nullptr;
    HWND owner = nullptr;
    CComboBox3* combo = nullptr;
};

// The drop-down list of the zone combo box: a layered pop-up that slides
// open below the box, then takes the mouse capture until a choice or a
// click elsewhere.
class CComboBoxList3 : public CWnd {
public:
    static constexpr UINT_PTR kSlideTimerId = 1000;
    static constexpr UINT kSlideTimerMs = 10;
    static constexpr int kSlideSteps = 20;

    explicit CComboBoxList3(const ComboBoxList3Params& params);
    ~CComboBoxList3() override;

    BOOL Show();
    void Render();
    BOOL PreTranslateMessage(MSG* msg) override;

    int GetHovered() const { return m_nHovered; }
    int GetStep() const { return m_nStep; }
    POINT GetScreenPosition() const { return {m_nX, m_nY}; }
    int GetTotalHeight() const;
    HDC GetFace() const { return m_hFaceDC; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Present(int sourceY, int height);
    void OnTimer();
    void OnMouseMove(LPARAM lParam);
    void OnLButtonDown(LPARAM lParam);
    void OnKeyDown(WPARAM wParam, LPARAM lParam);
    void SetHovered(int row);
    void Close(bool withChoice);

    HDC m_hFaceDC = nullptr;  // a cached face, owned by the cache
    HDC m_hRowNormalDC = nullptr;
    HDC m_hRowHoverDC = nullptr;
    HWND m_hOwner = nullptr;
    CComboBox3* m_pCombo = nullptr;
    std::vector<std::wstring> m_items;
    int m_nX = 0, m_nY = 0;
    int m_nWidth = 0;
    int m_nItemHeight = 0;
    int m_nHovered = -1;
    int m_nStep = 1;
};
