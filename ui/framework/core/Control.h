#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/framework/core/Delegate.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/core/Properties.h"
#include "ui/framework/core/VisualStates.h"

// Posted by any thread to have a control render on the UI thread.
constexpr UINT WM_CONTROL_RENDER = WM_USER + 0x320;
static_assert(WM_CONTROL_RENDER == 0x720, "WM_CONTROL_RENDER is 0x720");

// The base of every framework control. Each object owns one window of the
// class "Control", whose messages it turns into calls of its virtual
// operations. UI thread only; the object must outlive its window's messages.
class Control {
public:
    struct Thickness {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;

        Thickness() = default;
        explicit Thickness(int32_t all) : left(all), top(all), right(all), bottom(all) {}
        Thickness(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
        bool operator==(const Thickness& o) const
        {
            return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
        }
        bool operator!=(const Thickness& o) const { return !(*this == o); }
    };

    // Owns at most one GDI+ brush of any kind; copies clone it. The default
    // holds opaque white; Empty() holds none.
    class Brush {
    public:
        Brush();
        explicit Brush(Gdiplus::Brush* owned) : m_pBrush(owned) {}
        static Brush Empty() { return Brush(nullptr); }
        Brush(const Brush& other);
        Brush& operator=(const Brush& other);
        Brush(Brush&& other) noexcept : m_pBrush(std::move(other.m_pBrush)) {}
        Brush& operator=(Brush&& other) noexcept;
        ~Brush();

        Gdiplus::Brush* Get() const { return m_pBrush.get(); }
        bool IsEmpty() const { return !m_pBrush; }
        // Brushes compare by the held object, not by its look.
        bool operator==(const Brush& other) const { return m_pBrush == other.m_pBrush; }
        bool operator!=(const Brush& other) const { return !(*this == other); }

    private:
        std::unique_ptr<Gdiplus::Brush> m_pBrush;
    };

    Control();
    // Destroys the window while no subclass handler may run any more (see
    // WindowProc), then releases the members.
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Creates the window; the result is OnCreated's, 0 when no window was made.
    int Create(HWND parent, int x, int y, int width, int height);

    // The object behind a window of class "Control", or null.
    static Control* FromHandle(HWND window);

    // Visual states (forwarded to the control's state maps).
    void SetStateAction(const std::wstring& group, const std::wstring& state, StateAction action);
    void GoToState(const std::wstring& group, const std::wstring& state);
    void RefreshVisualStates();
    void SetNormalAction(StateAction action);
    void SetMouseOverAction(StateAction action);
    void SetPressedAction(StateAction action);
    void SetFocusedAction(StateAction action);
    void SetUnfocusedAction(StateAction action);
    const std::wstring* CurrentState(const std::wstring& group) const;

    // Properties, in construction order.
    property_bs_readonly_override<HWND> Handle;
    property_bs_readonly_override<int> IsCreated;
    property_bst_override<int> X;
    property_bst_override<int> Y;
    property_bst_override<int> Width;
    property_bst_override<int> Height;
    property_bst_override<Gdiplus::Point> Location;
    property_bst_override<Gdiplus::Size> Size;
    property_bst_override<Gdiplus::Rect> Bounds;
    property_bs_readonly_override<int> IsMouseOver;
    property_bst_override<std::shared_ptr<Gdiplus::Bitmap>> BackgroundImage;
    property_bst_override<int> StretchImage;
    property_bst_override<Gdiplus::Color> Background;
    property_bst_override<float> FontSize;
    property_bst_override<Gdiplus::FontStyle> FontStyle;
    property_bst_override<std::wstring> FontFamily;
    property_bst_override<Brush> Foreground;
    property_bst_override<float> Opacity;
    property_bst_override<int> IsEnabled;
    property_bst_override<int> IsVisible;
    property_bs_readonly_override<int> IsFocused;
    property_bst_override<int> IsLayered;
    property_bst_override<int> IsTabStop;
    property_bst_override<int> IsHitTestVisible;
    property_bst_override<Thickness> Margin;
    property_bst_override<Brush> SecondaryBrush;
    property_bst_override<int> Tag;
    property_bs_readonly_override<HDC> RenderDC;
    property_bst_override<HDC> BackgroundDC;

    // Mouse events.
    MouseEvent MouseEnter;
    MouseEvent MouseMove;
    MouseEvent MouseLeave;
    MouseEvent LButtonDown;
    MouseEvent RButtonDown;
    MouseEvent MButtonDown;
    MouseEvent MouseDown;
    MouseEvent LButtonUp;
    MouseEvent RButtonUp;
    MouseEvent MButtonUp;
    MouseEvent MouseUp;
    MouseEvent MouseWheel;

protected:
    // The state-action and current-state maps.
    VisualStates m_visualStates;

public:

    // The virtual operations, in slot order; subclasses add theirs after these.
    virtual void Render();                                            // 0
    virtual BOOL InvalidateAsync();                                   // 1
    virtual void RenderRect(RECT dirty);                              // 2
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);  // 3

protected:
    virtual LRESULT OnCreate(CREATESTRUCTW* create);                  // 4
    virtual LRESULT OnClose();                                        // 5
    virtual LRESULT OnDestroy();                                      // 6
public:
    virtual void SetIsEnabled(int enabled);                           // 7
    virtual void SetIsVisible(int shown, int status);                 // 8
protected:
    virtual void OnWindowPosChanged(WINDOWPOS* pos);                  // 9
    virtual void SetPosition(int x, int y);                           // 10
    virtual void SetSize(int width, int height);                      // 11
    virtual LRESULT OnEraseBkgnd(HDC dc);                             // 12
    virtual void OnPaint(HDC paintDC);                                // 13
    virtual void OnMouseMove(UINT keys, POINTS pt);                   // 14
    virtual void OnMouseLeave();                                      // 15
    virtual void OnLButtonDown(UINT keys, POINTS pt);                 // 16
    virtual void OnMButtonDown(UINT keys, POINTS pt);                 // 17
    virtual void OnRButtonDown(UINT keys, POINTS pt);                 // 18
    virtual void OnMouseDown(UINT keys, POINTS pt);                   // 19
    virtual void OnLButtonUp(UINT keys, POINTS pt);                   // 20
    virtual void OnMButtonUp(UINT keys, POINTS pt);                   // 21
    virtual void OnRButtonUp(UINT keys, POINTS pt);                   // 22
    virtual void OnMouseUp(UINT keys, POINTS pt);                     // 23
    virtual void OnLButtonDblClk(UINT keys, POINTS pt);               // 24
    virtual void OnMouseWheel(UINT keys, short delta, POINTS pt);     // 25
    virtual void OnSetFocus(HWND losing);                             // 26
    virtual void OnKillFocus(HWND gaining);                           // 27
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);          // 28
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);        // 29
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);            // 30
    virtual void OnStyleChanged(int which, STYLESTRUCT* style);       // 31
public:
    virtual void SetLayered(int layered);                             // 32
    virtual void SetTabStop(int tabStop);                             // 33
    virtual void SetTransparent(int transparent);                     // 34
protected:
    virtual LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);       // 35
    virtual LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam);  // 36
    virtual DWORD AdjustStyle(DWORD style);                           // 37
    virtual DWORD AdjustExStyle(DWORD exStyle);                       // 38
    virtual int OnCreated();                                          // 39
    virtual Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics);  // 40
    virtual void PaintContent(Gdiplus::Graphics& graphics);           // 41
    virtual int DrawHoverFrame(Gdiplus::Graphics& graphics);          // 42
public:
    virtual void SetOpacity(float opacity);                           // 43

protected:
    // The default procedure with the message being dispatched now.
    LRESULT DefaultProc();
    // Renders without presenting; shared by Render and RenderRect.
    bool RenderSurface();
    // Presents the surface; a null rectangle means the whole window.
    void Present(const RECT* dirty);
    // Non-layered: the background DC's pixels at the control's place into the
    // cleared surface.
    void LayBackgroundPixels();

    // A DC for GDI drawing among the GDI+ drawing of a render: the surface's
    // own DC when the graphics is the render's, else the graphics' HDC.
    class GdiDrawing {
    public:
        GdiDrawing(Control& control, Gdiplus::Graphics& graphics);
        ~GdiDrawing();
        GdiDrawing(const GdiDrawing&) = delete;
        GdiDrawing& operator=(const GdiDrawing&) = delete;
        HDC Get() const { return m_dc; }

    private:
        HDC m_dc = nullptr;
        Gdiplus::Graphics* m_pBorrowedFrom = nullptr;
    };

    HWND m_hWnd = nullptr;
    HWND m_hParentWnd = nullptr;
    int32_t m_nX = 0;
    int32_t m_nY = 0;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_bVisible = 0;
    int32_t m_bEnabled = 0;
    int32_t m_bHover = 0;
    float m_fOpacity = 1.0f;
    std::shared_ptr<Gdiplus::Bitmap> m_pBackgroundImage;
    int32_t m_bStretchImage = 1;
    Gdiplus::Color m_clrBackground{0};
    CMemoryDC m_memDC;
    HDC m_hBackgroundDC = nullptr;
    int32_t m_bLayered = 0;
    int32_t m_bTabStop = 0;
    Thickness m_margin;
    Brush m_secondaryBrush = Brush::Empty();
    WNDPROC m_pfnDefaultProc = ::DefWindowProcW;
    uint32_t m_uClickCount = 0;
    UINT_PTR m_uClickTimerId = 0;
    UINT m_uCurrentMessage = 0;
    WPARAM m_wCurrentParam = 0;
    LPARAM m_lCurrentParam = 0;
    int32_t m_bRenderSuspended = 0;
    int32_t m_nTag = 0;
    Brush m_foreground;
    float m_fFontSize = 12.0f;
    Gdiplus::FontStyle m_fontStyle = Gdiplus::FontStyleRegular;
    std::wstring m_strFontFamily = L"Arial";
    int32_t m_bHitTestVisible = 1;

private:
    static LRESULT CALLBACK ControlClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK ClickTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
    static bool RegisterControlClass();

    // The window is gone (WM_NCDESTROY): forget it, so that a handle the
    // system hands out again is never taken for ours.
    void ForgetWindow();
    void RaiseMouse(const MouseEvent& event, UINT keys, uint32_t clickCount, POINTS pt, int32_t delta = 0);
    // While the mouse passes through: WS_EX_TRANSPARENT on a layered or
    // top-level window, none on a painted child, which answers WM_NCHITTEST.
    void MatchTransparentBit();

    // The Graphics of the render under way, drawing into the memory DC.
    Gdiplus::Graphics* m_pRenderGraphics = nullptr;
    // Set while CreateWindowExW runs: nothing renders before OnCreated.
    bool m_bCreating = false;
    // Set by the destructor: from then on the window's messages reach only the
    // default procedure, so no handler of a destroyed subclass or owner runs.
    bool m_bDestroying = false;
    // Set while MatchTransparentBit changes the style: the field keeps its value.
    bool m_bMatchingTransparentBit = false;
};
