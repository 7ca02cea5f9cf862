// The keyboard picture: one full redraw (keys, gradient, glow, composition)
// at 100 % and 200 %, one cross-fade step at 100 %, and the timer messages
// of an idle picture. The Direct2D factories live only while a client is
// registered: each redraw is timed alone and with the effect panel's client
// registered, as in the main window. Frames of the same description are
// kept, so a repeated redraw shows the cost without the gradient and the
// "new colours" line the cost with it.
// "--show <ms> [--scale 2]" instead keeps the picture with a rainbow on screen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "backend/device/RgbKeyboard.h"
#include "backend/profiles/EffectModel.h"
#include "bench/ui/BenchWindow.h"
#include "platform/ui/UiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/keyboard/CustomWnd.h"

namespace {

struct Timing {
    double first, best, median;
};

template <typename Fn>
Timing TimeCalls(Fn&& call, int count)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        call();
        QueryPerformanceCounter(&end);
        samples.push_back(double(end.QuadPart - begin.QuadPart) * 1e3 / double(frequency.QuadPart));
    }
    const double first = samples.front();
    std::sort(samples.begin(), samples.end());
    return {first, samples.front(), samples[samples.size() / 2]};
}

// A model with four zones: a rainbow on profile 0 and a four-colour zone
// effect on profile 1, both drawn over a gradient frame.
constexpr unsigned kZonedModel = 2;

void SetEffects()
{
    g_dwSupport = 1;
    g_CustomProfiles = {};
    g_CustomProfiles[0].allIndex = 3;
    g_CustomProfiles[1].fourIndex = 0;
    EffectData& zones = g_CustomProfiles[1].fourData[0];
    zones.ColorR = 255, zones.Color2G = 255, zones.Color3B = 255;
    zones.Color4R = zones.Color4G = 255;
}

void UseScale(float scale)
{
    g_fUIScale = scale;
    g_fImageScale = 1.0f;
    wcscpy_s(g_szSkinResType, kSkinResTypeChars, scale > 1.5f ? kSkinSet4K : kSkinSet1080);
}

struct Picture {
    HWND host = nullptr;
    CWnd hostWnd;
    CMemoryDC background;
    CCustomWnd frame;

    explicit Picture(unsigned modelType)
    {
        const int w = ScaleByDpi(CCustomWnd::kKeyboardWidth), h = ScaleByDpi(CCustomWnd::kKeyboardHeight);
        hostWnd.CreateEx(0, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW)), L"keyboard", WS_POPUP | WS_VISIBLE,
                         0, 0, w, h, nullptr, nullptr);
        background.Resize(w, h);
        PatBlt(background, 0, 0, w, h, BLACKNESS);
        frame.Create(&hostWnd, background, 0, 0, w, h, modelType);
    }
    ~Picture()
    {
        frame.Destroy();
        hostWnd.DestroyWindow();
    }
};

int TimerMessagesWhileIdle(CKeybdWnd& keys, DWORD milliseconds)
{
    int count = 0;
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == keys.GetSafeHwnd()) ++count;
            DispatchMessageW(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return count;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

int Benchmark()
{
    int failed = 0;
    for (float scale : {1.0f, 2.0f}) {
        UseScale(scale);
        const double target = scale > 1.5f ? 40.0 : 12.0;
        Picture picture(kZonedModel);
        CKeybdWnd& keys = picture.frame.Keyboard();
        keys.SetFadeEnabled(false);
        for (bool panelClient : {false, true}) {
            // The effect panel keeps its own client for the window's life.
            const HWND panelKey = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7A11));
            if (panelClient) D2DAddClient(panelKey);
            for (int profile : {0, 1}) {
                const Timing t = TimeCalls([&] { keys.DrawKeyboard(false, profile, false); }, panelClient ? 40 : 10);
                std::printf("redraw %3.0f %% %-9s %-22s first %7.2f ms, best %7.2f ms, median %7.2f ms (target %.0f ms)\n",
                            scale * 100, profile == 0 ? "rainbow" : "4 zones",
                            panelClient ? "(panel client kept)" : "(client per redraw)", t.first, t.best, t.median,
                            target);
                if (panelClient && t.median > target) ++failed;
            }
            if (panelClient) {
                // A zone colour that changes every time: no kept frame fits.
                int red = 0;
                const Timing t = TimeCalls(
                    [&] {
                        g_CustomProfiles[1].fourData[0].ColorR = (red += 7) % 256;
                        keys.DrawKeyboard(false, 1, false);
                    },
                    20);
                std::printf("redraw %3.0f %% 4 zones, new colours each time (panel client kept) best %7.2f ms, "
                            "median %7.2f ms\n",
                            scale * 100, t.best, t.median);
                SetEffects();
                D2DRemoveClient(panelKey);
            }
        }
        if (scale > 1.5f) continue;

        // One cross-fade step: the timer's handler with the fade under way.
        keys.SetFadeEnabled(true);
        std::vector<double> steps;
        for (int round = 0; round < 10; ++round) {
            keys.UpdatePreview(CKeybdWnd::kPreviewNow, round % 2);
            const Timing t = TimeCalls([&] { keys.SendMessage(WM_TIMER, CKeybdWnd::kCrossFadeTimerId, 0); },
                                       CKeybdWnd::kCrossFadeSteps - 1);
            steps.push_back(t.median);
            keys.SendMessage(WM_TIMER, CKeybdWnd::kCrossFadeTimerId, 0);  // the last step ends the fade
        }
        std::sort(steps.begin(), steps.end());
        std::printf("cross-fade step 100 %%: median %.3f ms, best %.3f ms (target 3 ms)\n", steps[steps.size() / 2],
                    steps.front());
        if (steps[steps.size() / 2] > 3.0) ++failed;

        keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0);
        bench::Pump(400);  // the fade runs out
        const int idle = TimerMessagesWhileIdle(keys, 5000);
        std::printf("idle picture: %d timer messages in 5 s (target 0)\n", idle);
        if (idle != 0) ++failed;
    }
    return failed;
}

int Show(DWORD milliseconds, float scale)
{
    UseScale(scale);
    Picture picture(kZonedModel);
    picture.frame.Keyboard().UpdatePreview(CKeybdWnd::kPreviewNow, 0);
    bench::Pump(milliseconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::GdiplusRun gdiplus;
    platform::ComApartment com(COINIT_APARTMENTTHREADED);
    SetEffects();
    if (argc >= 3 && std::strcmp(argv[1], "--show") == 0) {
        const float scale = argc >= 5 && std::strcmp(argv[3], "--scale") == 0 ? float(std::atof(argv[4])) : 1.0f;
        return Show(DWORD(std::atoi(argv[2])), scale);
    }
    const int failed = Benchmark();
    std::printf(failed ? "%d figure(s) over target\n" : "all figures within target\n", failed);
    return failed ? 1 : 0;
}
