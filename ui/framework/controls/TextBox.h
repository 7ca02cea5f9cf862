#pragma once
#include <string>

#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/controls/TextBlock.h"

// A label that turns into an edit field while the user types. A press shows
// a system "Edit" in a popup host over the label; losing the edit's focus
// (Tab, Enter, a click elsewhere) sets the typed text and hides the host.
// The keys of the edit are handled in PreTranslateMessage, so they work
// under a modal loop that walks it (CDialog::DoModal).
class TextBox : public TextBlock {
public:
    // Longest text read back from the edit, terminator included.
    static constexpr int kEditTextChars = 260;

    TextBox();
    ~TextBox() override;  // 45

    property_bst_override<int> NumbersOnly;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;  // 3
    void SetText(const std::wstring& text) override;                          // 44

    HWND HostHandle() const { return m_hHostWnd; }
    HWND EditHandle() const { return m_edit.GetSafeHwnd(); }
    // Whether the edit is shown over the label.
    bool IsEditing() const { return m_bEditing; }

protected:
    void OnMouseDown(UINT keys, POINTS pt) override;                          // 19
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;  // 36
    int OnCreated() override;                                                 // 39
    void PaintContent(Gdiplus::Graphics& graphics) override;                 // 41

    virtual LRESULT HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);  // 46
    virtual DWORD AdjustEditStyle(DWORD style);                                               // 47
    virtual void OnEditChange();                                                              // 48
    virtual void OnEditSetFocus();                                                            // 49
    virtual void OnEditKillFocus();                                                           // 50

    // The edit's text, cut to kEditTextChars - 1 characters.
    std::wstring ReadEditText() const;
    // Replaces the edit's text and selects [start, end) (end -1: to the end).
    void PutEditText(const std::wstring& text, int start, int end);

    // The system edit, with the keys and characters of a number entry.
    class CTextBoxEdit : public CWnd {
    public:
        explicit CTextBoxEdit(TextBox& owner) : m_owner(owner) {}
        BOOL PreTranslateMessage(MSG* msg) override;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        BOOL OnKeyDown(WPARAM key);
        void PasteDigits();
        TextBox& m_owner;
    };

    HWND m_hHostWnd = nullptr;
    CTextBoxEdit m_edit{*this};
    std::wstring m_strSavedText;
    WNDPROC m_pfnHostProc = nullptr;
    int32_t m_bNumbersOnly = 0;
    platform::UniqueGdiObject m_editFont;

private:
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static const wchar_t* HostClassName();
    void DestroyEditor();

    bool m_bEditing = false;
};
