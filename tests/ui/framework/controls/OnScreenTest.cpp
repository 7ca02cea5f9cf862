// The styled controls on the real screen, read back from it: where layered
// child windows are not shown in place (Wine), every control must still show
// its own pixels at its own place over the striped window behind it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win/Dib.h"
#include "tests/ui/framework/ControlTestSupport.h"
#include "ui/framework/controls/LumoButton.h"
#include "ui/framework/controls/LumoCheckBox.h"
#include "ui/framework/controls/LumoColorButton.h"
#include "ui/framework/controls/LumoNumberTextBox.h"
#include "ui/framework/controls/LumoRadioButton.h"
#include "ui/framework/controls/LumoTextBlock.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

using controltest::ReadPixels;

namespace {

constexpr int kHostX = 200;
constexpr int kHostY = 150;
constexpr int kHostWidth = 520;
constexpr int kHostHeight = 260;
constexpr int kStripe = 6;

// A top-most popup painted with vertical stripes from a memory DC, which its
// controls also take as their background DC.
class StripedHost {
public:
    StripedHost()
    {
        m_stripes.Resize(kHostWidth, kHostHeight);
        auto* pixels = static_cast<uint32_t*>(m_stripes.Bits());
        for (int y = 0; y < kHostHeight; ++y)
            for (int x = 0; x < kHostWidth; ++x)
                pixels[y * kHostWidth + x] = (x / kStripe) % 2 ? 0xFF2A4A6Au : 0xFF6A2A3Au;

        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &StripedHost::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"StripedHost";
        ::RegisterClassExW(&wc);
        m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, L"StripedHost", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kHostX,
                                   kHostY, kHostWidth, kHostHeight, nullptr, nullptr, wc.hInstance, this);
    }
    ~StripedHost()
    {
        if (m_hWnd) ::DestroyWindow(m_hWnd);
    }
    HWND Get() const { return m_hWnd; }
    HDC Stripes() const { return m_stripes.GetSafeHdc(); }
    uint32_t StripeAt(int x, int y) const
    {
        return static_cast<const uint32_t*>(m_stripes.Bits())[y * kHostWidth + x];
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* host = reinterpret_cast<StripedHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_ERASEBKGND && host) {
            ::BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, kHostWidth, kHostHeight, host->Stripes(), 0, 0, SRCCOPY);
            return 1;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    CMemoryDC m_stripes;
    HWND m_hWnd = nullptr;
};

// The host's client area as the screen shows it, 0x00RRGGBB values.
std::vector<uint32_t> ReadScreen()
{
    HDC screen = ::GetDC(nullptr);
    CMemoryDC copy;
    copy.Resize(kHostWidth, kHostHeight);
    ::BitBlt(copy.GetSafeHdc(), 0, 0, kHostWidth, kHostHeight, screen, kHostX, kHostY, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    std::vector<uint32_t> pixels = ReadPixels(copy.GetSafeHdc());
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

uint32_t Channel(uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFF;
}

// A premultiplied surface pixel at a constant alpha over an opaque one.
uint32_t Over(uint32_t behind, uint32_t surface, float opacity)
{
    const int constant = static_cast<int>(opacity * 255.0f);
    const uint32_t alpha = Channel(surface, 24) * constant / 255;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t value = Channel(surface, shift) * constant / 255 + Channel(behind, shift) * (255 - alpha) / 255;
        out |= (value > 255 ? 255 : value) << shift;
    }
    return out;
}

bool Near(uint32_t a, uint32_t b, int tolerance = 4)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>(Channel(a, shift)) - static_cast<int>(Channel(b, shift))) > tolerance)
            return false;
    return true;
}

struct Comparison {
    int pixels = 0;
    int matching = 0;
    int ownPixels = 0;       // where the control differs from the stripes
    int ownPixelsShown = 0;  // ... and the screen shows the control's colour
};

// The control's place on the screen against its surface laid over the stripes.
Comparison Compare(const StripedHost& host, Control& control, const std::vector<uint32_t>& screen)
{
    Comparison result;
    int width = 0, height = 0;
    const std::vector<uint32_t> surface = ReadPixels(control.RenderDC.Get(), &width, &height);
    const int left = control.X.Get(), top = control.Y.Get();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t behind = host.StripeAt(left + x, top + y);
            const uint32_t expected = Over(behind, surface[y * width + x], control.Opacity.Get());
            const uint32_t shown = screen[(top + y) * kHostWidth + left + x];
            ++result.pixels;
            const bool match = Near(shown, expected);
            if (match) ++result.matching;
            if (!Near(expected, behind & 0xFFFFFF, 24)) {
                ++result.ownPixels;
                if (match) ++result.ownPixelsShown;
            }
        }
    }
    return result;
}

class OnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        wcscpy_s(g_szSkinResType, kSkinSet1080);
        g_fImageScale = g_fUIScale = g_fFontScale = 1.0f;
        g_nResolutionClass = 0;
        ASSERT_TRUE(InitLangFilePath());
        wcscpy_s(g_szLangSection, L"English");
        ASSERT_NE(host.Get(), nullptr);
    }

    void Place(Control& control, const char* name, int x, int y, int width, int height)
    {
        ASSERT_EQ(control.Create(host.Get(), x, y, width, height), 1) << name;
        control.BackgroundDC = host.Stripes();
        controls.push_back({&control, name});
    }

    bool Shown(const Comparison& c) const
    {
        return c.ownPixels > 20 && c.matching * 100 >= c.pixels * 98 && c.ownPixelsShown * 100 >= c.ownPixels * 98;
    }

    // Every control: not layered, and its pixels on the screen where it is,
    // once the screen shows them (or the patience is over).
    void ExpectAllShown(const char* when)
    {
        std::vector<uint32_t> screen;
        controltest::PumpUntil(
            [&] {
                screen = ReadScreen();
                for (const auto& entry : controls)
                    if (!Shown(Compare(host, *entry.first, screen))) return false;
                return true;
            },
            10000);
        for (const auto& entry : controls) {
            SCOPED_TRACE(std::string(entry.second) + ", " + when);
            Control& control = *entry.first;
            EXPECT_FALSE(::GetWindowLongPtrW(control.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
            const Comparison c = Compare(host, control, screen);
            EXPECT_GT(c.ownPixels, 20) << "the control draws nothing of its own";
            EXPECT_GE(c.matching * 100, c.pixels * 98) << c.matching << " of " << c.pixels << " pixels as expected";
            EXPECT_GE(c.ownPixelsShown * 100, c.ownPixels * 98) << c.ownPixelsShown << " of " << c.ownPixels;
        }
    }

    StripedHost host;
    std::vector<std::pair<Control*, const char*>> controls;
};

}  // namespace

TEST_F(OnScreen, StyledControlsShowTheirPixelsInPlaceOverWhatIsBehind)
{
    ASSERT_FALSE(UseLayeredChildWindows()) << "these tests run under Wine";
    LumoButton button(L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK");
    LumoCheckBox check(L"IDS_INFO_RANDOM");
    LumoRadioButton radio(L"IDS_EFF_BREATH", L"onscreen", L"", L"", L"");
    LumoColorButton swatch(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", Gdiplus::Color(0xFF00C8FF));
    LumoColorButton disabled(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", Gdiplus::Color(0xFFFFD000));
    LumoNumberTextBox_10pt_Bold_100 number;
    LumoTextBlock_14_Regular_100 caption(0xFFFFFFFF, L"IDS_BRIGHTNESS");
    Place(button, "button", 20, 20, 150, 38);
    Place(check, "check box", 200, 25, 200, 24);
    Place(radio, "radio button", 20, 80, 200, 30);
    Place(swatch, "colour button", 250, 80, 44, 44);
    Place(disabled, "disabled colour button", 310, 80, 44, 44);
    Place(number, "number box", 380, 85, 54, 31);
    Place(caption, "caption", 20, 150, 400, 30);
    check.IsChecked = 1;
    radio.IsChecked = 1;
    number.Value = 128;
    disabled.IsEnabled = 0;
    ExpectAllShown("first shown");

    // The colour square shows through the frame, in its own colour.
    const std::vector<uint32_t> screen = ReadScreen();
    const Gdiplus::Rect square = LumoColorButton::ColorSquare(g_fUIScale, g_nResolutionClass);
    const int centreX = 250 + square.X + square.Width / 2, centreY = 80 + square.Y + square.Height / 2;
    EXPECT_TRUE(Near(screen[centreY * kHostWidth + centreX], 0x00C8FF)) << std::hex << screen[centreY * kHostWidth + centreX];

    // Repaints neither build the half-opaque swatch up nor let the host paint
    // over the click-through caption.
    for (int i = 0; i < 5; ++i) disabled.Render();
    ::InvalidateRect(host.Get(), nullptr, TRUE);
    ::UpdateWindow(host.Get());
    ExpectAllShown("after repaints");
}
