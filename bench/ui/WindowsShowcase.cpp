// Not a benchmark: the image buttons, the tab underline and the zone combo
// box with its list open, on a host window, for a look. Usage:
// windows_showcase [milliseconds to stay up] [ui scale]
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <memory>

#include "bench/ui/BenchWindow.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/buttons/LineWnd.h"
#include "ui/windows/combo/ComboBox3.h"
#include "ui/windows/combo/ComboBoxBtn3.h"

namespace {

class Host : public CWnd {};

std::unique_ptr<CMemoryDC> Background(int width, int height)
{
    auto surface = std::make_unique<CMemoryDC>();
    surface->Resize(width, height);
    auto* pixel = static_cast<uint32_t*>(surface->Bits());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixel[y * width + x] = 0xFF000000u | ((0x10 + y / 16) << 16) | 0x1318;
    return surface;
}

}  // namespace

int main(int argc, char** argv)
{
    const DWORD stay = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5000;
    const float scale = argc > 2 ? static_cast<float>(std::atof(argv[2])) : 1.0f;
    bench::GdiplusRun gdiplus;
    ::wcscpy(g_szSkinResType, scale >= 2.0f ? kSkinSet4K : kSkinSet1080);
    g_fUIScale = scale;
    g_fFontScale = scale;
    g_fImageScale = scale >= 2.0f ? 1.0f : scale;

    const int width = ScaleByDpi(700), height = ScaleByDpi(400);
    auto background = Background(width, height);
    Host host;
    host.CreateEx(0, AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))), L"showcase",
                  WS_POPUP | WS_VISIBLE, 40, 40, width, height, nullptr, nullptr);
    {
        HDC dc = ::GetDC(host.GetSafeHwnd());
        ::BitBlt(dc, 0, 0, width, height, background->GetSafeHdc(), 0, 0, SRCCOPY);
        ::ReleaseDC(host.GetSafeHwnd(), dc);
    }

    const wchar_t* const images[CLightButton::kStateCount] = {L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", nullptr,
                                                              nullptr,       nullptr,      L"BTN_DISABLE", nullptr};
    CLightButton apply;
    apply.CreateFromImages(&host, background->GetSafeHdc(), images, ScaleByDpi(500), ScaleByDpi(330),
                           ScaleByDpi(150), ScaleByDpi(38));
    apply.SetText(L"Apply", 0, 0, ScaleByDpi(150), ScaleByDpi(38));
    CLightButton ok;
    ok.CreateFromImages(&host, background->GetSafeHdc(), images, ScaleByDpi(330), ScaleByDpi(330), ScaleByDpi(150),
                        ScaleByDpi(38));
    ok.LoadFrameImages();
    ok.SetTextStyle(L"OK", 0, 0, ScaleByDpi(150), ScaleByDpi(38));
    ok.Refresh(FALSE, 0);

    CLineWnd line;
    line.Create(&host, background->GetSafeHdc(), 0, ScaleByDpi(20), width, ScaleByDpi(5));
    const int centres[] = {ScaleByDpi(100), ScaleByDpi(300)};
    line.MoveTo(1, centres, 2);

    CComboBox3 combo;
    combo.LoadImages(::GetModuleHandleW(nullptr), &host, ScaleByDpi(40), ScaleByDpi(60), background->GetSafeHdc());
    combo.Prerender();
    combo.Create();
    combo.FreeImages();
    for (const wchar_t* item : {L"All keys", L"WASD", L"QWER"}) combo.AddString(item);
    bench::Pump(100);
    // Open the list as a press on the box would, and hover the second row.
    ::SendMessageW(combo.GetButton()->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    bench::Pump(400);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_DOWN, 0);
    bench::Pump(stay);
    return 0;
}
