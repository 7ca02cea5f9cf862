#include "tests/ui/framework/ControlTestSupport.h"

#include <gtest/gtest.h>

#include "platform/win/Dib.h"

namespace controltest {
namespace {

// GDI+ runs for the whole test exe, as it does for the program.
class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

testing::Environment* const g_gdiplus = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

const wchar_t kHostClass[] = L"ControlTestHost";

}  // namespace

HostWindow::HostWindow(int x, int y, int width, int height)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH));
    wc.lpszClassName = kHostClass;
    ::RegisterClassExW(&wc);
    m_hWnd = ::CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
                               nullptr, nullptr, wc.hInstance, nullptr);
}

HostWindow::~HostWindow()
{
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

ChangedLog WatchChanged(Control& control)
{
    auto log = std::make_shared<std::vector<std::string>>();
    auto watch = [&log](property_bs_base& property, const char* name) {
        std::string text = name;
        ChangedLog target = log;
        property.Changed.Subscribe([target, text](void*, PropertyChangedArgs) { target->push_back(text); });
    };
    watch(control.Handle, "Handle");
    watch(control.IsCreated, "IsCreated");
    watch(control.X, "X");
    watch(control.Y, "Y");
    watch(control.Width, "Width");
    watch(control.Height, "Height");
    watch(control.Location, "Location");
    watch(control.Size, "Size");
    watch(control.Bounds, "Bounds");
    watch(control.IsMouseOver, "IsMouseOver");
    watch(control.BackgroundImage, "BackgroundImage");
    watch(control.StretchImage, "StretchImage");
    watch(control.Background, "Background");
    watch(control.FontSize, "FontSize");
    watch(control.FontStyle, "FontStyle");
    watch(control.FontFamily, "FontFamily");
    watch(control.Foreground, "Foreground");
    watch(control.Opacity, "Opacity");
    watch(control.IsEnabled, "IsEnabled");
    watch(control.IsVisible, "IsVisible");
    watch(control.IsFocused, "IsFocused");
    watch(control.IsLayered, "IsLayered");
    watch(control.IsTabStop, "IsTabStop");
    watch(control.IsHitTestVisible, "IsHitTestVisible");
    watch(control.Margin, "Margin");
    watch(control.SecondaryBrush, "SecondaryBrush");
    watch(control.Tag, "Tag");
    watch(control.RenderDC, "RenderDC");
    watch(control.BackgroundDC, "BackgroundDC");
    return log;
}

std::vector<uint32_t> ReadPixels(HDC surface, int* width, int* height)
{
    std::vector<uint32_t> pixels;
    HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(surface, OBJ_BITMAP));
    BITMAP description = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(description), &description)) return pixels;
    BITMAPINFO info = platform::Dib32Info(description.bmWidth, -description.bmHeight);
    pixels.resize(static_cast<size_t>(description.bmWidth) * description.bmHeight);
    if (!::GetDIBits(surface, bitmap, 0, description.bmHeight, pixels.data(), &info, DIB_RGB_COLORS)) pixels.clear();
    if (width) *width = description.bmWidth;
    if (height) *height = description.bmHeight;
    return pixels;
}

uint32_t PixelAt(HDC surface, int x, int y)
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels = ReadPixels(surface, &width, &height);
    if (x < 0 || y < 0 || x >= width || y >= height || pixels.empty()) return 0xDEADBEEF;
    return pixels[static_cast<size_t>(y) * width + x];
}

std::shared_ptr<Gdiplus::Bitmap> TwoColourBitmap(int width, int height, Gdiplus::ARGB left, Gdiplus::ARGB right)
{
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, Gdiplus::Color(x < width / 2 ? left : right));
    }
    return bitmap;
}

}  // namespace controltest
