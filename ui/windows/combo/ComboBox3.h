#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Wnd.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/combo/ComboShared.h"

class CComboBoxBtn3;
class CComboBoxList3;

// The zone combo box: the item list, the current index, the skin images and
// their pre-rendered faces. Not a window itself: it owns the closed box
// (CComboBoxBtn3) and the drop-down list (CComboBoxList3), and posts
// WM_ZONEMODE_CHANGED to its owner when the user picks an item.
class CComboBox3 {
public:
    enum ListEvent { Opened = 0, ClosedWithoutChoice = 1, Chosen = 2, FocusList = 3 };
    enum Image { BoxNormal, BoxHover, BoxPressed, RowNormal, RowHover, Frame, ImageCount };

    CComboBox3();
    ~CComboBox3();
    CComboBox3(const CComboBox3&) = delete;
    CComboBox3& operator=(const CComboBox3&) = delete;

    int LoadImages(HMODULE module, CWnd* owner, int x, int y, HDC background);
    int Prerender();
    int Create();
    void FreeImages();
    int AddString(const wchar_t* text);
    int SetCurSel(int index);
    int GetCurSel() const { return m_nCurrent; }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    void Release();

    void OnListEvent(int event, int index);

    CComboBoxBtn3* GetButton() const { return m_button.get(); }
    CComboBoxList3* GetList() const { return m_list.get(); }
    ComboRect GetBoxRect() const { return m_boxRect; }

    // The text last reported with WM_ZONEMODE_CHANGED (its lParam points here).
    static const wchar_t* ChosenText();

private:
    void ShowCurrentOnBox();

    std::unique_ptr<Gdiplus::Bitmap> m_images[ImageCount];
    std::unique_ptr<CMemoryDC> m_dcs[ImageCount];
    ComboRect m_boxRect;
    int m_nX = 0, m_nY = 0;
    HDC m_hBackgroundDC = nullptr;  // the owner's, not owned
    CWnd* m_pOwner = nullptr;
    std::vector<std::wstring> m_items;
    std::unique_ptr<CComboBoxBtn3> m_button;
    std::unique_ptr<CComboBoxList3> m_list;
    int m_nCurrent = -1;
};
