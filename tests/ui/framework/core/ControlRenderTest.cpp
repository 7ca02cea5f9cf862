#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/Dib.h"
#include "tests/support/TraceCapture.h"
#include "tests/ui/framework/ControlTestSupport.h"
#include "tests/ui/framework/GdiLedger.h"
#include "ui/framework/core/Control.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/core/Panel.h"
#include "ui/framework/drawing/GdiHelpers.h"

using controltest::ChangedLog;
using controltest::HostWindow;
using controltest::PixelAt;
using controltest::PumpUntil;
using controltest::ReadPixels;
using controltest::WatchChanged;
using Names = std::vector<std::string>;

namespace {

// What the last layered presentation was asked to do.
struct LayeredCall {
    int count = 0;
    BOOL result = FALSE;
    HWND window = nullptr;
    HDC destination = reinterpret_cast<HDC>(1);
    POINT point = {};
    SIZE size = {};
    HDC source = nullptr;
    POINT sourcePoint = {-1, -1};
    BLENDFUNCTION blend = {};
    DWORD flags = 0;
    bool hasDirty = false;
    RECT dirty = {};
};
LayeredCall g_layered;
decltype(&::UpdateLayeredWindowIndirect) g_realUpdateLayered = nullptr;

BOOL WINAPI RecordUpdateLayered(HWND window, const UPDATELAYEREDWINDOWINFO* info)
{
    ++g_layered.count;
    g_layered.window = window;
    g_layered.destination = info->hdcDst;
    g_layered.point = info->pptDst ? *info->pptDst : POINT{-1, -1};
    g_layered.size = info->psize ? *info->psize : SIZE{-1, -1};
    g_layered.source = info->hdcSrc;
    g_layered.sourcePoint = info->pptSrc ? *info->pptSrc : POINT{-1, -1};
    g_layered.blend = info->pblend ? *info->pblend : BLENDFUNCTION{};
    g_layered.flags = info->dwFlags;
    g_layered.hasDirty = info->prcDirty != nullptr;
    if (info->prcDirty) g_layered.dirty = *info->prcDirty;
    g_layered.result = g_realUpdateLayered(window, info);
    return g_layered.result;
}

// The last layered presentation put the control's surface at the place and size.
void ExpectLastLayeredUpdate(Control& control, int x, int y, int width, int height)
{
    EXPECT_EQ(g_layered.window, control.Handle.Get());
    EXPECT_EQ(g_layered.result, TRUE);
    EXPECT_EQ(g_layered.point.x, x);
    EXPECT_EQ(g_layered.point.y, y);
    EXPECT_EQ(g_layered.size.cx, width);
    EXPECT_EQ(g_layered.size.cy, height);
    EXPECT_EQ(g_layered.source, control.RenderDC.Get());
}

// Routes the exe's import of UpdateLayeredWindowIndirect through the recorder.
class LayeredRecorder {
public:
    LayeredRecorder() { m_installed = Swap(reinterpret_cast<void*>(&RecordUpdateLayered), true); }
    ~LayeredRecorder()
    {
        if (m_installed) Swap(reinterpret_cast<void*>(g_realUpdateLayered), false);
    }
    bool Installed() const { return m_installed; }

private:
    static bool Swap(void* replacement, bool keepReal)
    {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
            if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "user32.dll") != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "UpdateLayeredWindowIndirect") != 0)
                    continue;
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                DWORD old = 0;
                VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old);
                if (keepReal) g_realUpdateLayered = reinterpret_cast<decltype(g_realUpdateLayered)>(*slot);
                *slot = replacement;
                VirtualProtect(slot, sizeof(*slot), old, &old);
                return true;
            }
        }
        return false;
    }
    bool m_installed = false;
};

// Counts renders and paints, and shows the surface and the painted area.
class Probe : public Control {
public:
    explicit Probe(Names* order = nullptr, std::string name = "") : m_order(order), m_name(std::move(name)) {}

    int renders = 0;
    int paints = 0;
    int contentPaints = 0;
    RECT lastPaintBox = {};
    Gdiplus::Status lastBackgroundStatus = Gdiplus::GenericError;
    DWORD exStyle = 0;

    void Render() override
    {
        ++renders;
        if (m_order) m_order->push_back(m_name);
        Control::Render();
    }
    void SuspendRenders(bool suspended) { m_bRenderSuspended = suspended ? 1 : 0; }
    void PaintInto(HDC dc) { Control::OnPaint(dc); }
    HDC Surface() const { return m_memDC.GetSafeHdc(); }

protected:
    DWORD AdjustExStyle(DWORD style) override { return style | exStyle; }
    void OnPaint(HDC dc) override
    {
        ++paints;
        GetClipBox(dc, &lastPaintBox);
        Control::OnPaint(dc);
    }
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override
    {
        lastBackgroundStatus = Control::PaintBackground(graphics);
        return lastBackgroundStatus;
    }
    void PaintContent(Gdiplus::Graphics&) override { ++contentPaints; }

private:
    Names* m_order;
    std::string m_name;
};

uint32_t Alpha(uint32_t pixel)
{
    return pixel >> 24;
}

}  // namespace

// --- Surface ---------------------------------------------------------------------------

TEST(ControlSurface, BackgroundFillsTheInnerRectangleWithPremultipliedColour)
{
    struct Row {
        const char* name;
        Gdiplus::ARGB colour;
        uint32_t inside;  // expected surface pixel, premultiplied 0xAARRGGBB
        Gdiplus::Status status;
    };
    const Row rows[] = {
        {"opaque", 0xFF102030, 0xFF102030, Gdiplus::Ok},
        {"half transparent red", 0x80FF0000, 0x80800000, Gdiplus::Ok},
        {"zero means no fill", 0x00000000, 0x00000000, Gdiplus::Ok},
    };
    HostWindow host(0, 0, 200, 200);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Probe control;
        ASSERT_EQ(control.Create(host.Get(), 0, 0, 40, 30), 1);
        control.Margin = Control::Thickness(2, 3, 4, 5);
        control.Background = Gdiplus::Color(row.colour);
        control.Render();
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels = ReadPixels(control.RenderDC.Get(), &width, &height);
        ASSERT_EQ(width, 40);
        ASSERT_EQ(height, 30);
        auto at = [&](int x, int y) { return pixels[y * width + x]; };
        // Inner rectangle: x 2..35, y 3..24.
        EXPECT_NEAR(static_cast<double>(Alpha(at(2, 3))), Alpha(row.inside), 1.0);
        EXPECT_EQ(at(2, 3) & 0x00F0F0F0, row.inside & 0x00F0F0F0);
        EXPECT_EQ(at(35, 24) & 0xFFF0F0F0, at(2, 3) & 0xFFF0F0F0);
        // Margin: cleared to transparent, premultiplied (no additive colour).
        EXPECT_EQ(at(1, 10), 0u);
        EXPECT_EQ(Alpha(at(36, 10)), 0u);
        EXPECT_EQ(Alpha(at(10, 2)), 0u);
        EXPECT_EQ(Alpha(at(10, 25)), 0u);
        EXPECT_EQ(control.lastBackgroundStatus, row.status);
        EXPECT_GE(control.contentPaints, 1);
    }
}

TEST(ControlSurface, BackgroundImageIsStretchedOrDrawnAtNaturalSize)
{
    HostWindow host(0, 0, 200, 200);
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 0, 0, 20, 20), 1);
    // 40 x 40: left half red, right half blue; larger than the control.
    control.BackgroundImage = controltest::TwoColourBitmap(40, 40, 0xFFFF0000, 0xFF0000FF);
    HDC surface = control.RenderDC.Get();
    EXPECT_EQ(PixelAt(surface, 2, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(PixelAt(surface, 17, 10) & 0xFFFFFF, 0x0000FFu);

    ChangedLog log = WatchChanged(control);
    control.StretchImage = 0;
    EXPECT_EQ(*log, Names{"StretchImage"});
    // Natural size, clipped by the surface: only the red half shows.
    EXPECT_EQ(PixelAt(surface, 2, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(PixelAt(surface, 17, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Alpha(PixelAt(surface, 19, 19)), 0xFFu);
}

TEST(ControlSurface, NonLayeredControlStartsFromTheBackgroundAtItsOwnPlace)
{
    HostWindow host(0, 0, 200, 200);
    CMemoryDC behind;
    ASSERT_TRUE(behind.Resize(100, 100));
    {
        Gdiplus::Graphics g(behind.GetSafeHdc());
        g.Clear(Gdiplus::Color(0xFF000000));
        Gdiplus::SolidBrush green(Gdiplus::Color(0xFF00FF00));
        g.FillRectangle(&green, 30, 20, 1, 1);  // the pixel at the control's origin
    }
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 30, 20, 10, 10), 1);
    EXPECT_EQ(Alpha(PixelAt(control.RenderDC.Get(), 0, 0)), 0u);  // no background DC: nothing blended

    control.BackgroundDC = behind.GetSafeHdc();
    EXPECT_EQ(PixelAt(control.RenderDC.Get(), 0, 0), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(control.RenderDC.Get(), 1, 1), 0xFF000000u);

    // Layered controls present with per-pixel alpha instead: no blend.
    Probe layered;
    layered.exStyle = WS_EX_LAYERED;
    ASSERT_EQ(layered.Create(nullptr, 30, 20, 10, 10), 1);
    ASSERT_NE(layered.IsLayered.Get(), 0);
    layered.BackgroundDC = behind.GetSafeHdc();
    EXPECT_EQ(Alpha(PixelAt(layered.RenderDC.Get(), 0, 0)), 0u);
}

TEST(ControlSurface, PixelsBehindAreLaidUnchangedWhicheverWayTheBackgroundIsStored)
{
    HostWindow host(0, 0, 200, 200);
    CMemoryDC topDown;
    ASSERT_TRUE(topDown.Resize(60, 50));
    HDC bottomUp = nullptr;
    HBITMAP bottomUpBitmap = nullptr;
    ASSERT_EQ(CreateMemoryDCBitmap(60, 50, &bottomUp, TRUE, &bottomUpBitmap), 1);
    for (HDC behind : {topDown.GetSafeHdc(), bottomUp}) {
        SCOPED_TRACE(behind == bottomUp ? "bottom-up" : "top-down");
        {
            Gdiplus::Graphics g(behind);
            g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
            g.Clear(Gdiplus::Color(0xFF102030));
            Gdiplus::SolidBrush translucent(Gdiplus::Color(0x80FF0000));
            g.FillRectangle(&translucent, 20, 10, 1, 1);  // the control's top left
            Gdiplus::SolidBrush green(Gdiplus::Color(0xFF00FF00));
            g.FillRectangle(&green, 29, 17, 1, 1);  // its bottom right
        }
        const uint32_t translucentPixel = PixelAt(behind, 20, 10);
        ASSERT_EQ(Alpha(translucentPixel), 0x80u);
        Probe control;
        ASSERT_EQ(control.Create(host.Get(), 20, 10, 10, 8), 1);
        control.BackgroundDC = behind;
        EXPECT_EQ(PixelAt(control.RenderDC.Get(), 0, 0), translucentPixel);
        EXPECT_EQ(PixelAt(control.RenderDC.Get(), 9, 7), 0xFF00FF00u);
        EXPECT_EQ(PixelAt(control.RenderDC.Get(), 5, 3), 0xFF102030u);
    }
    DeleteMemoryDC(bottomUp);
}

TEST(ControlSurface, WhatASubclassDrawsBeforeTheBaseBackgroundStaysOverThePixelsBehind)
{
    // A subclass that draws its own part first, then lets the base draw.
    class DrawsFirst : public Control {
    protected:
        Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override
        {
            Gdiplus::SolidBrush red(Gdiplus::Color(0xFFFF0000));
            graphics.FillRectangle(&red, 2, 2, 4, 4);
            return Control::PaintBackground(graphics);
        }
    };
    HostWindow host(0, 0, 200, 200);
    CMemoryDC behind;
    ASSERT_TRUE(behind.Resize(100, 100));
    {
        Gdiplus::Graphics g(behind.GetSafeHdc());
        g.Clear(Gdiplus::Color(0xFF0000FF));
    }
    DrawsFirst control;
    ASSERT_EQ(control.Create(host.Get(), 30, 20, 10, 10), 1);
    control.Margin = Control::Thickness(7, 7, 0, 0);
    control.Background = Gdiplus::Color(0xFF00FF00);
    control.BackgroundDC = behind.GetSafeHdc();
    EXPECT_EQ(PixelAt(control.RenderDC.Get(), 3, 3), 0xFFFF0000u);  // the subclass's square
    EXPECT_EQ(PixelAt(control.RenderDC.Get(), 0, 9), 0xFF0000FFu);  // behind
    EXPECT_EQ(PixelAt(control.RenderDC.Get(), 8, 8), 0xFF00FF00u);  // the base's fill
}

// --- Presentation --------------------------------------------------------------------------

TEST(ControlPresentation, LayeredControlsUpdateTheLayeredWindowWithTheOpacity)
{
    LayeredRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    struct Row {
        float opacity;
        BYTE alpha;
    };
    const Row rows[] = {{1.0f, 255}, {0.5f, 127}, {0.0f, 0}, {0.3f, 76}};
    // Top-level: Wine shows layered windows in place only there.
    Probe control;
    control.exStyle = WS_EX_LAYERED;
    ASSERT_EQ(control.Create(nullptr, 50, 60, 130, 40), 1);  // above the least top-level size
    EXPECT_NE(control.IsLayered.Get(), 0);
    ExpectLastLayeredUpdate(control, 50, 60, 130, 40);
    EXPECT_EQ(g_layered.destination, nullptr);
    EXPECT_EQ(g_layered.sourcePoint.x, 0);
    EXPECT_EQ(g_layered.flags, static_cast<DWORD>(ULW_ALPHA));
    EXPECT_EQ(g_layered.blend.AlphaFormat, AC_SRC_ALPHA);
    EXPECT_FALSE(g_layered.hasDirty);
    EXPECT_EQ(control.paints, 0);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.opacity);
        control.Opacity = row.opacity;
        control.Render();
        EXPECT_EQ(g_layered.blend.SourceConstantAlpha, row.alpha);
    }

    // The destination is the window's own place: presenting never moves it.
    RECT rect = {};
    GetWindowRect(control.Handle.Get(), &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);

    control.RenderRect(RECT{1, 2, 11, 12});
    ASSERT_TRUE(g_layered.hasDirty);
    EXPECT_EQ(g_layered.dirty.left, 1);
    EXPECT_EQ(g_layered.dirty.bottom, 12);
    EXPECT_EQ(control.paints, 0);  // layered controls never paint
}

TEST(ControlPresentation, AChildAskedToBeLayeredUpdatesItsLayeredWindowOnlyWhereLayeredChildrenAreUsed)
{
    LayeredRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    HostWindow host(0, 0, 200, 200);
    Probe child;
    child.exStyle = WS_EX_LAYERED;
    ASSERT_EQ(child.Create(host.Get(), 30, 40, 50, 20), 1);
    const bool layered = UseLayeredChildWindows();
    EXPECT_EQ((GetWindowLongPtrW(child.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, layered);
    EXPECT_EQ(child.IsLayered.Get() != 0, layered);

    g_layered = LayeredCall{};
    child.paints = 0;
    child.Render();
    EXPECT_EQ(g_layered.count, layered ? 1 : 0);
    EXPECT_EQ(child.paints, layered ? 0 : 1);
    // A child's place is in its parent's client area.
    if (layered) ExpectLastLayeredUpdate(child, 30, 40, 50, 20);
}

TEST(ControlPresentation, NonLayeredControlsPaintAtOnceWithTheOpacity)
{
    HostWindow host(0, 0, 200, 200);
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 10, 10, 40, 40), 1);
    control.Background = Gdiplus::Color(0xFFFFFFFF);
    control.paints = 0;
    control.Render();
    EXPECT_EQ(control.paints, 1);  // WM_PAINT came within Render
    EXPECT_EQ(control.lastPaintBox.right - control.lastPaintBox.left, 40);

    control.RenderRect(RECT{5, 6, 15, 16});
    EXPECT_EQ(control.paints, 2);
    EXPECT_EQ(control.lastPaintBox.left, 5);
    EXPECT_EQ(control.lastPaintBox.top, 6);
    EXPECT_EQ(control.lastPaintBox.right, 15);
    EXPECT_EQ(control.lastPaintBox.bottom, 16);

    // White opaque blended onto black with the constant alpha of the opacity.
    struct Row {
        float opacity;
        uint32_t channel;
    };
    const Row rows[] = {{1.0f, 255}, {0.5f, 127}, {0.0f, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.opacity);
        control.Opacity = row.opacity;
        CMemoryDC target;
        ASSERT_TRUE(target.Resize(40, 40));
        control.PaintInto(target.GetSafeHdc());
        const uint32_t pixel = PixelAt(target.GetSafeHdc(), 20, 20);
        EXPECT_NEAR(static_cast<double>(pixel & 0xFF), row.channel, 1.0);
    }
}

TEST(ControlPresentation, EveryPaintIsOneFrameOfWhatIsBehindAndTheSurfaceAtItsOpacity)
{
    HostWindow host(0, 0, 200, 200);
    CMemoryDC behind;
    ASSERT_TRUE(behind.Resize(100, 100));
    {
        Gdiplus::Graphics g(behind.GetSafeHdc());
        g.Clear(Gdiplus::Color(0xFF000000));
        Gdiplus::SolidBrush blue(Gdiplus::Color(0xFF0000C8));
        g.FillRectangle(&blue, 10, 10, 20, 20);
    }
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 10, 10, 20, 20), 1);
    control.BackgroundDC = behind.GetSafeHdc();
    control.Margin = Control::Thickness(0, 0, 10, 0);  // white on the left half only
    control.Background = Gdiplus::Color(0xFFFFFFFF);
    control.Opacity = 0.5f;

    // Whatever the window showed before, and however often it paints, the
    // result is the same: no build-up towards opaque.
    CMemoryDC window;
    ASSERT_TRUE(window.Resize(20, 20));
    for (COLORREF old : {RGB(255, 0, 0), RGB(0, 255, 0)}) {
        SCOPED_TRACE(old);
        HBRUSH brush = CreateSolidBrush(old);
        RECT all = {0, 0, 20, 20};
        FillRect(window.GetSafeHdc(), &all, brush);
        DeleteObject(brush);
        for (int paint = 0; paint < 4; ++paint) control.PaintInto(window.GetSafeHdc());
        const uint32_t white = PixelAt(window.GetSafeHdc(), 5, 5);
        const uint32_t clear = PixelAt(window.GetSafeHdc(), 15, 5);
        // Half white over blue: (127, 127, 227).
        EXPECT_NEAR(static_cast<double>((white >> 16) & 0xFF), 127.0, 2.0);
        EXPECT_NEAR(static_cast<double>((white >> 8) & 0xFF), 127.0, 2.0);
        EXPECT_NEAR(static_cast<double>(white & 0xFF), 227.0, 2.0);
        // Where the surface holds only what is behind, that shows unchanged.
        EXPECT_EQ(clear & 0xFFFFFF, 0x0000C8u);
    }
}

TEST(ControlPresentation, AtFullOpacityAnOpaqueSurfaceIsPaintedAsItIsAndClearPixelsShowWhatIsBehind)
{
    HostWindow host(0, 0, 200, 200);
    CMemoryDC behind;
    ASSERT_TRUE(behind.Resize(100, 100));
    {
        Gdiplus::Graphics g(behind.GetSafeHdc());
        g.Clear(Gdiplus::Color(0xFF0000C8));
    }
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 10, 10, 20, 20), 1);
    control.Background = Gdiplus::Color(0xFFFFFFFF);
    control.Margin = Control::Thickness(0, 0, 10, 0);  // white on the left half only

    CMemoryDC window;
    ASSERT_TRUE(window.Resize(20, 20));
    const RECT all = {0, 0, 20, 20};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    // Without anything behind, the right half is clear: black shows there.
    FillRect(window.GetSafeHdc(), &all, red);
    control.PaintInto(window.GetSafeHdc());
    EXPECT_EQ(PixelAt(window.GetSafeHdc(), 5, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(PixelAt(window.GetSafeHdc(), 15, 5) & 0xFFFFFF, 0x000000u);

    // With the background laid the surface is opaque: exactly its pixels.
    control.BackgroundDC = behind.GetSafeHdc();
    FillRect(window.GetSafeHdc(), &all, red);
    control.PaintInto(window.GetSafeHdc());
    EXPECT_EQ(PixelAt(window.GetSafeHdc(), 5, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(PixelAt(window.GetSafeHdc(), 15, 5) & 0xFFFFFF, 0x0000C8u);
    DeleteObject(red);
}

TEST(ControlPresentation, AFailedLayeredUpdateIsTraced)
{
    testsupport::TraceCapture trace;
    // Flagged layered while its window is not: the update is refused.
    Probe control;
    ASSERT_EQ(control.Create(nullptr, 0, 0, 20, 20), 1);
    ASSERT_FALSE(GetWindowLongPtrW(control.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(trace.Contains(L"UpdateLayeredWindowIndirect"));
    control.SetLayered(1);
    EXPECT_TRUE(trace.Contains(L"Control::Present -> UpdateLayeredWindowIndirect error")) << trace.Text();
}

TEST(ControlPresentation, SuspendedControlsRenderOnlyWhenAskedAgain)
{
    HostWindow host(0, 0, 200, 200);
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 0, 0, 20, 20), 1);
    HDC surface = control.RenderDC.Get();
    control.SuspendRenders(true);
    control.Background = Gdiplus::Color(0xFF00FF00);
    control.Margin = Control::Thickness(1);
    EXPECT_EQ(Alpha(PixelAt(surface, 10, 10)), 0u);
    control.SuspendRenders(false);
    EXPECT_EQ(Alpha(PixelAt(surface, 10, 10)), 0u);
    control.Render();
    EXPECT_EQ(PixelAt(surface, 10, 10), 0xFF00FF00u);
    EXPECT_EQ(Alpha(PixelAt(surface, 0, 0)), 0u);
}

TEST(ControlPresentation, OtherThreadsAskForARenderByPosting)
{
    Probe control;
    ASSERT_EQ(control.Create(nullptr, 0, 0, 20, 20), 1);
    control.renders = 0;
    BOOL posted = FALSE;
    std::thread([&] { posted = control.InvalidateAsync(); }).join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(control.renders, 0);
    ASSERT_TRUE(PumpUntil([&] { return control.renders > 0; }, 5000)) << "the posted render never came";
    EXPECT_EQ(control.renders, 1);
}

TEST(ControlPresentation, DrawnPropertiesRenderOnlyWhenTheValueChanges)
{
    HostWindow host(0, 0, 200, 200);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row {
        const char* name;
        void (*write)(Control&);
        int renders;
        Names changed;
    };
    const Row rows[] = {
        {"opacity same", [](Control& c) { c.Opacity = 1.0f; }, 0, {}},
        {"opacity", [](Control& c) { c.Opacity = 0.25f; }, 1, {"Opacity"}},
        {"background same", [](Control& c) { c.Background = Gdiplus::Color(0); }, 0, {}},
        {"tag renders nothing", [](Control& c) { c.Tag = 3; }, 0, {"Tag"}},
        {"foreground clone", [](Control& c) { c.Foreground = c.Foreground.Get(); }, 1, {"Foreground"}},
        {"font family same", [](Control& c) { c.FontFamily = std::wstring(L"Arial"); }, 0, {}},
        {"margin", [](Control& c) { c.Margin = Control::Thickness(0, 0, 0, 1); }, 1, {"Margin"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Probe control;
        ASSERT_EQ(control.Create(host.Get(), 0, 0, 20, 20), 1);
        ChangedLog log = WatchChanged(control);
        control.renders = 0;
        row.write(control);
        EXPECT_EQ(control.renders, row.renders);
        EXPECT_EQ(*log, row.changed);
    }
    // NaN never equals itself: every write counts as a change.
    Probe control;
    ASSERT_EQ(control.Create(host.Get(), 0, 0, 20, 20), 1);
    control.renders = 0;
    control.Opacity = nan;
    control.Opacity = nan;
    EXPECT_EQ(control.renders, 2);
}

TEST(ControlPresentation, NothingIsDrawnBeforeCreateButValuesAreKept)
{
    Probe control;
    control.Background = Gdiplus::Color(0xFF112233);
    control.Opacity = 0.5f;
    EXPECT_EQ(control.contentPaints, 0);
    EXPECT_EQ(control.RenderDC.Get(), nullptr);
    EXPECT_EQ(control.Background.Get().GetValue(), 0xFF112233u);
    ASSERT_EQ(control.Create(nullptr, 0, 0, 10, 10), 1);
    EXPECT_EQ(PixelAt(control.RenderDC.Get(), 5, 5), 0xFF112233u);
}

// --- Memory DC ---------------------------------------------------------------------------

TEST(MemoryDC, OwnsExactlyOneDcAndBitmapAndReleasesThemInOrder)
{
    testsupport::GdiLedger ledger;
    {
        // The ledger catches what Wine lets pass: a selected bitmap deleted.
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = platform::Dib32Info(4, 4);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        EXPECT_FALSE(DeleteObject(bitmap));
        EXPECT_EQ(ledger.RefusedDeletes(), 1);
        SelectObject(dc, previous);
        EXPECT_TRUE(DeleteObject(bitmap));
        DeleteDC(dc);
    }
    const int refusedBefore = ledger.RefusedDeletes();
    EXPECT_EQ(ledger.LiveDcs(), 0);
    {
        CMemoryDC empty;
        EXPECT_EQ(empty.GetSafeHdc(), nullptr);
        EXPECT_EQ(empty.Width(), 0);
        EXPECT_EQ(empty.Bitmap(), nullptr);
    }
    EXPECT_EQ(ledger.LiveDcs(), 0);
    {
        CMemoryDC dc;
        ASSERT_TRUE(dc.Resize(30, 20));
        ASSERT_TRUE(dc.Resize(SIZE{50, 40}));
        EXPECT_EQ(ledger.LiveDcs(), 1);
        EXPECT_EQ(ledger.LiveBitmaps(), 1);
        EXPECT_EQ(dc.Width(), 50);
        EXPECT_EQ(dc.Height(), 40);
        EXPECT_EQ(GetCurrentObject(dc.GetSafeHdc(), OBJ_BITMAP), dc.Bitmap());
        BITMAP info = {};
        ASSERT_TRUE(GetObjectW(dc.Bitmap(), sizeof(info), &info));
        EXPECT_EQ(info.bmWidth, 50);
        EXPECT_EQ(info.bmHeight, 40);
        EXPECT_EQ(info.bmBitsPixel, 32);
        EXPECT_EQ(ledger.HeldScreenDcs(), 0);
    }
    EXPECT_EQ(ledger.LiveDcs(), 0);
    EXPECT_EQ(ledger.LiveBitmaps(), 0);
    EXPECT_EQ(ledger.RefusedDeletes(), refusedBefore);
}

TEST(MemoryDC, AnEmptyOrImpossibleSizeLeavesNoSurface)
{
    testsupport::GdiLedger ledger;
    CMemoryDC dc;
    ASSERT_TRUE(dc.Resize(10, 10));
    EXPECT_TRUE(dc.Resize(0, 10));
    EXPECT_EQ(dc.GetSafeHdc(), nullptr);
    EXPECT_FALSE(dc.Resize(200000, 200000));  // 160 GB of pixels
    EXPECT_EQ(dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(dc.Width(), 0);
    EXPECT_EQ(ledger.LiveDcs(), 0);
    EXPECT_EQ(ledger.LiveBitmaps(), 0);
    EXPECT_EQ(ledger.RefusedDeletes(), 0);
}

TEST(MemoryDC, ControlsReleaseTheirSurfacesOnResizeAndDestruction)
{
    testsupport::GdiLedger ledger;
    {
        HostWindow host(0, 0, 200, 200);
        Control control;
        ASSERT_EQ(control.Create(host.Get(), 0, 0, 20, 20), 1);
        control.Size = Gdiplus::Size(30, 30);
        control.Size = Gdiplus::Size(40, 35);
        EXPECT_EQ(ledger.LiveDcs(), 1);
        EXPECT_EQ(ledger.LiveBitmaps(), 1);
    }
    EXPECT_EQ(ledger.LiveDcs(), 0);
    EXPECT_EQ(ledger.LiveBitmaps(), 0);
    EXPECT_EQ(ledger.RefusedDeletes(), 0);
}

// --- Panel -------------------------------------------------------------------------------

TEST(Panel, ChildrenAreChildWindowsRenderedAfterThePanelInOrder)
{
    Names order;
    Panel panel;
    Probe first(&order, "first");
    Probe hidden(&order, "hidden");
    ASSERT_EQ(panel.Create(nullptr, 0, 0, 100, 100), 1);
    panel.AddChild(&first, 5, 6, 20, 10);
    panel.AddChild(&hidden, 30, 6, 20, 10);
    hidden.IsVisible = 0;
    ASSERT_EQ(panel.Children.size(), 2u);
    EXPECT_EQ(GetParent(first.Handle.Get()), panel.Handle.Get());
    EXPECT_TRUE(GetWindowLongPtrW(first.Handle.Get(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(first.X.Get(), 5);
    EXPECT_EQ(first.Y.Get(), 6);

    order.clear();
    panel.Render();
    EXPECT_EQ(order, (Names{"first", "hidden"}));
    EXPECT_GE(first.contentPaints, 1);

    Panel alone;
    ASSERT_EQ(alone.Create(nullptr, 0, 0, 10, 10), 1);
    order.clear();
    alone.Render();
    EXPECT_TRUE(order.empty());
}

TEST(Panel, ChildrenWhoseWindowFailedAreStillAppended)
{
    struct Refusing : Control {
        LRESULT OnCreate(CREATESTRUCTW*) override { return -1; }
    } refused;
    Panel panel;
    ASSERT_EQ(panel.Create(nullptr, 0, 0, 50, 50), 1);
    panel.AddChild(&refused, 0, 0, 10, 10);
    ASSERT_EQ(panel.Children.size(), 1u);
    EXPECT_EQ(refused.IsCreated.Get(), 0);
    panel.Render();  // the child without a window renders nothing
}

TEST(Panel, DestroyingThePanelWindowFirstLeavesTheChildrenHarmless)
{
    auto panel = std::make_unique<Panel>();
    Control child;
    ASSERT_EQ(panel->Create(nullptr, 0, 0, 50, 50), 1);
    panel->AddChild(&child, 0, 0, 10, 10);
    HWND childWindow = child.Handle.Get();
    panel.reset();
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(child.Handle.Get(), nullptr);
}

// --- Brush -------------------------------------------------------------------------------

TEST(ControlBrush, CopiesCloneTheHeldBrushAndEmptyStaysEmpty)
{
    Control::Brush white;
    ASSERT_FALSE(white.IsEmpty());
    Gdiplus::Color colour;
    static_cast<Gdiplus::SolidBrush*>(white.Get())->GetColor(&colour);
    EXPECT_EQ(colour.GetValue(), 0xFFFFFFFFu);

    Control::Brush copy = white;
    ASSERT_FALSE(copy.IsEmpty());
    EXPECT_NE(copy.Get(), white.Get());
    EXPECT_NE(copy, white);  // brushes compare by the held object
    static_cast<Gdiplus::SolidBrush*>(copy.Get())->GetColor(&colour);
    EXPECT_EQ(colour.GetValue(), 0xFFFFFFFFu);

    Control::Brush empty = Control::Brush::Empty();
    Control::Brush emptyCopy = empty;
    EXPECT_TRUE(emptyCopy.IsEmpty());

    Control control;
    EXPECT_TRUE(control.SecondaryBrush.Get().IsEmpty());
    EXPECT_FALSE(control.Foreground.Get().IsEmpty());
    control.SecondaryBrush = Control::Brush(new Gdiplus::SolidBrush(Gdiplus::Color(0xFF00FF00)));
    Control::Brush held = control.SecondaryBrush.Get();
    static_cast<Gdiplus::SolidBrush*>(held.Get())->GetColor(&colour);
    EXPECT_EQ(colour.GetValue(), 0xFF00FF00u);
}
