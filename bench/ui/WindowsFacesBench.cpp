// Cost of the custom-drawn windows' face work: one caption with its red halo
// (the combo box's and the text buttons' painter), one image-button refresh
// with its first cross-fade step, and one full drop-down list face, at 100 %
// and 200 %.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "bench/ui/BenchWindow.h"
#include "platform/ui/Wnd.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/combo/ComboBox3.h"
#include "ui/windows/combo/ComboBoxList3.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1e6 / frequency.QuadPart;
}

template <typename Step>
double PerCall(int rounds, Step step)
{
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) step();
    QueryPerformanceCounter(&t1);
    return Microseconds(t0, t1) / rounds;
}

class Host : public CWnd {};

void RunAt(float scale)
{
    ::wcscpy(g_szSkinResType, scale >= 2.0f ? kSkinSet4K : kSkinSet1080);
    g_fUIScale = scale;
    g_fFontScale = scale;
    g_fImageScale = 1.0f;
    const int width = ScaleByDpi(600), height = ScaleByDpi(300);
    CMemoryDC background;
    background.Resize(width, height);
    Host host;
    host.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, 20, 20, width, height, nullptr, nullptr);

    CMemoryDC face;
    face.Resize(ScaleByDpi(287), ScaleByDpi(36));
    const Gdiplus::RectF rect(static_cast<float>(ScaleByDpi(15)), 0, static_cast<float>(ScaleByDpi(272)),
                              static_cast<float>(ScaleByDpi(36)));
    const double halo = PerCall(100, [&] {
        Gdiplus::Graphics graphics(face.GetSafeHdc());
        CLightButton::DrawFace(&graphics, rect, L"All keys", 3, 235, TRUE, nullptr);
    });

    const wchar_t* const images[CLightButton::kStateCount] = {L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", nullptr,
                                                              nullptr,       nullptr,      L"BTN_DISABLE", nullptr};
    CLightButton button;
    button.CreateFromImages(&host, background.GetSafeHdc(), images, 10, 10, ScaleByDpi(150), ScaleByDpi(38));
    button.SetText(L"Apply", 0, 0, ScaleByDpi(150), ScaleByDpi(38));
    const double refresh = PerCall(200, [&] { button.Refresh(TRUE, 1); });
    button.Refresh(FALSE, 0);

    CComboBox3 combo;
    combo.LoadImages(::GetModuleHandleW(nullptr), &host, 10, 60, background.GetSafeHdc());
    combo.Prerender();
    combo.Create();
    for (const wchar_t* item : {L"All keys", L"WASD", L"QWER"}) combo.AddString(item);
    ComboBoxList3Params params;
    params.width = g_ComboMetrics.ListWidth();
    params.itemHeight = g_ComboMetrics.ItemHeight();
    params.items = {L"All keys", L"WASD", L"QWER"};
    params.hovered = 1;
    CComboBoxList3 list(params);
    const double listFace = PerCall(50, [&] {
        g_ComboFaces.list[1].reset();
        list.Render();
    });

    std::printf("%3.0f %%: halo caption %.0f us, button refresh with fade step %.0f us, list face (3 rows) %.0f us\n",
                scale * 100, halo, refresh, listFace);
}

}  // namespace

int main()
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    RunAt(1.0f);
    RunAt(2.0f);
    return 0;
}
