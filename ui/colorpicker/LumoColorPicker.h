#pragma once
#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "platform/win/UniqueHandle.h"
#include "ui/colorpicker/HSVColorPicker.h"
#include "ui/colorpicker/RecentColorList.h"
#include "ui/framework/controls/LumoButton.h"
#include "ui/framework/controls/LumoColorButton2.h"
#include "ui/framework/controls/LumoNumberTextBox.h"
#include "ui/framework/controls/LumoTextBlock.h"
#include "ui/framework/core/Control.h"

class CLightButton;
class CWnd;

// Posted by the notify thread to the panel's window: report the colour if it
// changed since the last report. Private to the panel.
constexpr UINT WM_LUMOPICKER_NOTIFY = WM_USER + 0xE0;

// The colour-choosing panel of the picker popup: the ring-and-triangle
// picker, a preview, red, green and blue number boxes, default and recent
// swatches, a close button and OK and Cancel. Keeps every part in step with
// the colour it holds and reports that colour through ColorChanged, always
// on the UI thread. Its window is a hidden popup until shown.
class LumoColorPicker : public Control {
public:
    static constexpr size_t kSwatchCount = 10;
    static constexpr UINT kOkButtonId = 0x807F;
    static constexpr UINT kCancelButtonId = 0x8080;
    static constexpr uint32_t kInitialColor = 0x00FFFFFF;
    static constexpr std::array<uint32_t, kSwatchCount> kDefaultColors = {
        0xFFFF0000, 0xFFFF6400, 0xFFFFFF00, 0xFF00FF00, 0xFF00FFFF,
        0xFF0000FF, 0xFF6400FF, 0xFFFF00FF, 0xFFFFFFFF, 0xFF000000};

    // SetColor's modes: what else follows the new colour.
    enum SetColorMode { kModeBoxes = 0, kModePicker = 1, kModeBoxesAndPicker = 2, kModePanelOnly = 3 };

    LumoColorPicker();
    ~LumoColorPicker() override;  // 44

    property_bst_override<Gdiplus::Color> Color;
    Event<Gdiplus::Color&> ColorChanged;
    Event<> OK;
    Event<> Cancel;

    // Puts the colour first in the recent list and on the recent swatches.
    void AddRecentColor(Gdiplus::ARGB color);
    const std::vector<uint32_t>& RecentColors() const { return m_recent.Colors(); }

    virtual void SetColor(Gdiplus::Color color, int mode);  // 45

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;  // 3
    void SetIsVisible(int shown, int status) override;                         // 8

    // The parts, for the popup and for tests.
    HSVColorPicker& Picker() { return m_picker; }
    LumoNumberTextBox& RedBox() { return m_redBox; }
    LumoNumberTextBox& GreenBox() { return m_greenBox; }
    LumoNumberTextBox& BlueBox() { return m_blueBox; }
    LumoColorButton2& DefaultSwatch(size_t i) { return *m_defaultSwatches[i]; }
    LumoColorButton2& RecentSwatch(size_t i) { return *m_recentSwatches[i]; }
    LumoButton& CloseButton() { return m_closeButton; }
    CLightButton* OkButton() { return m_okButton.get(); }
    CLightButton* CancelButton() { return m_cancelButton.get(); }
    // The window whose render DC is the BackgroundDC; the owner when unset.
    void SetBackdropWindow(HWND window);
    // The preview's place in the panel.
    RECT PreviewRect() const;

protected:
    void OnPaint(HDC paintDC) override;                                 // 13
    DWORD AdjustStyle(DWORD style) override;                            // 37
    DWORD AdjustExStyle(DWORD exStyle) override;                        // 38
    int OnCreated() override;                                           // 39
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;  // 40
    void PaintContent(Gdiplus::Graphics& graphics) override;            // 41

private:
    struct Layout;

    void CreateParts(const Layout& layout);
    bool PrepareBackgroundFace();
    void LayBackdrop(HDC surface, int sourceX, int sourceY);
    void SubscribeParts();
    void WriteBoxes(uint32_t color);
    void SetPickerColor(uint32_t color);
    void FocusPicker();
    void RaiseOk();
    void RaiseCancel();

    void OnPickerColorChanged(Gdiplus::Color color);
    void OnBoxTextChanged();
    void OnSwatchClick(LumoColorButton2& swatch);
    void OnBlackOrWhiteClick(LumoColorButton2& swatch);
    void OnSwatchPress(LumoColorButton2& swatch);
    void OnAnimationStarted();
    void OnAnimationCompleted();

    void StartNotifyTimer();
    void StopNotifyTimer();
    void NotifyThread();
    void ReportIfChanged();

    HSVColorPicker m_picker;
    LumoTextBlock<14, 0, 100> m_title;
    LumoTextBlock<9, 0, 75> m_colorLabel;
    LumoTextBlock<9, 0, 75> m_redLabel;
    LumoTextBlock<9, 0, 75> m_greenLabel;
    LumoTextBlock<9, 0, 75> m_blueLabel;
    LumoNumberTextBox_10pt_Bold_100 m_redBox;
    LumoNumberTextBox_10pt_Bold_100 m_greenBox;
    LumoNumberTextBox_10pt_Bold_100 m_blueBox;
    LumoTextBlock<9, 0, 75> m_defaultLabel;
    LumoTextBlock<9, 0, 75> m_recentLabel;
    LumoButton m_closeButton;
    // The image buttons speak to a class-library window: this one stands
    // for the panel's own window, which it does not own.
    std::unique_ptr<CWnd> m_notifyWnd;
    std::unique_ptr<CLightButton> m_okButton;
    std::unique_ptr<CLightButton> m_cancelButton;
    std::array<std::unique_ptr<LumoColorButton2>, kSwatchCount> m_defaultSwatches;
    std::array<std::unique_ptr<LumoColorButton2>, kSwatchCount> m_recentSwatches;
    RECT m_previewRect = {};
    // The background image at the panel's size.
    CMemoryDC m_backgroundFace;
    // The backdrop's pixels behind the panel, copied to see whether they are opaque.
    CMemoryDC m_backdropCopy;
    HWND m_hBackdropWnd = nullptr;

    // Read by the notify thread.
    std::atomic<uint32_t> m_color{kInitialColor};
    RecentColorList m_recent;
    std::atomic<uint32_t> m_lastReported{0};
    int32_t m_bBoxGuard = 0;
    int32_t m_bPickerGuard = 0;
    int32_t m_bTyping = 0;
    int32_t m_bFocusPicker = 1;

    platform::UniqueHandle m_notifyTimer;
    platform::UniqueHandle m_stopEvent;
    std::thread m_notifyThread;
    int32_t m_nNotifyPeriod = 0;
    // Set while a notify message waits in the queue, so ticks never pile up.
    std::atomic<bool> m_notifyPosted{false};
};
