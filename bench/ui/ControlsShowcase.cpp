// Shows the framework's styled controls in their states on the screen for a
// while, for a screenshot: controls_showcase.exe <milliseconds> [picture.png]
// (the picture is composed from the controls' render DCs).
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/ui/BenchWindow.h"
#include "platform/win/Dib.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/Language.h"
#include "ui/framework/LumoButton.h"
#include "ui/framework/LumoCheckBox.h"
#include "ui/framework/LumoColorButton.h"
#include "ui/framework/LumoNumberTextBox.h"
#include "ui/framework/LumoRadioButton.h"
#include "ui/framework/LumoTextBlock.h"
#include "ui/framework/Scale.h"
#include "ui/framework/SkinImage.h"
#include "ui/framework/TextDraw.h"

namespace {


// Xvfb shows no layered child windows: the picture is composed from each
// control's render DC over the host's background instead.
void SaveComposed(HWND host, const std::vector<Control*>& controls, const wchar_t* path)
{
    RECT client{};
    GetClientRect(host, &client);
    BITMAPINFO info = platform::Dib32Info(client.right, -client.bottom);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    HBRUSH background = CreateSolidBrush(RGB(0x16, 0x18, 0x1C));
    FillRect(dc, &client, background);
    DeleteObject(background);
    for (Control* control : controls) {
        HWND window = control->Handle.Get();
        HDC render = control->RenderDC.Get();
        if (window == nullptr || render == nullptr) continue;
        RECT rect{};
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, render, 0, 0,
                   rect.right - rect.left, rect.bottom - rect.top, blend);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    {
        Gdiplus::Bitmap image(picture, nullptr);
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        image.Save(path, &png, nullptr);
    }
    DeleteObject(picture);
}


int Show(DWORD milliseconds, const wchar_t* picturePath)
{
    wcscpy(g_szSkinResType, kSkinSet1080);
    InitLangFilePath();
    int language = 0;
    SelectLanguage(language);
    g_nLangIndexUI = language;
    HWND host = bench::MakeHost(L"ControlsShowcaseHost", 760, 300, RGB(0x16, 0x18, 0x1C));

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

    bench::Pump(500);
    if (picturePath != nullptr) {
        std::vector<Control*> controls;
        for (auto& button : buttons) controls.push_back(button.get());
        for (Control* control : std::initializer_list<Control*>{&unchecked, &checked, &hovered, &first, &second,
                                                                 &disabled, &number, &editing, &caption})
            controls.push_back(control);
        for (auto& swatch : swatches) controls.push_back(swatch.get());
        SaveComposed(host, controls, picturePath);
    }
    bench::Pump(milliseconds);
    DestroyWindow(host);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    return Show(argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 5000, argc > 2 ? argv[2] : nullptr);
}
