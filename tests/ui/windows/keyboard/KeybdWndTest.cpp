#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <cwchar>

#include "backend/device/RgbKeyboard.h"
#include "backend/profiles/EffectModel.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScreenPixels.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/keyboard/CustomWnd.h"
#include "ui/windows/keyboard/KeyGlowMasks.h"
#include "ui/windows/keyboard/KeyPainter.h"
#include "ui/windows/keyboard/KeyboardKeys.h"

namespace {

using testsupport::Pixels;
using testsupport::PumpUntil;
using testsupport::ReadPixels;

constexpr COLORREF kBackground = RGB(255, 0, 255);

struct Rgb {
    int r, g, b;
};

Rgb At(const Pixels& pixels, POINT p)
{
    const uint32_t v = pixels.At(p.x, p.y);
    return Rgb{int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)};
}

void ExpectNear(Rgb actual, Rgb expected, int tolerance, const char* what)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance) << what;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << what;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << what;
}

// Centre of a key's cap in picture pixels: the picture's hole is clear there.
POINT KeyCentre(int key)
{
    RECT cap = {};
    GetKeyRect(key, &cap, 0);
    return POINT{ScaleByHalfDpi((cap.left + cap.right) / 2), ScaleByHalfDpi((cap.top + cap.bottom) / 2)};
}

void SetColor(EffectData& e, int index, int r, int g, int b)
{
    int32_t* fields = &e.ColorR + 3 * index;
    fields[0] = r, fields[1] = g, fields[2] = b;
}

constexpr DWORD kPreviewLimitMs = 10000;

class KeyboardPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_gdiplus = new testsupport::GdiplusSession;
        CoInitialize(nullptr);
        wcscpy_s(g_szSkinResType, kSkinResTypeChars, kSkinSet1080);
        g_fImageScale = 1.0f;
    }
    static void TearDownTestSuite()
    {
        CoUninitialize();
        delete s_gdiplus;
    }

    void SetUp() override
    {
        g_fUIScale = 1.0f;
        g_dwSupport = 1;
        g_CustomProfiles = {};
        LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW));
        ASSERT_TRUE(m_host.CreateEx(0, cls, L"keyboard test", WS_POPUP | WS_VISIBLE, 0, 0, 960, 530, nullptr, nullptr));
        ASSERT_TRUE(m_background.Resize(960, 530));
        platform::UniqueGdiObject brush(CreateSolidBrush(kBackground));
        RECT all = {0, 0, 960, 530};
        FillRect(m_background, &all, static_cast<HBRUSH>(brush.Get()));
    }
    void TearDown() override
    {
        m_frame.Destroy();
        m_host.DestroyWindow();
    }

    CKeybdWnd& Make(unsigned modelType)
    {
        EXPECT_TRUE(m_frame.Create(&m_host, m_background, 0, 0, 947, 516, modelType));
        return m_frame.Keyboard();
    }

    Pixels Picture() { return ReadPixels(m_frame.Keyboard().BackBufferDC()); }

    static testsupport::GdiplusSession* s_gdiplus;
    CWnd m_host;
    CMemoryDC m_background;
    CCustomWnd m_frame;
};
testsupport::GdiplusSession* KeyboardPicture::s_gdiplus = nullptr;

TEST_F(KeyboardPicture, FrameCoversTheBackgroundAndHoldsThePicture)
{
    CKeybdWnd& keys = Make(0);
    ASSERT_TRUE(m_frame.IsCreated());
    ASSERT_TRUE(keys.IsCreated());
    Pixels frame = ReadPixels(m_frame.BackBufferDC());
    ASSERT_EQ(frame.width, 947);
    EXPECT_NE(frame.Rgb(470, 5), 0xFF00FFu) << "the frame art covers the dialog background";
    RECT rect = {};
    GetWindowRect(keys, &rect);
    EXPECT_EQ(rect.right - rect.left, 947);
    EXPECT_EQ(rect.bottom - rect.top, 516);
    EXPECT_EQ(GetParent(keys), m_frame.GetSafeHwnd());
}

// A lit key shows the effect's colour through its hole, and the glow lights
// the gap below it on every redraw, the first one included.
TEST_F(KeyboardPicture, SingleColourEffectsLightEveryKeyWithTheirGlow)
{
    struct Case {
        const char* name;
        unsigned model;
        int profile;
        int effect;
        Rgb colour;
    } cases[] = {
        {"static", 0, 0, 0, {0, 200, 0}},
        {"breathing", 0, 0, 1, {20, 40, 230}},
        {"colour cycle", 0, 0, 2, {250, 240, 0}},
        {"colour cycle on four zones", 2, 1, 2, {250, 240, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_CustomProfiles = {};
        CustomProfile& profile = g_CustomProfiles[size_t(c.profile)];
        profile.allIndex = profile.fourIndex = c.effect;
        SetColor(profile.allData[c.effect], 0, c.colour.r, c.colour.g, c.colour.b);
        SetColor(profile.fourData[c.effect], 0, c.colour.r, c.colour.g, c.colour.b);
        CKeybdWnd& keys = Make(c.model);
        keys.SetFadeEnabled(false);
        ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, c.profile), 1);
        EXPECT_EQ(keys.EffectIndex(), c.effect);
        Pixels picture = Picture();
        ASSERT_EQ(picture.width, 947);
        for (int key : {16, 31, 61, 97}) ExpectNear(At(picture, KeyCentre(key)), c.colour, 6, "key centre");
        RECT lamp = {};
        GetKeyRect(31, &lamp, 1);
        const POINT gap{KeyCentre(31).x, ScaleByHalfDpi(lamp.bottom) + 1};
        const Rgb glow = At(picture, gap);
        const int strongest = std::max({c.colour.r, c.colour.g, c.colour.b});
        const int glowChannel = strongest == c.colour.g ? glow.g : (strongest == c.colour.r ? glow.r : glow.b);
        const int otherChannel = strongest == c.colour.b ? glow.r : glow.b;
        EXPECT_GE(glowChannel, otherChannel + 10) << "glow in the gap";
        // the redraw's Direct2D client is gone again
        EXPECT_EQ(D2DRemoveClient(keys), 0);
        m_frame.Destroy();
    }
}

TEST_F(KeyboardPicture, FirstPictureAlreadyGlowsAroundTheKeys)
{
    for (uint32_t& c : g_KeyColors) c = 0xFFFFFFFFu;
    Make(0);
    for (uint32_t& c : g_KeyColors) c = 0xFF000000u;
    RECT lamp = {};
    GetKeyRect(31, &lamp, 1);
    const Rgb gap = At(Picture(), POINT{KeyCentre(31).x, ScaleByHalfDpi(lamp.bottom) + 1});
    EXPECT_GT(gap.r + gap.g + gap.b, 3 * 30) << "white glow between the rows";
}

TEST_F(KeyboardPicture, MultiColourFramesShowThroughTheKeys)
{
    struct Case {
        const char* name;
        unsigned model;
        int profile;
        int effect;
        Rgb left, middle, right;  // keys 16, 29, 97
    } cases[] = {
        {"rainbow", 0, 0, 3, {255, 0, 255}, {0, 255, 0}, {0, 0, 255}},
        {"four zones, static", 2, 1, 0, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}},
        {"four zones, breathing", 3, 2, 1, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_CustomProfiles = {};
        CustomProfile& profile = g_CustomProfiles[size_t(c.profile)];
        profile.allIndex = profile.fourIndex = c.effect;
        EffectData& record = c.profile == 0 ? profile.allData[c.effect] : profile.fourData[c.effect];
        SetColor(record, 0, 255, 0, 0);
        SetColor(record, 1, 0, 255, 0);
        SetColor(record, 2, 0, 0, 255);
        SetColor(record, 3, 255, 255, 255);
        CKeybdWnd& keys = Make(c.model);
        keys.SetFadeEnabled(false);
        ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, c.profile), 1);
        Pixels picture = Picture();
        ExpectNear(At(picture, KeyCentre(16)), c.left, 40, "left key");
        ExpectNear(At(picture, KeyCentre(29)), c.middle, 60, "middle key");
        ExpectNear(At(picture, KeyCentre(97)), c.right, 40, "right key");
        EXPECT_EQ(D2DRemoveClient(keys), 0);
        m_frame.Destroy();
    }
}

// A zone colour changed between redraws reaches the keys, in both zone
// looks: a kept frame of the old colours is not reused.
TEST_F(KeyboardPicture, ChangedZoneColoursGiveANewFrame)
{
    CustomProfile& profile = g_CustomProfiles[1];
    EffectData& record = profile.fourData[0];
    SetColor(record, 0, 255, 0, 0);
    SetColor(record, 3, 255, 255, 255);
    CKeybdWnd& keys = Make(2);
    keys.SetFadeEnabled(false);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 1), 1);
    ExpectNear(At(Picture(), KeyCentre(16)), {255, 0, 0}, 40, "first colour");
    SetColor(record, 0, 0, 255, 0);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 1), 1);
    ExpectNear(At(Picture(), KeyCentre(16)), {0, 255, 0}, 40, "changed colour");
    keys.SetFrameStyle(kFrameStyleBands);
    SetColor(record, 0, 0, 0, 255);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 1), 1);
    ExpectNear(At(Picture(), KeyCentre(16)), {0, 0, 255}, 6, "solid band");
    ExpectNear(At(Picture(), KeyCentre(97)), {255, 255, 255}, 6, "last band");
}

// The rings laid through the kept coverage are the rings the key painter
// draws, in a colour and in a frame's colours.
TEST_F(KeyboardPicture, GlowMasksMatchTheKeyPainter)
{
    for (float scale : {1.0f, 1.25f}) {
        g_fUIScale = scale;
        const int w = ScaleByDpi(947), h = ScaleByDpi(516);
        KeyGlowMasks masks;
        ASSERT_TRUE(masks.Build(w, h));
        CMemoryDC painted, frame;
        ASSERT_TRUE(painted.Resize(w, h));
        ASSERT_TRUE(frame.Resize(w, h));
        auto* framePixels = static_cast<uint8_t*>(frame.Bits());
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint8_t* p = framePixels + (size_t(y) * w + x) * 4;
                p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = uint8_t(x + y), p[3] = 255;
            }
        }
        Gdiplus::Bitmap framePicture(w, h, w * 4, PixelFormat32bppRGB, framePixels);
        for (bool textured : {false, true}) {
            SCOPED_TRACE(textured ? "frame colours" : "one colour");
            std::vector<uint8_t> laid(size_t(w) * h * 4, 0);
            std::memset(painted.Bits(), 0, size_t(w) * h * 4);
            {
                Gdiplus::Graphics graphics(painted.Surface());
                graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
                Gdiplus::ImageAttributes outer, inner;
                Gdiplus::ColorMatrix outerMatrix = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0},
                                                     {0, 0, 0, 48 / 255.0f, 0}, {0, 0, 0, 0, 1}}};
                Gdiplus::ColorMatrix innerMatrix = outerMatrix;
                innerMatrix.m[3][3] = 72 / 255.0f;
                outer.SetColorMatrix(&outerMatrix);
                inner.SetColorMatrix(&innerMatrix);
                // texture brushes over a glow rectangle from (50, 30): with that
                // origin the rings take the frame's colour where they lie
                const int gx = 50, gy = 30;
                const Gdiplus::RectF glow(float(gx), float(gy), float(w - gx), float(h - gy));
                Gdiplus::TextureBrush outerBrush(&framePicture, glow, &outer), innerBrush(&framePicture, glow, &inner);
                for (int key : {2, 31, 61, 97}) ASSERT_TRUE(masks.HasKey(key));
                // In one colour every key (keys of one shape share one drawing
                // of it); the frame's colours only where the glow rectangle
                // lies under the whole key, since the brush repeats outside it.
                std::vector<int> keys = {2, 31, 61, 97};
                if (!textured) {
                    keys.clear();
                    for (int key = 0; key < kKeyboardKeyCount; ++key)
                        if (masks.HasKey(key)) keys.push_back(key);
                }
                for (int key : keys) {
                    if (textured) {
                        ASSERT_TRUE(DrawKey(&graphics, key, 0, 0, 0, &outerBrush, &innerBrush, gx, gy));
                        masks.ComposeFromFrame(laid.data(), w, h, 0, 0, key, framePixels);
                    } else {
                        ASSERT_TRUE(DrawKey(&graphics, key, 40, 220, 90, nullptr, nullptr, 0, 0));
                        masks.Compose(laid.data(), w, h, 0, 0, key, 0xFF28DC5Au);
                    }
                }
            }
            GdiFlush();
            const auto* expected = static_cast<const uint8_t*>(painted.Bits());
            int worst = 0, covered = 0;
            for (size_t i = 0; i < laid.size(); ++i) {
                worst = std::max(worst, std::abs(int(laid[i]) - int(expected[i])));
                if (i % 4 == 3 && expected[i] > 0) ++covered;
            }
            EXPECT_GT(covered, 1000) << "rings were drawn";
            EXPECT_LE(worst, 3) << "scale " << scale;  // GDI+ rounds premultiplied colours its own way
        }
        EXPECT_FALSE(masks.HasKey(151));
        EXPECT_FALSE(masks.HasKey(0));
    }
}

TEST_F(KeyboardPicture, WasdGroupTakesColourOneAndMusicDimsKeysOutsideItsSet)
{
    CustomProfile& wasd = g_CustomProfiles[1];
    wasd.wasdIndex = 0;
    SetColor(wasd.wasdData[0], 0, 255, 0, 0);
    SetColor(wasd.wasdData[0], 1, 0, 0, 255);
    g_CustomProfiles[0].allIndex = 5;
    CKeybdWnd& keys = Make(0);
    keys.SetFadeEnabled(false);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 1), 1);
    Pixels picture = Picture();
    for (int key : {18, 31, 32, 33}) ExpectNear(At(picture, KeyCentre(key)), {255, 0, 0}, 6, "WASD");
    for (int key : {17, 19, 30, 97}) ExpectNear(At(picture, KeyCentre(key)), {0, 0, 255}, 6, "other keys");
    // the glow between W and S is theirs: red, where the picture shows it
    RECT w = {}, s = {};
    GetKeyRect(18, &w, 1);
    GetKeyRect(32, &s, 1);
    const POINT between{ScaleByHalfDpi((std::max(w.left, s.left) + std::min(w.right, s.right)) / 2),
                        ScaleByHalfDpi((w.bottom + s.top) / 2)};
    const Rgb glow = At(picture, between);
    EXPECT_GT(glow.r, glow.b + 20) << "red glow between W and S";

    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0), 1);
    picture = Picture();
    ASSERT_FALSE(IsKeyPresent(1));
    ASSERT_TRUE(IsKeyPresent(2));
    const Rgb dimmed = At(picture, KeyCentre(1)), lit = At(picture, KeyCentre(2));
    EXPECT_GT(lit.r, 150);
    EXPECT_NEAR(dimmed.r, lit.r / 2, 12);
    EXPECT_NEAR(dimmed.b, lit.b / 2, 12);
}

TEST_F(KeyboardPicture, CrossFadeRunsFromTheScreenPictureAndStopsItsTimer)
{
    CustomProfile& profile = g_CustomProfiles[0];
    SetColor(profile.allData[0], 0, 255, 0, 0);
    CKeybdWnd& keys = Make(0);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0), 1);
    ASSERT_TRUE(PumpUntil([&] { return !keys.IsFading(); }, kPreviewLimitMs));
    const POINT centre = KeyCentre(31);
    ExpectNear(At(Picture(), centre), {255, 0, 0}, 6, "red after the first fade");

    SetColor(profile.allData[0], 0, 0, 0, 255);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0), 1);
    EXPECT_TRUE(keys.IsFading());
    EXPECT_EQ(keys.FadeStep(), 1);
    ExpectNear(At(Picture(), centre), {255, 0, 0}, 6, "step 0 shows the old picture");

    // a second preview interrupts and starts at step 1 from what is shown
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0), 1);
    EXPECT_EQ(keys.FadeStep(), 2);
    ExpectNear(At(Picture(), centre), {219, 0, 36}, 3, "step 1: alpha 36 of the new picture");

    ASSERT_TRUE(PumpUntil([&] { return !keys.IsFading(); }, kPreviewLimitMs));
    ExpectNear(At(Picture(), centre), {0, 0, 255}, 6, "the new picture at the end");
    EXPECT_FALSE(KillTimer(keys, CKeybdWnd::kCrossFadeTimerId)) << "no timer after the fade";
}

TEST_F(KeyboardPicture, HiddenPictureChangesAtOnce)
{
    SetColor(g_CustomProfiles[0].allData[0], 0, 0, 255, 0);
    CKeybdWnd& keys = Make(0);
    ShowWindow(m_host, SW_HIDE);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0), 1);
    EXPECT_FALSE(keys.IsFading());
    EXPECT_FALSE(KillTimer(keys, CKeybdWnd::kCrossFadeTimerId));
    ExpectNear(At(Picture(), KeyCentre(31)), {0, 255, 0}, 6, "shown at once");
}

TEST_F(KeyboardPicture, DelayedRedrawAndItsCancellation)
{
    SetColor(g_CustomProfiles[2].qwerData[0], 0, 0, 255, 0);
    CKeybdWnd& keys = Make(0);
    keys.SetFadeEnabled(false);
    EXPECT_EQ(keys.UpdatePreview(1, 0), 0);
    EXPECT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 3), 0);
    EXPECT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, -1), 0);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 2), 1);

    // reason 4 then reason 0: the delayed redraw never comes
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewDelayed, 7), 1);
    EXPECT_TRUE(keys.IsDelayedRedrawPending());
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 2), 1);
    EXPECT_FALSE(keys.IsDelayedRedrawPending());
    EXPECT_FALSE(KillTimer(keys, CKeybdWnd::kDelayedRedrawTimerId));

    // reason 4 alone: the last previewed profile is redrawn when it fires
    SetColor(g_CustomProfiles[2].qwerData[0], 0, 255, 255, 0);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewDelayed, 0), 1);
    ExpectNear(At(Picture(), KeyCentre(17)), {0, 255, 0}, 6, "before the timer");
    ASSERT_TRUE(PumpUntil([&] { return !keys.IsDelayedRedrawPending(); }, kPreviewLimitMs));
    EXPECT_EQ(keys.PreviewedProfile(), 2);
    ExpectNear(At(Picture(), KeyCentre(17)), {255, 255, 0}, 6, "after the timer");
    EXPECT_FALSE(KillTimer(keys, CKeybdWnd::kDelayedRedrawTimerId));
}

TEST_F(KeyboardPicture, PaintCopiesTheBackBufferAndDestroyIsOnce)
{
    SetColor(g_CustomProfiles[0].allData[0], 0, 255, 128, 0);
    CKeybdWnd& keys = Make(0);
    keys.SetFadeEnabled(false);
    ASSERT_EQ(keys.UpdatePreview(CKeybdWnd::kPreviewNow, 0), 1);
    // the painted path: what WM_PAINT puts on the screen
    RedrawWindow(m_host, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT centre = KeyCentre(31);
    ClientToScreen(keys, &centre);
    const auto shownAtCentre = [&] { return testsupport::ReadScreenPixel(centre.x, centre.y); };
    const auto channel = [](uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); };
    // Wine puts the painted pixels on the screen a little later.
    PumpUntil(
        [&] {
            const uint32_t pixel = shownAtCentre();
            return std::abs(channel(pixel, 16) - 255) <= 6 && std::abs(channel(pixel, 8) - 128) <= 6 &&
                   channel(pixel, 0) <= 6;
        },
        kPreviewLimitMs);
    const uint32_t shown = shownAtCentre();
    EXPECT_NEAR(channel(shown, 16), 255, 6);
    EXPECT_NEAR(channel(shown, 8), 128, 6);
    EXPECT_NEAR(channel(shown, 0), 0, 6);

    m_frame.MakeLayered();
    EXPECT_TRUE(m_frame.IsLayered());
    // layered only where child windows may be; painted (as checked above) elsewhere
    EXPECT_EQ((GetWindowLongPtrW(m_frame, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, UseLayeredChildWindows());
    // Either way the keys under the frame's picture take the pointer.
    EXPECT_EQ(WindowFromPoint(centre), keys.GetSafeHwnd());
    EXPECT_EQ(m_frame.SendMessage(WM_ERASEBKGND, 0, 0), 0);
    const HWND frameWindow = m_frame.GetSafeHwnd(), keysWindow = keys.GetSafeHwnd();
    m_frame.Destroy();
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_FALSE(IsWindow(keysWindow));
    EXPECT_FALSE(m_frame.IsCreated());
    m_frame.Destroy();
}

}  // namespace
