// The effect panel's speed: a click on an effect radio button until its
// WM_EFFECTTYPE_CHANGED is posted (the record reloaded and the panel
// re-rendered on the way), and a whole effect change (load, Layout, render)
// at 100 % and 200 %.
// "--show <base|four|seven> <scale> <effect> <zone> <ms>" instead keeps one
// panel on screen; "--parts" times the pieces of a change one by one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanelFourColor.h"
#include "app/effectpanel/LumoEffectPanelSevenColor.h"
#include "backend/device/RgbKeyboard.h"
#include "bench/ui/BenchWindow.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace {

struct Timing {
    double median;
    double mean;
};

Timing Summarise(std::vector<double> ms)
{
    double sum = 0;
    for (double v : ms) sum += v;
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], sum / ms.size()};
}

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The start-up state the main dialog gives the panels, at a scale: 200 %
// is the 4K class with its own image set.
void StartUpAt(float scale)
{
    const bool fourK = scale >= 2.0f;
    g_nResolutionClass = fourK ? 3 : 0;
    InitScaleFactorsFor(g_nResolutionClass, scale);
    g_fImageScale = g_fImageScaleBase;
    g_fFontScale = g_fFontScaleBase;
    wcscpy_s(g_szSkinResType, SkinResourceTypeForClass(g_nResolutionClass));
    g_nLangIndexUI = 1;
    InitLangFilePath();
    wcscpy_s(g_szLangSection, L"English");
    g_dwSupport = 1;
    for (CustomProfile& profile : g_CustomProfiles) {
        profile = CustomProfile{};
        for (EffectData& record : profile.allData) record = DefaultEffectData();
        for (EffectData& record : profile.fourData) record = DefaultEffectData();
        profile.allData[1].ColorR = 0, profile.allData[1].ColorG = 160, profile.allData[1].ColorB = 255;
        profile.allData[4].ColorR = 255, profile.allData[4].ColorG = 200, profile.allData[4].ColorB = 0;
        for (int i = 0; i < kZoneEffectCount; ++i) {
            EffectData& r = profile.fourData[i];
            r.Color2R = 255, r.Color2G = 160, r.Color2B = 0;
            r.Color3R = 0, r.Color3G = 200, r.Color3B = 80;
            r.Color4R = 0, r.Color4G = 120, r.Color4B = 255;
            r.Color5R = 200, r.Color5G = 0, r.Color5B = 255;
            r.Color6R = 255, r.Color6G = 255, r.Color6B = 255;
            r.Color7R = 255, r.Color7G = 80, r.Color7B = 160;
        }
    }
}

std::unique_ptr<LumoEffectPanel> MakePanel(const std::string& kind, HWND host, int profile)
{
    std::unique_ptr<LumoEffectPanel> panel;
    if (kind == "seven") panel = std::make_unique<LumoEffectPanelSevenColor>();
    else if (kind == "four") panel = std::make_unique<LumoEffectPanelFourColor>();
    else panel = std::make_unique<LumoEffectPanel>();
    if (!panel->Create(host, 0, 0, ScaleByDpi(287), ScaleByDpi(514))) return nullptr;
    panel->BindEvents(nullptr);
    SendMessageW(panel->Handle.Get(), WM_PANEL_SETPROFILE, static_cast<WPARAM>(profile), 0);
    panel->SnapshotSelection();
    return panel;
}

bool TakeEffectTypeChanged(HWND host)
{
    MSG msg;
    return PeekMessageW(&msg, host, WM_EFFECTTYPE_CHANGED, WM_EFFECTTYPE_CHANGED, PM_REMOVE) != FALSE;
}

void DrainQueue()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Press and release on the button, as the mouse gives them, until the
// message reaches the host's queue.
Timing TimeClicks(float scale, int count)
{
    StartUpAt(scale);
    HWND host = bench::MakeHost(L"EffectPanelBenchHost", ScaleByDpi(300), ScaleByDpi(530), RGB(20, 20, 24));
    auto panel = MakePanel("base", host, 0);
    if (!panel) return {0, 0};
    bench::Pump(100);
    std::vector<double> ms;
    for (int i = 0; i < count + 5; ++i) {
        DrainQueue();
        HWND button = panel->m_effectButtons[i % 2 == 0 ? 1 : 0]->Handle.Get();
        const double start = Now();
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        const bool posted = TakeEffectTypeChanged(host);
        const double elapsed = Now() - start;
        if (!posted) std::printf("  no WM_EFFECTTYPE_CHANGED after click %d\n", i);
        if (i >= 5) ms.push_back(elapsed);
    }
    panel.reset();
    DestroyWindow(host);
    return Summarise(ms);
}

// One effect change: reload, Layout of every group and the render of the
// panel with its children.
Timing TimeEffectChanges(const std::string& kind, float scale, int profile, int count)
{
    StartUpAt(scale);
    HWND host = bench::MakeHost(L"EffectPanelBenchHost", ScaleByDpi(300), ScaleByDpi(530), RGB(20, 20, 24));
    auto panel = MakePanel(kind, host, profile);
    if (!panel) return {0, 0};
    bench::Pump(100);
    const int effects[] = {0, 1, 2, 4};
    std::vector<double> ms;
    for (int i = 0; i < count + 5; ++i) {
        DrainQueue();
        const double start = Now();
        panel->SetEffectType(effects[i % 4]);
        const double elapsed = Now() - start;
        if (i >= 5) ms.push_back(elapsed);
    }
    panel.reset();
    DestroyWindow(host);
    return Summarise(ms);
}

int Show(const std::string& kind, float scale, int effect, int zone, DWORD milliseconds)
{
    StartUpAt(scale);
    HWND host = bench::MakeHost(L"EffectPanelShowHost", ScaleByDpi(287) + 40, ScaleByDpi(514) + 40, RGB(20, 20, 24));
    const int profile = zone == 1 ? 1 : 0;
    auto panel = MakePanel(kind, host, profile);
    if (!panel) return 1;
    SetWindowPos(panel->Handle.Get(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (zone == 3) SendMessageW(panel->Handle.Get(), WM_PANEL_SETZONE, 0, 3);
    if (effect >= 0 && effect < LumoEffectPanel::kEffectButtonCount && panel->m_effectButtons[effect]->Handle.Get())
        panel->m_effectButtons[effect]->IsChecked = 1;
    else
        panel->SetEffectType(effect);
    panel->SnapshotSelection();
    bench::Pump(milliseconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok() || FAILED(CoInitialize(nullptr))) return 1;
    if (argc >= 7 && std::strcmp(argv[1], "--show") == 0)
        return Show(argv[2], static_cast<float>(std::atof(argv[3])), std::atoi(argv[4]), std::atoi(argv[5]),
                    static_cast<DWORD>(std::atoi(argv[6])));

    if (argc >= 2 && std::strcmp(argv[1], "--parts") == 0) {
        StartUpAt(1.0f);
        HWND host = bench::MakeHost(L"EffectPanelBenchHost", ScaleByDpi(300), ScaleByDpi(530), RGB(20, 20, 24));
        auto panel = MakePanel("base", host, 0);
        bench::Pump(100);
        auto time = [&](const char* name, auto&& fn) {
            std::vector<double> ms;
            for (int i = 0; i < 50; ++i) {
                DrainQueue();
                const double start = Now();
                fn(i);
                ms.push_back(Now() - start);
            }
            std::printf("%s: median %.3f ms\n", name, Summarise(ms).median);
        };
        time("panel Render", [&](int) { panel->Render(); });
        time("panel Control::Render", [&](int) { panel->Control::Render(); });
        time("one radio Render", [&](int) { panel->m_effectButtons[0]->Render(); });
        time("one title Render", [&](int) { panel->m_effectsTitle.Render(); });
        time("Layout", [&](int) { panel->Layout(); });
        time("LoadFromEffect", [&](int) { panel->LoadFromEffect(panel->CurrentEffect()); });
        time("tempo toggle", [&](int i) { panel->m_tempoButtons[i % 3]->IsChecked = 1; });
        time("static <-> breathing", [&](int i) { panel->SetEffectType(i % 2); });
        time("static <-> strobing", [&](int i) { panel->SetEffectType(i % 2 ? 4 : 0); });
        time("swatch colour", [&](int i) { panel->Color1 = Gdiplus::Color(i % 2 ? 0xFF00FF00 : 0xFF0000FF); });
        time("X move", [&](int i) { panel->m_tempoTitle.X = i % 2 ? 10 : 12; });
        time("IsVisible", [&](int i) { panel->m_musicTitle.IsVisible = i % 2; });
        return 0;
    }
    const int count = 200;
    const Timing click = TimeClicks(1.0f, count);
    std::printf("effect radio click to WM_EFFECTTYPE_CHANGED, 100 %%: median %.3f ms, mean %.3f ms (%d)\n",
                click.median, click.mean, count);
    struct Case {
        const char* kind;
        int profile;
        float scale;
    };
    const Case cases[] = {{"base", 0, 1.0f}, {"base", 0, 2.0f}, {"seven", 1, 1.0f}, {"seven", 1, 2.0f}};
    for (const Case& c : cases) {
        const Timing change = TimeEffectChanges(c.kind, c.scale, c.profile, count);
        std::printf("effect change (load, Layout, render), %s panel, %.0f %%: median %.3f ms, mean %.3f ms (%d)\n",
                    c.kind, c.scale * 100.0f, change.median, change.mean, count);
    }
    CoUninitialize();
    return 0;
}
