// Cost of the largest skin image, MAIN_BG, from resource to a memory DC at
// each set's scales (decode, scale, GDI bitmap), as the main window does it.
#include <windows.h>

#include <cstdio>

#include "ui/framework/GdiHelpers.h"
#include "ui/framework/SkinImage.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1e6 / frequency.QuadPart;
}

struct Phases {
    double decode = 0, toDc = 0, best = 1e30;
};

bool LoadOnce(Phases& phases)
{
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    Gdiplus::Bitmap* bitmap = nullptr;
    if (!LoadSkinImage(&bitmap, GetModuleHandleW(nullptr), L"MAIN_BG")) return false;
    QueryPerformanceCounter(&t1);
    HDC dc = nullptr;
    int width = 0, height = 0;
    int made = SkinBitmapToMemoryDC(bitmap, &width, &height, &dc, g_fImageScale);
    QueryPerformanceCounter(&t2);
    delete bitmap;
    if (!made) return false;
    DeleteMemoryDC(dc);
    phases.decode += Microseconds(t0, t1);
    phases.toDc += Microseconds(t1, t2);
    if (Microseconds(t0, t2) < phases.best) phases.best = Microseconds(t0, t2);
    return true;
}

}  // namespace

int main()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 1;
    struct Case {
        const wchar_t* set;
        float scale;
    } cases[] = {{kSkinSet1080, 1.0f}, {kSkinSet1080, 1.25f}, {kSkinSet4K, 0.75f}, {kSkinSet4K, 1.0f}};
    const int rounds = 10;
    int failed = 0;
    for (const Case& c : cases) {
        wcscpy_s(g_szSkinResType, c.set);
        g_fImageScale = c.scale;
        Phases warm;
        LoadOnce(warm);
        Phases phases;
        bool ok = true;
        for (int i = 0; i < rounds && ok; ++i) ok = LoadOnce(phases);
        if (!ok) {
            std::printf("MAIN_BG %ls at %.2f: failed\n", c.set, c.scale);
            ++failed;
            continue;
        }
        std::printf("MAIN_BG %ls at %.2f: %.0f us per load, best %.0f us (decode %.0f us, scale and GDI bitmap %.0f us)\n",
                    c.set, c.scale, (phases.decode + phases.toDc) / rounds, phases.best, phases.decode / rounds,
                    phases.toDc / rounds);
    }
    Gdiplus::GdiplusShutdown(token);
    return failed ? 1 : 0;
}
