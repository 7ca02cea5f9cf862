// Text controls: labels, the text box's editor, styled captions, number
// entries and pictures, in real windows; the editor's keys run through the
// program's modal loop (CDialog::DoModal) with a real "Edit" control.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"
#include "tests/support/PointerInput.h"
#include "tests/support/TempDir.h"
#include "tests/ui/framework/ControlTestSupport.h"
#include "ui/framework/controls/LumoNumberTextBox.h"
#include "ui/framework/controls/LumoPic.h"
#include "ui/framework/controls/LumoTextBlock.h"
#include "ui/framework/controls/TextBlock.h"
#include "ui/framework/controls/TextBox.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/language/Language.h"

using controltest::HostWindow;

namespace {

constexpr UINT kDialogId = 401;

// Counts a property's Changed raises.
struct ChangeCounter {
    std::shared_ptr<int> count = std::make_shared<int>(0);
    void Watch(property_bs_base& property)
    {
        auto target = count;
        property.Changed.Subscribe([target](void*, PropertyChangedArgs) { ++*target; });
    }
    int Get() const { return *count; }
};

// Every TextChanged raise, in order.
std::shared_ptr<std::vector<std::wstring>> WatchTextChanged(TextBlock& block)
{
    auto log = std::make_shared<std::vector<std::wstring>>();
    block.TextChanged.Subscribe([log](void*, TextChangedEventArgs& args) { log->push_back(args.Text); });
    return log;
}

// Pixels of the control's surface that are not fully transparent.
int InkedPixels(HDC surface, int left, int top, int right, int bottom, int* outside = nullptr)
{
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = controltest::ReadPixels(surface, &width, &height);
    int inside = 0;
    if (outside) *outside = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels[static_cast<size_t>(y) * width + x] >> 24) <= 1) continue;
            if (x >= left && x < right && y >= top && y < bottom) ++inside;
            else if (outside) ++*outside;
        }
    }
    return inside;
}

// Points the language strings at a file of our own for the test's length.
class LanguageFile {
public:
    explicit LanguageFile(const std::string& content)
    {
        m_savedFile = g_szLangFile;
        m_savedSection = g_szLangSection;
        const std::wstring path = m_dir.File(L"Lumo.ini");
        testsupport::WriteFileBytes(path, content);
        wcsncpy(g_szLangFile, path.c_str(), kLangBufferChars - 1);
        wcsncpy(g_szLangSection, L"English", kLangBufferChars - 1);
    }
    ~LanguageFile()
    {
        wcsncpy(g_szLangFile, m_savedFile.c_str(), kLangBufferChars - 1);
        wcsncpy(g_szLangSection, m_savedSection.c_str(), kLangBufferChars - 1);
    }

private:
    testsupport::TempDir m_dir;
    std::wstring m_savedFile;
    std::wstring m_savedSection;
};

// Reads the skin set that the number boxes' looks come from.
class SkinSet {
public:
    SkinSet()
    {
        wcsncpy(g_szSkinResType, kSkinSet1080, kSkinResTypeChars - 1);
        g_fImageScale = 1.0f;
    }
    ~SkinSet() { g_szSkinResType[0] = L'\0'; }
};

}  // namespace

// --- TextBlock ------------------------------------------------------------------

TEST(TextBlock, SetTextRaisesTextChangedOnlyForANewText)
{
    HostWindow host(0, 0, 200, 100);
    TextBlock block;
    ASSERT_EQ(block.Create(host.Get(), 0, 0, 100, 30), 1);
    ChangeCounter textChanged;
    textChanged.Watch(block.Text);
    auto raised = WatchTextChanged(block);

    block.Text = L"hello";
    block.Text = L"hello";
    block.Text = L"";
    EXPECT_EQ(block.Text.Get(), L"");
    EXPECT_EQ(textChanged.Get(), 2);
    EXPECT_EQ(*raised, (std::vector<std::wstring>{L"hello", L""}));
}

TEST(TextBlock, DisplayTextAppliesTheFormatterOnlyWhenSwitchedOn)
{
    TextBlock block;
    block.Text = L"7";
    ChangeCounter display;
    display.Watch(block.DisplayText);
    EXPECT_EQ(block.DisplayText.Get(), L"7");

    block.TextFormatter = [](const std::wstring& text) { return L"<" + text + L">"; };
    EXPECT_EQ(block.DisplayText.Get(), L"7");  // flag still off
    block.UseTextFormatter = 1;
    EXPECT_EQ(block.DisplayText.Get(), L"<7>");
    block.UseTextFormatter = 1;  // unchanged: no raise
    block.TextFormatter = TextBlock::Formatter();
    EXPECT_EQ(block.DisplayText.Get(), L"7");  // no formatter: the text itself
    EXPECT_EQ(display.Get(), 3);
}

TEST(TextBlock, AlignmentAndPaddingRaiseChangedOnlyForNewValues)
{
    TextBlock block;
    ChangeCounter text, line, padding;
    text.Watch(block.TextAlignment);
    line.Watch(block.LineAlignment);
    padding.Watch(block.Padding);

    block.TextAlignment = Gdiplus::StringAlignmentCenter;
    block.TextAlignment = Gdiplus::StringAlignmentCenter;
    block.LineAlignment = Gdiplus::StringAlignmentFar;
    block.Padding = Control::Thickness(1, 2, 3, 4);
    block.Padding = Control::Thickness(1, 2, 3, 4);
    EXPECT_EQ(block.TextAlignment.Get(), Gdiplus::StringAlignmentCenter);
    EXPECT_EQ(block.LineAlignment.Get(), Gdiplus::StringAlignmentFar);
    EXPECT_EQ(block.Padding.Get(), Control::Thickness(1, 2, 3, 4));
    EXPECT_EQ(text.Get(), 1);
    EXPECT_EQ(line.Get(), 1);
    EXPECT_EQ(padding.Get(), 1);
}

// Both drawing paths keep the text inside the padding.
template <typename Block>
void ExpectTextInsidePadding()
{
    HostWindow host(0, 0, 300, 100);
    Block block;
    block.FontFamily = std::wstring(L"Arial");
    block.FontSize = 12.0f;
    block.Padding = Control::Thickness(40, 10, 0, 0);
    ASSERT_EQ(block.Create(host.Get(), 0, 0, 200, 50), 1);
    block.Text = L"8888";
    block.Render();
    int outside = 0;
    EXPECT_GT(InkedPixels(block.RenderDC.Get(), 40, 10, 200, 50, &outside), 20);
    EXPECT_EQ(outside, 0);
}

TEST(TextBlock, DrawsTheTextInsideThePadding)
{
    ExpectTextInsidePadding<TextBlock>();
}

TEST(TextBox, DrawsTheLabelInsideThePaddingThroughGdi)
{
    ExpectTextInsidePadding<TextBox>();
}

// --- LumoTextBlock ----------------------------------------------------------------

TEST(LumoTextBlock, PresetsCarryTheirSizeStyleAndOpacity)
{
    struct Case {
        std::unique_ptr<LumoTextBlockBase> block;
        float size;
        Gdiplus::FontStyle style;
        float opacity;
    };
    Case cases[] = {
        {std::make_unique<LumoTextBlock<14, 0, 100>>(0xFF112233, L"K"), 14.0f, Gdiplus::FontStyleRegular, 1.0f},
        {std::make_unique<LumoTextBlock<9, 1, 100>>(0xFF112233, L"K"), 10.0f, Gdiplus::FontStyleBold, 1.0f},
        {std::make_unique<LumoTextBlock<9, 0, 100>>(0xFF112233, L"K"), 10.0f, Gdiplus::FontStyleRegular, 1.0f},
        {std::make_unique<LumoTextBlock<9, 0, 75>>(0xFF112233, L"K"), 10.0f, Gdiplus::FontStyleRegular, 0.75f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(c.block->FontSize.Get(), c.size);
        EXPECT_EQ(c.block->FontStyle.Get(), c.style);
        EXPECT_FLOAT_EQ(c.block->Opacity.Get(), c.opacity);
        EXPECT_EQ(c.block->UseTextFormatter.Get(), 1);
        EXPECT_EQ(c.block->StretchImage.Get(), 0);
        Gdiplus::Color colour;
        const Control::Brush foreground = c.block->Foreground.Get();
        auto* brush = static_cast<Gdiplus::SolidBrush*>(foreground.Get());
        ASSERT_NE(brush, nullptr);
        brush->GetColor(&colour);
        EXPECT_EQ(colour.GetValue(), 0xFF112233u);
    }
}

TEST(LumoTextBlock, ShowsPrefixKeyTextAndSuffix)
{
    LanguageFile language("[English]\r\nIDS_SPEED=Speed\r\n");
    LumoTextBlock<9, 0, 100> present(0xFFFFFFFF, L"IDS_SPEED", L"[", L"]:");
    LumoTextBlock<9, 0, 100> missing(0xFFFFFFFF, L"IDS_NOT_THERE", L"[", L"]:");
    LumoTextBlock<9, 0, 100> plain(0xFFFFFFFF, L"IDS_SPEED");
    EXPECT_EQ(present.DisplayText.Get(), L"[Speed]:");
    EXPECT_EQ(missing.DisplayText.Get(), L"[]:");
    EXPECT_EQ(plain.DisplayText.Get(), L"Speed");
    EXPECT_EQ(plain.Text.Get(), L"IDS_SPEED");
}

TEST(LumoTextBlock, IsLayeredWhereShownAndLetsTheMousePass)
{
    HostWindow host(300, 300, 200, 100);
    Control under;
    ASSERT_EQ(under.Create(host.Get(), 0, 0, 200, 100), 1);
    LumoTextBlock<14, 0, 100> block(0xFFFFFFFF, L"K");
    ASSERT_EQ(block.Create(host.Get(), 0, 0, 100, 30), 1);
    ::SetWindowPos(block.Handle.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(block.Handle.Get(), GWL_EXSTYLE);
    EXPECT_EQ((exStyle & WS_EX_LAYERED) != 0, UseLayeredChildWindows());
    EXPECT_EQ(block.IsLayered.Get() != 0, UseLayeredChildWindows());
    // WS_EX_TRANSPARENT only on a layered caption: a painted one would not be
    // clipped out of its parent.
    EXPECT_EQ((exStyle & WS_EX_TRANSPARENT) != 0, UseLayeredChildWindows());
    EXPECT_EQ(block.IsHitTestVisible.Get(), 0);
    // Either way the pointer reaches what lies under the caption.
    EXPECT_EQ(::WindowFromPoint(POINT{300 + 10, 300 + 10}), under.Handle.Get());
}

TEST(LumoTextBlock, ACaptionMadeHitTestVisibleTakesTheRealPointerAndGivesItBack)
{
    struct Row {
        const char* name;
        bool paintedFirst;
    };
    // As made, and made a painted child first, as the effect panel does with its titles.
    const Row rows[] = {{"as made", false}, {"made painted first", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HostWindow host(300, 300, 200, 100);
        Control under;
        ASSERT_EQ(under.Create(host.Get(), 0, 0, 200, 100), 1);
        LumoTextBlock<14, 0, 100> block(0xFFFFFFFF, L"K");
        ASSERT_EQ(block.Create(host.Get(), 0, 0, 100, 30), 1);
        const HWND window = block.Handle.Get();
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (row.paintedFirst) block.IsLayered = 0;
        // Still click-through, and a painted caption without WS_EX_TRANSPARENT,
        // which would keep its parent from clipping it out.
        EXPECT_EQ(block.IsHitTestVisible.Get(), 0);
        EXPECT_EQ((::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, block.IsLayered.Get() != 0);
        EXPECT_EQ(::WindowFromPoint(POINT{310, 310}), under.Handle.Get());
        ChangeCounter changed;
        changed.Watch(block.IsHitTestVisible);
        auto pressed = std::make_shared<std::vector<Control*>>();
        for (Control* control : {static_cast<Control*>(&block), &under})
            control->LButtonDown.Subscribe([pressed, control](void*, MouseEventArgs&) { pressed->push_back(control); });
        const auto press = [&] {
            pressed->clear();
            testsupport::MoveCursorTo(310, 310);
            const bool there = controltest::PumpUntil(
                [] {
                    POINT at = {};
                    return ::GetCursorPos(&at) && at.x == 310 && at.y == 310;
                },
                5000);
            if (!there) return static_cast<Control*>(nullptr);
            testsupport::LeftButton(true);
            testsupport::LeftButton(false);
            return controltest::PumpUntil([&] { return !pressed->empty(); }, 5000) ? pressed->front() : nullptr;
        };

        block.IsHitTestVisible = 1;
        EXPECT_EQ(block.IsHitTestVisible.Get(), 1);
        EXPECT_EQ(changed.Get(), 1);
        EXPECT_EQ(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
        EXPECT_EQ(::WindowFromPoint(POINT{310, 310}), window);
        EXPECT_EQ(press(), &block);

        block.IsHitTestVisible = 0;
        EXPECT_EQ(block.IsHitTestVisible.Get(), 0);
        EXPECT_EQ(changed.Get(), 2);
        const bool layered = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ((::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, layered);
        EXPECT_EQ(::WindowFromPoint(POINT{310, 310}), under.Handle.Get());
        EXPECT_EQ(press(), &under);
    }
}

TEST(LumoTextBlock, DisablingHalvesTheBaseOpacity)
{
    HostWindow host(0, 0, 200, 100);
    LumoTextBlock<9, 0, 75> block(0xFFFFFFFF, L"K");
    ASSERT_EQ(block.Create(host.Get(), 0, 0, 100, 30), 1);
    ChangeCounter enabled;
    enabled.Watch(block.IsEnabled);
    block.IsEnabled = 0;
    EXPECT_FLOAT_EQ(block.Opacity.Get(), 0.375f);
    block.IsEnabled = 0;  // twice: still half of the base, not a quarter
    EXPECT_FLOAT_EQ(block.Opacity.Get(), 0.375f);
    block.IsEnabled = 1;
    EXPECT_FLOAT_EQ(block.Opacity.Get(), 0.75f);
    EXPECT_GE(enabled.Get(), 3);
}

// --- The text box's editor host ------------------------------------------------------

TEST(TextBoxHost, IsAColourKeyedPopupOwnedByTheTopLevelWindow)
{
    HostWindow host(0, 0, 200, 100);
    LumoNumberTextBox_10pt_Bold_100 box;
    ASSERT_EQ(box.Create(host.Get(), 10, 10, 60, 24), 1);
    HWND editorHost = box.HostHandle();
    ASSERT_TRUE(::IsWindow(editorHost));
    EXPECT_EQ(::GetWindow(editorHost, GW_OWNER), host.Get());
    const LONG_PTR style = ::GetWindowLongPtrW(editorHost, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(editorHost, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);

    COLORREF key = 0xFFFFFFFF;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(editorHost, &key, &alpha, &flags));
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_EQ(key, RGB(0, 0, 0));

    wchar_t className[32] = {};
    ::GetClassNameW(box.EditHandle(), className, 32);
    EXPECT_EQ(_wcsicmp(className, L"Edit"), 0);
    EXPECT_EQ(::GetParent(box.EditHandle()), editorHost);
    // The edit is a child: layered only where such children show in place.
    EXPECT_EQ((::GetWindowLongPtrW(box.EditHandle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, UseLayeredChildWindows());
}

TEST(TextBoxHost, ClassIsSharedAndUsesTheStockBlackBrush)
{
    HostWindow host(0, 0, 200, 100);
    LumoNumberTextBox_10pt_Bold_100 first;
    LumoNumberTemperatureTextBox second;
    ASSERT_EQ(first.Create(host.Get(), 0, 0, 60, 24), 1);
    ASSERT_EQ(second.Create(host.Get(), 0, 30, 60, 24), 1);
    const ATOM firstClass = static_cast<ATOM>(::GetClassLongPtrW(first.HostHandle(), GCW_ATOM));
    EXPECT_NE(firstClass, 0);
    EXPECT_EQ(static_cast<ATOM>(::GetClassLongPtrW(second.HostHandle(), GCW_ATOM)), firstClass);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::GetClassLongPtrW(first.HostHandle(), GCLP_HBRBACKGROUND)),
              ::GetStockObject(BLACK_BRUSH));
}

TEST(TextBoxHost, ColoursTheEditWhiteOnTheKeyedBlack)
{
    HostWindow host(0, 0, 200, 100);
    LumoNumberTextBox_10pt_Bold_100 box;
    ASSERT_EQ(box.Create(host.Get(), 0, 0, 60, 24), 1);
    HDC dc = ::GetDC(box.EditHandle());
    ::SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT brush = ::SendMessageW(box.HostHandle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(box.EditHandle()));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(::GetTextColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    ::ReleaseDC(box.EditHandle(), dc);
}

TEST(TextBoxHost, DestroyingTheBoxReleasesHostEditAndFont)
{
    HostWindow host(0, 0, 200, 100);
    HWND editorHost = nullptr;
    HWND edit = nullptr;
    HGDIOBJ font = nullptr;
    {
        LumoNumberTextBox_10pt_Bold_100 box;
        ASSERT_EQ(box.Create(host.Get(), 0, 0, 60, 24), 1);
        editorHost = box.HostHandle();
        edit = box.EditHandle();
        font = reinterpret_cast<HGDIOBJ>(::SendMessageW(edit, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_FALSE(::IsWindow(editorHost));
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_EQ(::GetObjectType(font), 0u);
}

TEST(TextBoxHost, SurvivesItsOwnerGoingFirst)
{
    auto host = std::make_unique<HostWindow>(0, 0, 200, 100);
    LumoNumberTextBox_10pt_Bold_100 box;
    ASSERT_EQ(box.Create(host->Get(), 0, 0, 60, 24), 1);
    HWND editorHost = box.HostHandle();
    host.reset();  // takes the owned host and the control window with it
    EXPECT_FALSE(::IsWindow(editorHost));
    EXPECT_EQ(box.HostHandle(), nullptr);
    EXPECT_EQ(box.EditHandle(), nullptr);
}

// --- LumoNumberTextBox ---------------------------------------------------------------

TEST(LumoNumberTextBox, PresetDefaults)
{
    LumoNumberTextBox_10pt_Bold_100 colour;
    LumoNumberTemperatureTextBox temperature;
    struct Case {
        LumoNumberTextBox* box;
        int min, max;
    } cases[] = {{&colour, 0, 255}, {&temperature, 10, 99}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.box->Text.Get(), L"-1");
        EXPECT_EQ(c.box->Value.Get(), -1);
        EXPECT_EQ(c.box->Min.Get(), c.min);
        EXPECT_EQ(c.box->Max.Get(), c.max);
        EXPECT_EQ(c.box->NumbersOnly.Get(), 1);
        EXPECT_FLOAT_EQ(c.box->FontSize.Get(), 10.0f);
        EXPECT_EQ(c.box->FontStyle.Get(), Gdiplus::FontStyleBold);
    }
}

TEST(LumoNumberTextBox, ParsesLikeADecimalNumberHeldToTheIntRange)
{
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {{L"42", 42}, {L"", 0}, {L"abc", 0}, {L"-1", -1}, {L"12ab", 12},
                 {L"99999999999", 2147483647}, {L"-99999999999", -2147483647 - 1}};
    for (const Case& c : cases) EXPECT_EQ(LumoNumberTextBox::ParseNumber(c.text), c.value) << c.text;
}

TEST(LumoNumberTextBox, ValueAndTextFollowEachOther)
{
    LumoNumberTextBox_10pt_Bold_100 box;
    ChangeCounter value;
    value.Watch(box.Value);
    box.Value = 128;
    EXPECT_EQ(box.Text.Get(), L"128");
    box.Value = 128;  // same number: nothing
    EXPECT_EQ(value.Get(), 1);
    box.Text = L"";  // empty becomes Min
    EXPECT_EQ(box.Text.Get(), L"0");
    EXPECT_EQ(box.Value.Get(), 0);
}

TEST(LumoNumberTextBox, ShowsTheSkinLooksSharedByAllBoxes)
{
    SkinSet skin;
    HostWindow host(0, 0, 200, 100);
    LumoNumberTextBox_10pt_Bold_100 first;
    LumoNumberTextBox_10pt_Bold_100 second;
    ASSERT_EQ(first.Create(host.Get(), 0, 0, 54, 31), 1);
    ASSERT_EQ(second.Create(host.Get(), 0, 40, 54, 31), 1);
    const auto normal = first.BackgroundImage.Get();
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(second.BackgroundImage.Get(), normal);
    EXPECT_EQ((::GetWindowLongPtrW(first.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, UseLayeredChildWindows());

    ::SendMessageW(first.Handle.Get(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    const auto hover = first.BackgroundImage.Get();
    ASSERT_NE(hover, nullptr);
    EXPECT_NE(hover, normal);
    ::SendMessageW(first.Handle.Get(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(first.BackgroundImage.Get(), normal);

    // Every pixel takes the mouse: none is left fully transparent.
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = controltest::ReadPixels(first.RenderDC.Get(), &width, &height);
    ASSERT_FALSE(pixels.empty());
    int transparent = 0;
    for (uint32_t p : pixels) transparent += (p >> 24) == 0 ? 1 : 0;
    EXPECT_EQ(transparent, 0);
}

// --- Editing under the modal loop -----------------------------------------------------

namespace {

enum class BoxKind { Colour, Temperature, Plain };

// Runs a text box in a dialog under CDialog::DoModal: each timer tick takes
// one step. Timers come only when the queue is empty, so the characters that
// the loop's TranslateMessage makes from a posted key arrive before the next
// step.
class EditingDialog : public CDialog {
public:
    using Step = std::function<void(EditingDialog&)>;

    explicit EditingDialog(BoxKind kind) : CDialog(kDialogId)
    {
        switch (kind) {
        case BoxKind::Colour:
            box = std::make_unique<LumoNumberTextBox_10pt_Bold_100>();
            break;
        case BoxKind::Temperature:
            box = std::make_unique<LumoNumberTemperatureTextBox>();
            break;
        case BoxKind::Plain:
            box = std::make_unique<TextBox>();
            break;
        }
    }

    BOOL OnInitDialog() override
    {
        created = box->Create(m_hWnd, 10, 10, 80, 24);
        if (!created) {
            EndDialog(-2);
            return FALSE;
        }
        ::SetTimer(m_hWnd, 1, 10, nullptr);
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 1) {
            if (next < steps.size()) {
                steps[next++](*this);
            } else {
                ::KillTimer(m_hWnd, 1);
                EndDialog(IDOK);
            }
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    HWND Edit() const { return box->EditHandle(); }
    std::wstring EditText() const
    {
        wchar_t text[300] = {};
        ::GetWindowTextW(Edit(), text, 300);
        return text;
    }
    DWORD SelectionStart() const
    {
        DWORD start = 0, end = 0;
        ::SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start;
    }
    DWORD SelectionEnd() const
    {
        DWORD start = 0, end = 0;
        ::SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return end;
    }

    std::unique_ptr<TextBox> box;
    std::vector<Step> steps;
    size_t next = 0;
    int created = 0;
};

void PostKey(HWND window, UINT key)
{
    const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    ::PostMessageW(window, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
}

// A key per step, from a string: digits and letters as themselves, '-' the
// minus key, '<' Backspace, 'L' and 'R' the arrows, 'T' Tab, 'E' Enter.
std::vector<EditingDialog::Step> Keys(const std::wstring& keys)
{
    std::vector<EditingDialog::Step> steps;
    for (wchar_t k : keys) {
        UINT key = 0;
        switch (k) {
        case L'-': key = VK_OEM_MINUS; break;
        case L'<': key = VK_BACK; break;
        case L'L': key = VK_LEFT; break;
        case L'R': key = VK_RIGHT; break;
        case L'T': key = VK_TAB; break;
        case L'E': key = VK_RETURN; break;
        default: key = static_cast<UINT>(::towupper(k)); break;
        }
        steps.push_back([key](EditingDialog& d) { PostKey(d.Edit(), key); });
    }
    return steps;
}

void Press(EditingDialog& d)
{
    ::SendMessageW(d.box->Handle.Get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(d.box->Handle.Get(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

bool PutOnClipboard(HWND owner, const std::wstring& text)
{
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool put = false;
    if (memory) {
        if (void* target = ::GlobalLock(memory)) {
            memcpy(target, text.c_str(), bytes);
            ::GlobalUnlock(memory);
            put = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return put;
}

struct EditCase {
    const char* name;
    BoxKind kind;
    const wchar_t* startText;
    const wchar_t* keys;       // typed after the press, before the end
    const wchar_t* whileEditing;  // the edit's text after the keys
    const wchar_t* ending;     // the key that ends editing ('T' or 'E'), or L"" for a focus elsewhere
    const wchar_t* finalText;
};

class Editing : public testing::TestWithParam<EditCase> {};

}  // namespace

TEST_P(Editing, KeysThroughTheModalLoop)
{
    const EditCase& c = GetParam();
    EditingDialog dialog(c.kind);
    dialog.box->Text = c.startText;
    auto raised = WatchTextChanged(*dialog.box);

    bool editingShown = false;
    std::wstring labelWhileEditing = L"?";
    std::wstring whileEditing;
    bool hostHiddenAfter = false;

    dialog.steps.push_back([](EditingDialog& d) { Press(d); });
    dialog.steps.push_back([&](EditingDialog& d) {
        editingShown = ::IsWindowVisible(d.box->HostHandle()) && ::GetFocus() == d.Edit();
        labelWhileEditing = d.box->Text.Get();
    });
    for (auto& step : Keys(c.keys)) dialog.steps.push_back(step);
    dialog.steps.push_back([&](EditingDialog& d) { whileEditing = d.EditText(); });
    if (*c.ending) {
        for (auto& step : Keys(c.ending)) dialog.steps.push_back(step);
    } else {
        dialog.steps.push_back([](EditingDialog& d) { ::SetFocus(d.m_hWnd); });
    }
    dialog.steps.push_back([&](EditingDialog& d) {
        hostHiddenAfter = !::IsWindowVisible(d.box->HostHandle()) && !d.box->IsEditing();
    });

    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(editingShown);
    EXPECT_EQ(labelWhileEditing, L"");
    EXPECT_EQ(whileEditing, c.whileEditing);
    EXPECT_TRUE(hostHiddenAfter);
    EXPECT_EQ(dialog.box->Text.Get(), c.finalText);
    // Ending always raises TextChanged once, changed or not.
    EXPECT_EQ(*raised, std::vector<std::wstring>{c.finalText});
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, Editing,
    testing::Values(
        EditCase{"LeadingZerosGo", BoxKind::Colour, L"5", L"007", L"7", L"T", L"7"},
        EditCase{"AboveMaxBecomesMax", BoxKind::Colour, L"5", L"300", L"255", L"T", L"255"},
        EditCase{"LettersAndMinusAreDropped", BoxKind::Colour, L"5", L"1a-2", L"12", L"E", L"12"},
        EditCase{"BackspaceDeletesOneCharacter", BoxKind::Colour, L"5", L"123<", L"12", L"T", L"12"},
        EditCase{"BackspaceOnTheSelectionEmptiesIt", BoxKind::Colour, L"5", L"<", L"", L"T", L"0"},
        EditCase{"UnchangedTextStillRaises", BoxKind::Colour, L"42", L"", L"42", L"E", L"42"},
        EditCase{"ClickElsewhereEnds", BoxKind::Colour, L"5", L"9", L"9", L"", L"9"},
        EditCase{"LeftMovesTheCaret", BoxKind::Colour, L"5", L"13L2", L"123", L"T", L"123"},
        EditCase{"LeftStopsAtTheStart", BoxKind::Colour, L"5", L"1LLL2", L"21", L"T", L"21"},
        EditCase{"RightStopsAtTheEnd", BoxKind::Colour, L"5", L"12LLRRR3", L"123", L"T", L"123"},
        EditCase{"TemperatureKeepsOneDigit", BoxKind::Temperature, L"50", L"5", L"5", L"T", L"5"},
        EditCase{"TemperatureAboveMax", BoxKind::Temperature, L"50", L"100", L"99", L"T", L"99"},
        EditCase{"TemperatureEmptyBecomesMin", BoxKind::Temperature, L"50", L"<", L"", L"T", L"10"},
        EditCase{"PlainBoxTakesLetters", BoxKind::Plain, L"", L"ab1-", L"ab1-", L"T", L"ab1-"},
        EditCase{"PlainBoxBackspaceDeletesOne", BoxKind::Plain, L"", L"abc<", L"ab", L"T", L"ab"}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(Editing, PressSelectsAllAndSecondPressKeepsTheSavedText)
{
    EditingDialog dialog(BoxKind::Colour);
    dialog.box->Text = L"42";
    DWORD start = 9, end = 9;
    dialog.steps.push_back([](EditingDialog& d) { Press(d); });
    dialog.steps.push_back([&](EditingDialog& d) {
        start = d.SelectionStart();
        end = d.SelectionEnd();
    });
    dialog.steps.push_back([](EditingDialog& d) { Press(d); });  // again while editing
    for (auto& step : Keys(L"T")) dialog.steps.push_back(step);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
    EXPECT_EQ(dialog.box->Text.Get(), L"42");
}

TEST(Editing, AboveMaxIsSelectedWhole)
{
    EditingDialog dialog(BoxKind::Colour);
    DWORD start = 9, end = 9;
    dialog.steps.push_back([](EditingDialog& d) { Press(d); });
    for (auto& step : Keys(L"300")) dialog.steps.push_back(step);
    dialog.steps.push_back([&](EditingDialog& d) {
        start = d.SelectionStart();
        end = d.SelectionEnd();
    });
    for (auto& step : Keys(L"T")) dialog.steps.push_back(step);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
}

TEST(Editing, ShiftArrowsKeepTheEditsOwnSelection)
{
    EditingDialog dialog(BoxKind::Colour);
    DWORD start = 9, end = 9;
    dialog.steps.push_back([](EditingDialog& d) { Press(d); });
    for (auto& step : Keys(L"12")) dialog.steps.push_back(step);
    dialog.steps.push_back([](EditingDialog&) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        ::SetKeyboardState(keys);
    });
    for (auto& step : Keys(L"L")) dialog.steps.push_back(step);
    dialog.steps.push_back([&](EditingDialog& d) {
        start = d.SelectionStart();
        end = d.SelectionEnd();
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
    });
    for (auto& step : Keys(L"T")) dialog.steps.push_back(step);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    // Extended by the edit itself, not collapsed by our arrow handling.
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 2u);
}

TEST(Editing, TextBeyondTheBufferIsCutWhenEditingEnds)
{
    EditingDialog dialog(BoxKind::Plain);
    const std::wstring longText(300, L'x');
    dialog.steps.push_back([](EditingDialog& d) { Press(d); });
    dialog.steps.push_back([&](EditingDialog& d) {
        ::SendMessageW(d.Edit(), EM_SETLIMITTEXT, 0, 0);
        ::SetWindowTextW(d.Edit(), longText.c_str());
    });
    for (auto& step : Keys(L"T")) dialog.steps.push_back(step);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.box->Text.Get(), std::wstring(TextBox::kEditTextChars - 1, L'x'));
}

struct PasteCase {
    const char* name;
    BoxKind kind;
    const wchar_t* clipboard;
    const wchar_t* finalText;
};

class Pasting : public testing::TestWithParam<PasteCase> {};

TEST_P(Pasting, PastedTextKeepsTheBounds)
{
    const PasteCase& c = GetParam();
    EditingDialog dialog(c.kind);
    dialog.box->Text = L"5";
    bool put = false;
    dialog.steps.push_back([](EditingDialog& d) { Press(d); });
    dialog.steps.push_back([&](EditingDialog& d) {
        put = PutOnClipboard(d.m_hWnd, c.clipboard);
        ::SendMessageW(d.Edit(), WM_PASTE, 0, 0);
    });
    for (auto& step : Keys(L"T")) dialog.steps.push_back(step);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(put);
    EXPECT_EQ(dialog.box->Text.Get(), c.finalText);
}

INSTANTIATE_TEST_SUITE_P(
    Clipboard, Pasting,
    testing::Values(PasteCase{"LettersLeaveTheText", BoxKind::Colour, L"abc", L"5"},
                    PasteCase{"DigitsAmongLetters", BoxKind::Colour, L"1x2y", L"12"},
                    PasteCase{"HugeNumber", BoxKind::Colour, L"99999999999", L"255"},
                    PasteCase{"HugeTemperature", BoxKind::Temperature, L"99999999999", L"99"},
                    PasteCase{"NegativeNumber", BoxKind::Colour, L"-7", L"7"}),
    [](const testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

// --- LumoPic ----------------------------------------------------------------------------

TEST(LumoPic, CopiesTheOwnersPicture)
{
    HostWindow host(0, 0, 200, 100);
    LumoPic pic;
    ASSERT_EQ(pic.Create(host.Get(), 0, 0, 20, 10), 1);

    HDC screen = ::GetDC(nullptr);
    HDC picture = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 20, 10);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(picture, bitmap);
    RECT all = {0, 0, 20, 10};
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(picture, &all, red);
    ::DeleteObject(red);

    pic.SetPictureDC(picture);
    EXPECT_EQ(controltest::PixelAt(pic.RenderDC.Get(), 10, 5) & 0x00FFFFFFu, 0x00FF0000u);
    pic.SetPictureDC(nullptr);
    EXPECT_EQ(controltest::PixelAt(pic.RenderDC.Get(), 10, 5), 0u);

    ::SelectObject(picture, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(picture);
}
