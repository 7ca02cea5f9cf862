// Shows the framework's styled controls in their states on the screen for a
// while, for a screenshot of the screen: controls_showcase.exe <milliseconds>.
// The host is striped, so a control's blending over what lies behind it shows.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/ui/BenchWindow.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/controls/LumoButton.h"
#include "ui/framework/controls/LumoCheckBox.h"
#include "ui/framework/controls/LumoColorButton.h"
#include "ui/framework/controls/LumoNumberTextBox.h"
#include "ui/framework/controls/LumoRadioButton.h"
#include "ui/framework/controls/LumoTextBlock.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace {

constexpr int kHostWidth = 760;
constexpr int kHostHeight = 300;
constexpr int kStripe = 8;

// The host's look is kept in a memory DC: its WM_ERASEBKGND copies it, and
// the controls take it as their background DC.
LRESULT CALLBACK StripedHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* stripes = reinterpret_cast<CMemoryDC*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND && stripes) {
        BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, kHostWidth, kHostHeight, stripes->GetSafeHdc(), 0, 0, SRCCOPY);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeStripedHost(CMemoryDC& stripes)
{
    stripes.Resize(kHostWidth, kHostHeight);
    auto* pixels = static_cast<uint32_t*>(stripes.Bits());
    for (int y = 0; y < kHostHeight; ++y)
        for (int x = 0; x < kHostWidth; ++x)
            pixels[y * kHostWidth + x] = ((x + y) / kStripe) % 2 ? 0xFF1C2430u : 0xFF3A2C34u;

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = StripedHostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ControlsShowcaseHost";
    RegisterClassExW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"showcase", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                           kHostWidth, kHostHeight, nullptr, nullptr, wc.hInstance, &stripes);
}

int Show(DWORD milliseconds)
{
    wcscpy(g_szSkinResType, kSkinSet1080);
    InitLangFilePath();
    int language = 0;
    SelectLanguage(language);
    g_nLangIndexUI = language;
    CMemoryDC stripes;
    HWND host = MakeStripedHost(stripes);

    // One button per common state, then a disabled one.
    std::vector<std::unique_ptr<LumoButton>> buttons;
    const wchar_t* states[] = {L"Normal", L"MouseOver", L"Pressed", L"Normal"};
    for (int i = 0; i < 4; ++i) {
        auto button = std::make_unique<LumoButton>(L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK");
        button->Create(host, 20 + i * 160, 20, 150, 38);
        button->GoToState(L"CommonStates", states[i]);
        if (i == 3) button->IsEnabled = 0;
        buttons.push_back(std::move(button));
    }

    LumoCheckBox unchecked(L"IDS_INFO_RANDOM");
    unchecked.Create(host, 20, 80, 200, 24);
    LumoCheckBox checked(L"IDS_INFO_RANDOM");
    checked.Create(host, 240, 80, 200, 24);
    checked.IsChecked = 1;
    LumoCheckBox hovered(L"IDS_INFO_RANDOM");
    hovered.Create(host, 460, 80, 200, 24);
    hovered.GoToState(L"CommonStates", L"MouseOver");

    LumoRadioButton first(L"IDS_EFF_STATIC", L"showcase", L"", L"", L"");
    first.Create(host, 20, 120, 200, 30);
    LumoRadioButton second(L"IDS_EFF_BREATH", L"showcase", L"", L"", L"");
    second.Create(host, 240, 120, 200, 30);
    second.IsChecked = 1;
    LumoRadioButton disabled(L"IDS_EFF_STROBING", L"showcase", L"", L"", L"");
    disabled.Create(host, 460, 120, 200, 30);
    disabled.IsEnabled = 0;

    std::vector<std::unique_ptr<LumoColorButton>> swatches;
    const Gdiplus::ARGB colours[] = {0xFFFF252F, 0xFF00C8FF, 0xFF40FF60, 0xFFFFD000};
    for (int i = 0; i < 4; ++i) {
        auto swatch = std::make_unique<LumoColorButton>(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER",
                                                        Gdiplus::Color(colours[i]));
        swatch->Create(host, 20 + i * 60, 170, 44, 44);
        if (i == 1) swatch->GoToState(L"CommonStates", L"MouseOver");
        if (i == 3) swatch->IsEnabled = 0;
        swatches.push_back(std::move(swatch));
    }

    LumoNumberTextBox_10pt_Bold_100 number;
    number.Create(host, 300, 175, 54, 31);
    number.Value = 128;
    LumoNumberTextBox_10pt_Bold_100 editing;
    editing.Create(host, 370, 175, 54, 31);
    editing.Value = 42;
    // A press starts editing: the real edit control shows over the label.
    SendMessageW(editing.Handle.Get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(editing.Handle.Get(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));

    LumoTextBlock_14_Regular_100 caption(0xFFFFFFFF, L"IDS_BRIGHTNESS");
    caption.Create(host, 20, 240, 400, 30);

    // Every control draws over the host's stripes at its own place.
    std::vector<Control*> controls;
    for (auto& button : buttons) controls.push_back(button.get());
    for (auto& swatch : swatches) controls.push_back(swatch.get());
    for (Control* control : std::initializer_list<Control*>{&unchecked, &checked, &hovered, &first, &second, &disabled,
                                                             &number, &editing, &caption})
        controls.push_back(control);
    for (Control* control : controls) control->BackgroundDC = stripes.GetSafeHdc();

    bench::Pump(milliseconds);
    DestroyWindow(host);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    return Show(argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 5000);
}
