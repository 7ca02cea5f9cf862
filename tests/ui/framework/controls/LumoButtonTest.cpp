// The styled buttons and swatches in real windows: their looks per state,
// read from the pixels of the render DC.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/UiSettingsScope.h"
#include "tests/ui/framework/controls/ButtonTestSupport.h"
#include "ui/framework/controls/LumoButton.h"
#include "ui/framework/controls/LumoCheckBox.h"
#include "ui/framework/controls/LumoCheckLook.h"
#include "ui/framework/controls/LumoColorButton.h"
#include "ui/framework/controls/LumoColorButton2.h"
#include "ui/framework/controls/LumoRadioButton.h"
#include "ui/framework/controls/RadioButton.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

using buttontest::ClickAt;
using controltest::HostWindow;
using controltest::PixelAt;
using controltest::ReadPixels;

namespace {

constexpr uint32_t kBackground = 0x01000000;
constexpr uint32_t kTextNormal = 0xBFFFFFFF;
constexpr uint32_t kTextHover = 0xFFFFFFFF;
constexpr uint32_t kTextChecked = 0xFFFF252F;

// The text colour shown in a box: the most opaque pixel there, un-premultiplied.
uint32_t StrongestColour(HDC surface, int left, int top, int right, int bottom)
{
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = ReadPixels(surface, &width, &height);
    uint32_t best = 0;
    for (int y = top; y < bottom && y < height; ++y)
        for (int x = left; x < right && x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            if ((p >> 24) > (best >> 24)) best = p;
        }
    const uint32_t a = best >> 24;
    if (a == 0) return 0;
    auto channel = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (channel((best >> 16) & 0xFF) << 16) | (channel((best >> 8) & 0xFF) << 8) |
           channel(best & 0xFF);
}

bool CloseTo(uint32_t actual, uint32_t expected)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > 4) return false;
    }
    return true;
}

std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", value);
    return text;
}

// Skin set, scales and language as the program sets them at start-up;
// restored afterwards.
class StyledButtons : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_uiSettings.HasLanguageFilePath());
        ASSERT_FALSE(GetLangString(L"IDS_INFO_RANDOM").empty()) << "no language file beside the test";
    }
    void TearDown() override
    {
        for (const auto& group : g_RadioGroups) EXPECT_TRUE(group.second.empty());
        g_RadioGroups.clear();
    }

    HostWindow host{100, 100, 400, 300};

private:
    testsupport::UiSettingsScope m_uiSettings;
};

void Hover(Control& control)
{
    ::SendMessageW(control.Handle.Get(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
}
void Leave(Control& control)
{
    ::SendMessageW(control.Handle.Get(), WM_MOUSELEAVE, 0, 0);
}

TEST_F(StyledButtons, EveryStyledControlIsLayeredWhereLayeredChildrenAreShown)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Control>()> make;
    };
    const Case cases[] = {
        {"LumoButton", [] { return std::make_unique<LumoButton>(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER"); }},
        {"LumoColorButton",
         [] { return std::make_unique<LumoColorButton>(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", Gdiplus::Color(0xFF00FF00)); }},
        {"LumoColorButton2",
         [] {
             return std::make_unique<LumoColorButton2>(L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_HOVER",
                                                       L"COLOR_PICKER_COLOR_HOVER", Gdiplus::Color(0xFF00FF00));
         }},
        {"LumoCheckBox", [] { return std::make_unique<LumoCheckBox>(L"IDS_INFO_RANDOM"); }},
        {"LumoRadioButton", [] { return std::make_unique<LumoRadioButton>(L"IDS_EFF_STATIC", L"E", L"", L"", L""); }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Control> control = c.make();
        ASSERT_EQ(control->Create(host.Get(), 10, 10, 40, 40), 1) << c.name;
        // Under Wine, which these tests run on, they present through WM_PAINT.
        const bool layered = UseLayeredChildWindows();
        EXPECT_EQ((::GetWindowLongPtrW(control->Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, layered) << c.name;
        EXPECT_EQ(control->IsLayered.Get() != 0, layered) << c.name;
        // Made top-level, the same control is a layered window.
        std::unique_ptr<Control> topLevel = c.make();
        ASSERT_EQ(topLevel->Create(nullptr, 10, 10, 40, 40), 1) << c.name;
        EXPECT_TRUE(::GetWindowLongPtrW(topLevel->Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED) << c.name;
    }
}

// --- LumoButton --------------------------------------------------------------

TEST_F(StyledButtons, LumoButtonShowsOneImagePerCommonStateLoadedOnce)
{
    LumoButton button(L"POPUP_CLOSE_NORMAL", L"POPUP_CLOSE_HOVER", L"POPUP_CLOSE_CLICK");
    ASSERT_EQ(button.Create(host.Get(), 10, 10, 33, 32), 1);
    const auto normal = button.BackgroundImage.Get();
    ASSERT_NE(normal, nullptr);
    const std::vector<uint32_t> normalPixels = ReadPixels(button.RenderDC.Get());

    Hover(button);
    const auto hover = button.BackgroundImage.Get();
    ASSERT_NE(hover, nullptr);
    EXPECT_NE(hover, normal);
    EXPECT_NE(ReadPixels(button.RenderDC.Get()), normalPixels);

    buttontest::Press(button, 4, 4);
    const auto pressed = button.BackgroundImage.Get();
    ASSERT_NE(pressed, nullptr);
    EXPECT_NE(pressed, hover);
    EXPECT_NE(pressed, normal);

    buttontest::Release(button, -5, -5);  // outside: back to Normal, same bitmap as before
    EXPECT_EQ(button.BackgroundImage.Get(), normal);
    EXPECT_EQ(ReadPixels(button.RenderDC.Get()), normalPixels);
}

TEST_F(StyledButtons, LumoButtonWithoutAnImageNameKeepsTheLookOfTheStateBefore)
{
    LumoButton button(L"POPUP_CLOSE_NORMAL", L"", L"");
    ASSERT_EQ(button.Create(host.Get(), 10, 10, 33, 32), 1);
    const auto normal = button.BackgroundImage.Get();
    ASSERT_NE(normal, nullptr);
    Hover(button);
    EXPECT_EQ(button.BackgroundImage.Get(), normal);
    buttontest::Press(button, 4, 4);
    EXPECT_EQ(button.BackgroundImage.Get(), normal);
    buttontest::Release(button, 4, 4);
}

// --- Colour swatches ---------------------------------------------------------

TEST_F(StyledButtons, LumoColorButtonFillsItsSquareByScaleAndResolutionClass)
{
    struct Case {
        float scale;
        int resolutionClass;
        int left, top, right, bottom;  // right and bottom exclusive
    };
    const Case cases[] = {
        {1.0f, 0, 4, 4, 31, 31},
        {1.25f, 1, 5, 5, 39, 39},
        {2.0f, 3, 8, 7, 62, 61},
        {1.5f, 2, 6, 7, 47, 48},
    };
    const uint32_t colour = 0xFF20A0C0;
    for (const Case& c : cases) {
        g_fUIScale = c.scale;
        g_nResolutionClass = c.resolutionClass;
        // No frame images: only the square is drawn.
        LumoColorButton button(L"", L"", L"", Gdiplus::Color(colour));
        ASSERT_EQ(button.Create(host.Get(), 10, 10, 80, 80), 1);
        const HDC surface = button.RenderDC.Get();
        const std::string at = "scale " + std::to_string(c.scale) + " class " + std::to_string(c.resolutionClass);
        EXPECT_EQ(Hex(PixelAt(surface, c.left, c.top)), Hex(colour)) << at;
        EXPECT_EQ(Hex(PixelAt(surface, c.right - 1, c.bottom - 1)), Hex(colour)) << at;
        EXPECT_EQ(PixelAt(surface, c.left - 1, c.top), 0u) << at;
        EXPECT_EQ(PixelAt(surface, c.left, c.top - 1), 0u) << at;
        EXPECT_EQ(PixelAt(surface, c.right, c.bottom - 1), 0u) << at;
        EXPECT_EQ(PixelAt(surface, c.right - 1, c.bottom), 0u) << at;
    }
}

TEST_F(StyledButtons, LumoColorButtonShowsItsColourThroughTheFrame)
{
    LumoColorButton button(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", Gdiplus::Color(0xFF123456));
    ASSERT_EQ(button.Create(host.Get(), 10, 10, 37, 35), 1);
    EXPECT_EQ(Hex(PixelAt(button.RenderDC.Get(), 17, 17)), "FF123456");
}

TEST_F(StyledButtons, LumoColorButtonKeepsItsColourOverThePixelsBehind)
{
    // What lies behind: opaque grey, as a panel's rendered image would be.
    CMemoryDC behind;
    ASSERT_TRUE(behind.Resize(100, 100));
    RECT all = {0, 0, 100, 100};
    HBRUSH grey = ::CreateSolidBrush(RGB(0x40, 0x40, 0x40));
    ::FillRect(behind.GetSafeHdc(), &all, grey);
    ::DeleteObject(grey);
    for (uint32_t* pixel = static_cast<uint32_t*>(behind.Bits()), *end = pixel + 100 * 100; pixel != end; ++pixel)
        *pixel |= 0xFF000000;

    LumoColorButton button(L"", L"", L"", Gdiplus::Color(0xFF20A0C0));
    ASSERT_EQ(button.Create(host.Get(), 10, 10, 37, 35), 1);
    // Painted, as it is wherever layered children are not used.
    button.IsLayered = 0;
    button.BackgroundDC = behind.GetSafeHdc();
    ASSERT_EQ(button.IsLayered.Get(), 0);
    const HDC surface = button.RenderDC.Get();
    const Gdiplus::Rect square = LumoColorButton::ColorSquare(g_fUIScale, g_nResolutionClass);
    EXPECT_EQ(Hex(PixelAt(surface, square.X + 1, square.Y + 1)), "FF20A0C0");
    EXPECT_EQ(Hex(PixelAt(surface, 1, 1)), "FF404040");
}

TEST_F(StyledButtons, SetColorRendersAndRaisesBothEventsOnlyForANewColour)
{
    LumoColorButton button(L"", L"", L"", Gdiplus::Color(0xFF0000FF));
    ASSERT_EQ(button.Create(host.Get(), 10, 10, 37, 35), 1);
    std::vector<std::string> log;
    button.Color.Changed.Subscribe([&log](void*, PropertyChangedArgs) { log.push_back("Color"); });
    button.ColorChanged.Subscribe([&log](void*, Gdiplus::Color& c) { log.push_back("ColorChanged " + Hex(c.GetValue())); });

    button.Color = Gdiplus::Color(0xFF0000FF);
    EXPECT_TRUE(log.empty());
    button.Color = Gdiplus::Color(0xFFFF8000);
    EXPECT_EQ(log, (std::vector<std::string>{"Color", "ColorChanged FFFF8000"}));
    EXPECT_EQ(button.Color.Get().GetValue(), 0xFFFF8000u);
    EXPECT_EQ(Hex(PixelAt(button.RenderDC.Get(), 10, 10)), "FFFF8000");
}

TEST_F(StyledButtons, DisabledStyledButtonsHalveTheirOpacity)
{
    LumoColorButton swatch(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", Gdiplus::Color(0xFF00FF00));
    LumoRadioButton radio(L"IDS_EFF_STATIC", L"E", L"", L"", L"");
    Control* controls[] = {&swatch, &radio};
    for (Control* control : controls) {
        ASSERT_EQ(control->Create(host.Get(), 10, 10, 40, 40), 1);
        int changes = 0;
        control->IsEnabled.Changed.Subscribe([&changes](void*, PropertyChangedArgs) { ++changes; });
        control->IsEnabled = 0;
        EXPECT_FLOAT_EQ(control->Opacity.Get(), 0.5f);
        EXPECT_FALSE(::IsWindowEnabled(control->Handle.Get()));
        control->IsEnabled = 1;
        EXPECT_FLOAT_EQ(control->Opacity.Get(), 1.0f);
        EXPECT_EQ(changes, 2);
    }
}

TEST_F(StyledButtons, LumoColorButton2CentresItsSquareOverANearTransparentFace)
{
    struct Case {
        float scale;
        int width, height;
        int left, top, side;
    };
    const Case cases[] = {{1.0f, 34, 34, 7, 7, 20}, {1.5f, 50, 45, 10, 8, 30}};
    for (const Case& c : cases) {
        g_fUIScale = c.scale;
        LumoColorButton2 swatch(L"", L"", L"", Gdiplus::Color(0xFFC01020));
        ASSERT_EQ(swatch.Create(host.Get(), 10, 10, c.width, c.height), 1);
        const HDC surface = swatch.RenderDC.Get();
        EXPECT_EQ(Hex(PixelAt(surface, c.left, c.top)), "FFC01020") << c.scale;
        EXPECT_EQ(Hex(PixelAt(surface, c.left + c.side - 1, c.top + c.side - 1)), "FFC01020") << c.scale;
        EXPECT_EQ(PixelAt(surface, c.left - 1, c.top), kBackground) << c.scale;
        EXPECT_EQ(PixelAt(surface, c.left + c.side, c.top + c.side - 1), kBackground) << c.scale;
        EXPECT_EQ(PixelAt(surface, 0, 0), kBackground) << c.scale;
    }
}

TEST_F(StyledButtons, LumoColorButton2ShowsTheSelectedFrameWhileFocused)
{
    LumoColorButton2 swatch(L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_HOVER", L"COLOR_PICKER_COLOR_HOVER",
                            Gdiplus::Color(0xFF00C000));
    ASSERT_EQ(swatch.Create(host.Get(), 10, 10, 34, 34), 1);
    std::unique_ptr<Gdiplus::Bitmap> selected = LoadSkinImageScaled(L"COLOR_PICKER_COLOR_SELECT");
    ASSERT_NE(selected, nullptr);
    const std::vector<uint32_t> unfocused = ReadPixels(swatch.RenderDC.Get());

    ::SetFocus(swatch.Handle.Get());
    ASSERT_EQ(::GetFocus(), swatch.Handle.Get());
    // A frame pixel of the selected image, away from the colour square.
    int frameX = -1, frameY = -1;
    for (int y = 0; y < 34 && frameX < 0; ++y)
        for (int x = 0; x < 6 && frameX < 0; ++x) {
            Gdiplus::Color c;
            selected->GetPixel(x, y, &c);
            if (c.GetA() == 255) frameX = x, frameY = y;
        }
    ASSERT_GE(frameX, 0) << "no opaque frame pixel in the selected image";
    Gdiplus::Color expected;
    selected->GetPixel(frameX, frameY, &expected);
    const uint32_t shown = PixelAt(swatch.RenderDC.Get(), frameX, frameY);
    EXPECT_TRUE(CloseTo(shown, expected.GetValue())) << Hex(shown) << " for " << Hex(expected.GetValue());
    EXPECT_EQ(Hex(PixelAt(swatch.RenderDC.Get(), 17, 17)), "FF00C000") << "the colour square stays on top";

    ::SetFocus(nullptr);
    EXPECT_EQ(ReadPixels(swatch.RenderDC.Get()), unfocused);
}

// --- Check box and radio button ----------------------------------------------

// One step of the pointer or the program, and the text colour it leaves.
struct LookStep {
    const char* what;
    std::function<void(ToggleButton&)> act;
    uint32_t text;
};

const std::vector<LookStep>& CheckLookSteps()
{
    static const std::vector<LookStep> steps = {
        {"created", [](ToggleButton&) {}, kTextNormal},
        {"hovered", [](ToggleButton& b) { Hover(b); }, kTextHover},
        {"checked while hovered", [](ToggleButton& b) { b.IsChecked = 1; }, kTextChecked},
        {"left while checked", [](ToggleButton& b) { Leave(b); }, kTextChecked},
        {"hovered while checked", [](ToggleButton& b) { Hover(b); }, kTextChecked},
        {"unchecked while hovered", [](ToggleButton& b) { b.IsChecked = 0; }, kTextHover},
        {"left", [](ToggleButton& b) { Leave(b); }, kTextNormal},
        {"clicked", [](ToggleButton& b) {
             Hover(b);
             ClickAt(b, 3, 3);
         }, kTextChecked},
    };
    return steps;
}

void RunLookSteps(ToggleButton& button, int textLeft, int textRight)
{
    const HDC surface = button.RenderDC.Get();
    const std::vector<uint32_t> initial = ReadPixels(surface);
    for (const LookStep& step : CheckLookSteps()) {
        step.act(button);
        const uint32_t text = StrongestColour(surface, textLeft, 0, textRight, 20);
        EXPECT_TRUE(CloseTo(text, step.text)) << step.what << ": text " << Hex(text) << ", wanted " << Hex(step.text);
        // Every pixel takes the mouse: the space between image and text.
        EXPECT_EQ(Hex(PixelAt(surface, 18, 17)), Hex(kBackground)) << step.what;
    }
    button.IsChecked = 0;
    Hover(button);
    Leave(button);
    EXPECT_EQ(ReadPixels(surface), initial) << "the unchecked normal look came back different";
}

TEST_F(StyledButtons, LumoCheckBoxTextAndImageFollowHoverAndCheck)
{
    LumoCheckBox box(L"IDS_INFO_RANDOM");
    ASSERT_EQ(box.Create(host.Get(), 10, 10, 130, 20), 1);
    RunLookSteps(box, 22, 122);
}

TEST_F(StyledButtons, LumoRadioButtonTextAndImageFollowHoverAndCheck)
{
    LumoRadioButton radio(L"IDS_EFF_STATIC", L"Effect", L"", L"", L"");
    ASSERT_EQ(radio.Create(host.Get(), 10, 10, 180, 20), 1);
    RunLookSteps(radio, 22, 172);
}

TEST_F(StyledButtons, StyledTogglesCheckedBeforeTheirWindowShowTheCheckedLook)
{
    LumoCheckBox box(L"IDS_INFO_RANDOM");
    LumoRadioButton radio(L"IDS_EFF_STATIC", L"Effect", L"", L"", L"");
    box.IsChecked = 1;
    radio.IsChecked = 1;
    ASSERT_EQ(box.Create(host.Get(), 10, 10, 130, 20), 1);
    ASSERT_EQ(radio.Create(host.Get(), 10, 40, 180, 20), 1);
    EXPECT_TRUE(CloseTo(StrongestColour(box.RenderDC.Get(), 22, 0, 122, 20), kTextChecked));
    EXPECT_TRUE(CloseTo(StrongestColour(radio.RenderDC.Get(), 22, 0, 172, 20), kTextChecked));
}

TEST_F(StyledButtons, LumoCheckLooksShowTheCheckedImageLayer)
{
    LumoCheckBox box(L"IDS_INFO_RANDOM");
    ASSERT_EQ(box.Create(host.Get(), 10, 10, 130, 20), 1);
    auto imageBox = [&box] {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x) pixels.push_back(PixelAt(box.RenderDC.Get(), x, y));
        return pixels;
    };
    const std::vector<uint32_t> unchecked = imageBox();
    bool inked = false;
    for (uint32_t p : unchecked) inked = inked || (p >> 24) > 1;
    EXPECT_TRUE(inked) << "no normal image drawn";
    box.IsChecked = 1;
    EXPECT_NE(imageBox(), unchecked);
}

TEST_F(StyledButtons, CheckLookLayersDrawAtTheirOpacityAsAColourMatrixWould)
{
    // A skin image scaled onto a surface over a translucent fill, as a render draws it.
    std::shared_ptr<Gdiplus::Bitmap> image = lumocheck::LoadImage(lumocheck::kCheckedImage);
    ASSERT_TRUE(image);
    const Gdiplus::Rect box(1, 2, 17, 15);
    auto draw = [&](float opacity, bool throughMatrix) {
        Gdiplus::Bitmap surface(20, 20, PixelFormat32bppPARGB);
        Gdiplus::Graphics graphics(&surface);
        graphics.Clear(Gdiplus::Color(0x80204060));
        if (throughMatrix) {
            Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, opacity, 0},
                                            {0, 0, 0, 0, 1}}};
            Gdiplus::ImageAttributes attributes;
            attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
            graphics.DrawImage(image.get(), box, 0, 0, static_cast<INT>(image->GetWidth()),
                               static_cast<INT>(image->GetHeight()), Gdiplus::UnitPixel, &attributes);
        } else {
            lumocheck::DrawLayer(graphics, image.get(), box, opacity);
        }
        graphics.Flush(Gdiplus::FlushIntentionSync);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                Gdiplus::Color c;
                surface.GetPixel(x, y, &c);
                pixels.push_back(c.GetValue());
            }
        }
        return pixels;
    };
    for (float opacity : {0.0f, 0.5f, 1.0f}) {
        SCOPED_TRACE(opacity);
        EXPECT_EQ(draw(opacity, false), draw(opacity, true));
    }
    EXPECT_NE(draw(1.0f, false), draw(0.0f, false)) << "the image drew nothing";
}

TEST_F(StyledButtons, CheckingALumoRadioButtonRestoresTheOthersLook)
{
    LumoRadioButton first(L"IDS_INFO_SLOW", L"Tempo", L"", L"", L"");
    LumoRadioButton second(L"IDS_INFO_FAST", L"Tempo", L"", L"", L"");
    ASSERT_EQ(first.Create(host.Get(), 10, 10, 100, 20), 1);
    ASSERT_EQ(second.Create(host.Get(), 10, 40, 100, 20), 1);
    Hover(first);
    ClickAt(first, 3, 3);
    Leave(first);
    EXPECT_TRUE(CloseTo(StrongestColour(first.RenderDC.Get(), 22, 0, 100, 20), kTextChecked));
    Hover(second);
    ClickAt(second, 3, 3);
    Leave(second);
    EXPECT_EQ(first.IsChecked.Get(), 0);
    EXPECT_TRUE(CloseTo(StrongestColour(first.RenderDC.Get(), 22, 0, 100, 20), kTextNormal));
    EXPECT_TRUE(CloseTo(StrongestColour(second.RenderDC.Get(), 22, 0, 100, 20), kTextChecked));
}

TEST_F(StyledButtons, LumoRadioButtonTextChangesOnlyOnANewText)
{
    LumoRadioButton radio(L"", L"E", L"", L"", L"");
    ASSERT_EQ(radio.Create(host.Get(), 10, 10, 180, 20), 1);
    int changes = 0;
    radio.Text.Changed.Subscribe([&changes](void*, PropertyChangedArgs) { ++changes; });
    EXPECT_EQ(StrongestColour(radio.RenderDC.Get(), 22, 0, 172, 20), kBackground & 0xFF000000) << "text with no text";
    radio.Text = L"";
    EXPECT_EQ(changes, 0);
    radio.Text = L"IDS_EFF_STROBING";
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(radio.Text.Get(), L"IDS_EFF_STROBING");
    EXPECT_TRUE(CloseTo(StrongestColour(radio.RenderDC.Get(), 22, 0, 172, 20), kTextNormal));
}

TEST_F(StyledButtons, LumoRadioButtonDrawsTheIconOfItsLook)
{
    LumoRadioButton arrow(L"", L"Direction", L"ARROR_RIGHT_NORMAL", L"ARROR_RIGHT_NORMAL", L"ARROR_RIGHT_SELECT");
    LumoRadioButton plain(L"", L"Direction", L"", L"", L"");
    ASSERT_EQ(arrow.Create(host.Get(), 10, 10, 60, 20), 1);
    ASSERT_EQ(plain.Create(host.Get(), 10, 40, 60, 20), 1);
    auto iconPixels = [](LumoRadioButton& radio) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 15; ++y)
            for (int x = 22; x < 37; ++x) pixels.push_back(PixelAt(radio.RenderDC.Get(), x, y));
        return pixels;
    };
    const std::vector<uint32_t> normal = iconPixels(arrow);
    int inked = 0;
    for (uint32_t p : normal) inked += (p >> 24) > 1 ? 1 : 0;
    EXPECT_GT(inked, 0) << "no icon drawn";
    for (uint32_t p : iconPixels(plain)) EXPECT_EQ(p, kBackground);
    arrow.IsChecked = 1;
    EXPECT_NE(iconPixels(arrow), normal) << "the checked look shows the selected icon";
}

}  // namespace
