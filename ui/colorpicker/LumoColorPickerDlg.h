#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/colorpicker/BackdropSnapshot.h"
#include "ui/colorpicker/LumoColorPicker.h"
#include "ui/framework/core/Control.h"

// The colour picker popup: covers its parent's window with a blurred
// half-size snapshot of it, taken at every show, and shows the
// LumoColorPicker panel over it. Forwards the panel's colour
// reports, hides on OK or Cancel, and on Cancel restores the colour it was
// shown with.
class LumoColorPickerDlg : public Control {
public:
    // The panel's place at 100 %, x, y, width, height; centred vertically.
    static constexpr int kPickerX = 0, kPickerY = 0, kPickerWidth = 696, kPickerHeight = 609;
    static constexpr float kScaleDown = 2.0f;
    static constexpr int32_t kSigma = 1;
    static constexpr uint32_t kInitialColorOnShow = 0xFF000000;

    LumoColorPickerDlg();
    ~LumoColorPickerDlg() override;  // 44

    // The panel's colour; setting it reports through ColorChanged when it differs.
    property_bst_override<Gdiplus::Color> Color;
    // Every colour the panel reports, on the UI thread.
    Event<Gdiplus::Color&> ColorChanged;

    // Where the popup goes over its parent. The window and its window-sized
    // surfaces are made the first time it is asked for: many sessions never
    // open it.
    void CreateWhenShown(HWND parent, int x, int y, int width, int height);
    // Makes the window now when it was set to wait; false when it cannot be made.
    bool EnsureCreated();

    // The panel, for its recent colours and for tests.
    LumoColorPicker& Picker() { return m_picker; }
    // The last blurred snapshot; null before the first show or after an empty one.
    const std::shared_ptr<Gdiplus::Bitmap>& Backdrop() const { return m_backdrop; }

    // Shown: takes a new snapshot, then shows the panel at its place.
    void SetIsVisible(int shown, int status) override;  // 8

protected:
    DWORD AdjustStyle(DWORD style) override;                                // 37
    DWORD AdjustExStyle(DWORD exStyle) override;                            // 38
    int OnCreated() override;                                               // 39
    void OnPaint(HDC paintDC) override;                                     // 13
    void OnMouseDown(UINT keys, POINTS pt) override;                        // 19
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;  // 40

    virtual void RaiseColorChanged(Gdiplus::Color color);    // 45
    virtual void OnPickerColorChanged(Gdiplus::Color color);  // 46
    virtual void OnPickerOk();                                // 47
    virtual void OnPickerCancel();                            // 48

private:
    void PlacePicker();

    HWND m_pendingParent = nullptr;
    RECT m_pendingBounds{};  // x, y, width, height

    LumoColorPicker m_picker;
    Thickness m_pickerRect{kPickerX, kPickerY, kPickerWidth, kPickerHeight};  // x, y, width, height
    std::shared_ptr<Gdiplus::Bitmap> m_backdrop;
    // The backdrop stretched to the popup's size, ready to copy.
    CMemoryDC m_stretchedBackdrop;
    BackdropSnapshot m_snapshot;
    float m_fScaleDown = kScaleDown;
    int32_t m_nSigma = kSigma;
    uint32_t m_colorOnShow = kInitialColorOnShow;
};
