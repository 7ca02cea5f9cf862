#include "ui/windows/keyboard/KeybdWnd.h"

#include <algorithm>
#include <cstring>

#include "backend/device/RgbKeyboard.h"
#include "platform/win/Dib.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/drawing/GaussianBlur.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/windows/keyboard/KeyboardKeys.h"
#include "ui/windows/shared/BackBufferPaint.h"
#include "ui/windows/shared/CustomDrawnChild.h"
#include "ui/windows/shared/D2DClientRegistration.h"
#include "ui/windows/shared/PixelMath.h"

namespace {

BLENDFUNCTION PerPixelBlend()
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
}

BLENDFUNCTION ConstantBlend(BYTE alpha)
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, alpha, 0};
}

bool SameSize(const CMemoryDC& a, const CMemoryDC& b)
{
    return a.Bits() && b.Bits() && a.Width() == b.Width() && a.Height() == b.Height();
}

// The rows of one area of a picture, in bytes.
struct AreaRows {
    size_t offset, rowBytes, stride;
    int rows;
};

AreaRows RowsOf(const CMemoryDC& picture, const RECT& area)
{
    const size_t stride = size_t(picture.Width()) * 4u;
    return AreaRows{size_t(area.top) * stride + size_t(area.left) * 4u, size_t(area.right - area.left) * 4u, stride,
                    int(area.bottom - area.top)};
}

// Both are pictures of the same size.
void CopyArea(const CMemoryDC& to, const CMemoryDC& from, const RECT& area)
{
    if (!SameSize(to, from) || IsRectEmpty(&area)) return;
    GdiFlush();
    const AreaRows r = RowsOf(to, area);
    auto* out = static_cast<uint8_t*>(to.Bits()) + r.offset;
    const auto* in = static_cast<const uint8_t*>(from.Bits()) + r.offset;
    for (int row = 0; row < r.rows; ++row, out += r.stride, in += r.stride) std::memcpy(out, in, r.rowBytes);
}

// to = from x (255 - alpha) + over x alpha per byte, over the area; the
// colour channels are what the screen shows, a picture's alpha byte unused.
void BlendArea(const CMemoryDC& to, const CMemoryDC& from, const CMemoryDC& over, unsigned alpha, const RECT& area)
{
    if (!SameSize(to, from) || !SameSize(to, over) || IsRectEmpty(&area)) return;
    GdiFlush();
    const AreaRows r = RowsOf(to, area);
    const unsigned keep = 255u - alpha;
    for (int row = 0; row < r.rows; ++row) {
        const size_t start = r.offset + size_t(row) * r.stride;
        auto* out = static_cast<uint8_t*>(to.Bits()) + start;
        const auto* a = static_cast<const uint8_t*>(from.Bits()) + start;
        const auto* b = static_cast<const uint8_t*>(over.Bits()) + start;
        for (size_t i = 0; i < r.rowBytes; ++i) {
            out[i] = uint8_t(DivideBy255(a[i] * keep + b[i] * alpha));
        }
    }
}

// The pixels of a DC that the Direct2D module handed out (a top-down 32bpp
// DIB section of that size); null when it is not one.
uint8_t* TopDownBits(HDC dc, int width, int height)
{
    DIBSECTION section = {};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32 || section.dsBm.bmWidth != width || section.dsBm.bmHeight != height) {
        return nullptr;
    }
    GdiFlush();
    return static_cast<uint8_t*>(section.dsBm.bmBits);
}

// Reverses the order of the rows of a 32bpp picture.
void TurnRows(uint8_t* pixels, int width, int height)
{
    const size_t stride = size_t(width) * 4u;
    std::vector<uint8_t> row(stride);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = pixels + size_t(top) * stride;
        uint8_t* b = pixels + size_t(bottom) * stride;
        std::memcpy(row.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, row.data(), stride);
    }
}

// Lays the blurred glow over the target's area. The blur source keeps colour
// only, so the glow comes back opaque over black: its coverage is the
// brightest channel, which keeps the pixel premultiplied and lets the picture
// show through where there is no glow.
void LayGlow(const CMemoryDC& target, const RECT& area, const uint8_t* glow)
{
    auto* out = static_cast<uint8_t*>(target.Bits());
    if (!out || !glow) return;
    GdiFlush();
    const int width = area.right - area.left;
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* d = out + (size_t(y) * size_t(target.Width()) + size_t(area.left)) * 4u;
        for (int x = 0; x < width; ++x, d += 4, glow += 4) {
            const unsigned coverage = std::max({glow[0], glow[1], glow[2]});
            if (coverage == 0) continue;
            const unsigned keep = 255u - coverage;
            for (int c = 0; c < 3; ++c) {
                d[c] = uint8_t(std::min(255u, glow[c] + DivideBy255(d[c] * keep)));
            }
        }
    }
}

bool SameFrame(const EffectFrameLayout& a, const EffectFrameLayout& b)
{
    if (a.kind != b.kind || a.vertical != b.vertical || a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i) {
        if (a.positions[i] != b.positions[i] || a.colors[i] != b.colors[i]) return false;
    }
    return true;
}

}  // namespace

CKeybdWnd::~CKeybdWnd() = default;

BOOL CKeybdWnd::Create(CWnd* parent, HDC frameDC, int x, int y, int width, int height, unsigned modelType)
{
    const HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
    if (!CreateCustomDrawnChild(*this, parentWindow, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height)) {
        return FALSE;
    }
    m_hFrameDC = frameDC;
    m_nX = x, m_nY = y, m_nWidth = width, m_nHeight = height;
    m_uModelType = modelType;
    DrawKeyboard(true, -1, false);
    m_bCreated = true;
    return TRUE;
}

PreviewSource CKeybdWnd::Source() const
{
    return PreviewSource{g_CustomProfiles, g_dwSupport, m_uModelType};
}

int CKeybdWnd::GetEffectIndex(int profile) const
{
    return PreviewEffectIndex(Source(), profile);
}

void CKeybdWnd::FillKeyColors(int profile)
{
    if (profile < 0 || profile >= kProfileCount) return;
    const PreviewRecord preview = SelectPreviewRecord(Source(), profile);
    m_nZoneMode = preview.zoneMode;
    m_nEffectIndex = preview.effectIndex;
    m_pEffectData = preview.record;
    FillPreviewKeyColors(preview, m_uModelType, g_KeyColors);
}

int CKeybdWnd::UpdatePreview(int reason, int profile)
{
    if (reason == kPreviewNow && profile >= 0 && profile < kProfileCount) {
        if (m_bRedrawPending) {
            m_bRedrawPending = false;
            KillTimer(m_hWnd, kDelayedRedrawTimerId);
        }
        DrawKeyboard(false, profile, true);
        return 1;
    }
    if (reason == kPreviewDelayed) {
        SetTimer(m_hWnd, kDelayedRedrawTimerId, kDelayedRedrawMs, nullptr);
        m_bRedrawPending = true;
        return 1;
    }
    return 0;
}

void CKeybdWnd::MakeStaticPicture()
{
    HDC base = nullptr;
    int baseWidth = 0, baseHeight = 0;
    m_basePicture.Resize(0, 0);
    if (LoadSkinImageToDC(GetModuleHandleW(nullptr), kBasePictureName, &base, &baseWidth, &baseHeight)) {
        UniqueMemoryDc loaded(base);
        // At the picture's size once, so redraws blend parts of it 1:1; over
        // transparent black the blend is a plain (scaling) copy.
        if (m_basePicture.Resize(m_nWidth, m_nHeight)) {
            GdiAlphaBlend(m_basePicture, 0, 0, m_nWidth, m_nHeight, loaded.Get(), 0, 0, baseWidth, baseHeight,
                          PerPixelBlend());
        }
    }
    m_glowMasks.Build(m_nWidth, m_nHeight);

    // Everything a redraw changes lies in the key places and the blurred rings.
    RECT area = m_glowMasks.Bounds();
    for (int key = 0; key < kKeyboardKeyCount; ++key) {
        RECT stored;
        if (!GetKeyRect(key, &stored, 1)) continue;
        RECT place = ScaleKeyRect(stored);
        InflateRect(&place, 1, 1);
        UnionRect(&area, &area, &place);
    }
    const int blurReach = GaussianBlurRadius(kGaussianBlurDefaultDeviation) + 1;
    InflateRect(&area, blurReach, blurReach);
    const RECT picture = {0, 0, m_nWidth, m_nHeight};
    IntersectRect(&m_keyArea, &area, &picture);

    m_staticDC.Resize(m_nWidth, m_nHeight);
    if (m_hFrameDC) BitBlt(m_staticDC, 0, 0, m_nWidth, m_nHeight, m_hFrameDC, m_nX, m_nY, SRCCOPY);
    if (m_basePicture.GetSafeHdc()) {
        GdiAlphaBlend(m_staticDC, 0, 0, m_nWidth, m_nHeight, m_basePicture, 0, 0, m_nWidth, m_nHeight,
                      PerPixelBlend());
    }
}

void CKeybdWnd::DrawKeyboard(bool first, int profile, bool fade)
{
    if (first) {
        m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
        m_backBuffer.Resize(m_nWidth, m_nHeight);
        MakeStaticPicture();
    }

    m_nProfile = profile;
    if (profile >= 0 && profile < kProfileCount) {
        FillKeyColors(profile);
    } else {
        m_nZoneMode = 0, m_nEffectIndex = 0, m_pEffectData = nullptr;
    }

    const bool interrupted = m_bFading;
    if (interrupted) KillTimer(m_hWnd, kCrossFadeTimerId);
    const bool fading = m_bFadeEnabled && fade && IsWindowVisible();

    const RECT& area = m_keyArea;
    MakeLayerDC(m_composedDC);
    if (fading) {
        MakeLayerDC(m_oldDC);
        MakeLayerDC(m_newDC);
        // What is on screen now, a half-finished fade included.
        CopyArea(m_oldDC, m_composedDC, area);
    } else {
        m_oldDC.Resize(0, 0);
        m_newDC.Resize(0, 0);
    }
    m_bFading = fading;

    const CMemoryDC& target = fading ? m_newDC : m_composedDC;
    const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
    if (m_hFrameDC) {
        BitBlt(target, area.left, area.top, areaWidth, areaHeight, m_hFrameDC, m_nX + area.left, m_nY + area.top,
               SRCCOPY);
    }
    {
        // The gradients and the glow's blur both need the client: it lives
        // for this whole pass, whatever reaches Direct2D first.
        D2DClientRegistration client;
        client.Add(m_hWnd);
        const bool previewing = profile >= 0 && profile < kProfileCount;
        const EffectFrame* frame = previewing ? BuildEffectFrame() : nullptr;
        if (previewing) DrawKeyPlaces(target, frame);
        if (m_basePicture.GetSafeHdc()) {
            GdiAlphaBlend(target, area.left, area.top, areaWidth, areaHeight, m_basePicture, area.left, area.top,
                          areaWidth, areaHeight, PerPixelBlend());
        }
        const bool wholeFrame = m_nEffectIndex == kEffectMusic || m_nEffectIndex == kEffectTemperature;
        DrawKeysPreview(&target, frame, wholeFrame);
    }

    if (fading) {
        m_nFadeStep = interrupted ? 1 : 0;
        ComposeFadeStep();
        SetTimer(m_hWnd, kCrossFadeTimerId, kCrossFadeIntervalMs, nullptr);
    }
    if (first) {
        Present(false, RECT{0, 0, m_nWidth, m_nHeight});
    } else {
        Present(true, area);
    }
}

void CKeybdWnd::MakeLayerDC(CMemoryDC& dc)
{
    // Outside the key area every picture is the static one, always.
    if (!dc.GetSafeHdc() && dc.Resize(m_nWidth, m_nHeight)) {
        CopyArea(dc, m_staticDC, RECT{0, 0, m_nWidth, m_nHeight});
    }
}

const CKeybdWnd::EffectFrame* CKeybdWnd::BuildEffectFrame()
{
    if (!WantsEffectFrame(Source(), m_nProfile, m_nZoneMode, m_nEffectIndex)) return nullptr;
    RECT topKey = {}, bottomKey = {};
    GetKeyRect(kGradientTopKey, &topKey, 1);
    GetKeyRect(kGradientBottomKey, &bottomKey, 1);
    const FrameGeometry geometry{m_nHeight, ScaleByHalfDpi(topKey.top), ScaleByHalfDpi(bottomKey.bottom)};
    const EffectFrameLayout layout = DescribeEffectFrame(m_nEffectIndex, m_pEffectData, m_uModelType, m_dwStyle, geometry);
    if (layout.kind == EffectFrameLayout::Kind::None) return nullptr;

    auto kept = std::find_if(m_frames.begin(), m_frames.end(),
                             [&](const std::unique_ptr<EffectFrame>& f) { return SameFrame(f->layout, layout); });
    if (kept != m_frames.end()) {
        std::rotate(m_frames.begin(), kept, kept + 1);
        return m_frames.front().get();
    }

    auto frame = std::make_unique<EffectFrame>();
    frame->layout = layout;
    if (!frame->picture.Resize(m_nWidth, m_nHeight)) return nullptr;
    if (layout.kind == EffectFrameLayout::Kind::Gradient) {
        // The colour changes along one axis only: one line of it is rendered
        // and repeated, so no picture-sized render target is needed.
        const int lineWidth = layout.vertical ? 1 : m_nWidth, lineHeight = layout.vertical ? m_nHeight : 1;
        HDC line = nullptr;
        if (!D2DDrawLinearGradient(m_hWnd, lineWidth, lineHeight, layout.positions, layout.colors, layout.count, &line,
                                   nullptr, FALSE, layout.vertical ? TRUE : FALSE)) {
            return nullptr;
        }
        UniqueMemoryDc lineDC(line);
        const auto* lineBits = reinterpret_cast<const uint32_t*>(TopDownBits(lineDC.Get(), lineWidth, lineHeight));
        if (!lineBits) return nullptr;
        auto* out = static_cast<uint32_t*>(frame->picture.Bits());
        for (int y = 0; y < m_nHeight; ++y, out += m_nWidth) {
            if (layout.vertical) {
                std::fill(out, out + m_nWidth, lineBits[y]);
            } else {
                std::memcpy(out, lineBits, size_t(m_nWidth) * 4u);
            }
        }
    } else {
        FillColorBands(frame->picture, m_nWidth, m_nHeight, layout.positions, layout.colors);
        GdiFlush();
    }
    m_frames.insert(m_frames.begin(), std::move(frame));
    if (m_frames.size() > kKeptFrames) m_frames.pop_back();
    return m_frames.front().get();
}

RECT CKeybdWnd::ScaleKeyRect(const RECT& stored) const
{
    const int left = ScaleByHalfDpi(stored.left), top = ScaleByHalfDpi(stored.top);
    return RECT{left, top, left + ScaleByHalfDpi(stored.right - stored.left),
                top + ScaleByHalfDpi(stored.bottom - stored.top)};
}

void CKeybdWnd::DrawKeyPlaces(HDC target, const EffectFrame* frame)
{
    for (int key = 0; key < kKeyboardKeyCount; ++key) {
        RECT stored;
        if ((!KeyHasLamp(key) && key != kLongKeyLowerEdge) || !GetKeyRect(key, &stored, 1)) continue;
        RECT place = ScaleKeyRect(stored);
        InflateRect(&place, 1, 1);
        const int w = place.right - place.left, h = place.bottom - place.top;
        if (!frame) {
            const uint32_t argb = g_KeyColors[key];
            platform::UniqueGdiObject brush(
                CreateSolidBrush(RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF)));
            FillRect(target, &place, static_cast<HBRUSH>(brush.Get()));
        } else if (m_nEffectIndex == kEffectMusic && !IsKeyPresent(key)) {
            PatBlt(target, place.left, place.top, w, h, BLACKNESS);
            GdiAlphaBlend(target, place.left, place.top, w, h, frame->picture, place.left, place.top, w, h,
                          ConstantBlend(kMusicDimAlpha));
        } else {
            BitBlt(target, place.left, place.top, w, h, frame->picture, place.left, place.top, SRCCOPY);
        }
    }
}

void CKeybdWnd::DrawKeysPreview(const CMemoryDC* target, const EffectFrame* frame, bool wholeFrame)
{
    const RECT& area = m_keyArea;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!m_glowMasks.IsBuilt() || width <= 0 || height <= 0) return;
    // Only our own loops write the layer: a bare DIB, which the blur reads
    // without a copy. Bottom-up, the one row order every reader of a bitmap
    // handle agrees on; the rings are laid top-down and the rows turned after.
    BITMAPINFO info = platform::Dib32Info(width, height);
    void* layerBits = nullptr;
    platform::UniqueBitmap layer(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &layerBits, nullptr, 0));
    if (!layer || !layerBits) return;
    auto* bits = static_cast<uint8_t*>(layerBits);
    auto lay = [&](int key, uint32_t argb) {
        m_glowMasks.Compose(bits, width, height, area.left, area.top, key, argb);
    };
    if (!frame) {
        for (int key = 0; key < kKeyboardKeyCount; ++key) {
            if (KeyHasLamp(key)) lay(key, g_KeyColors[key]);
        }
    } else {
        for (int key = 0; key < kKeyboardKeyCount; ++key) {
            RECT cap;
            if (!GetKeyRect(key, &cap, 0)) continue;
            if (m_nEffectIndex == kEffectMusic && !IsKeyPresent(key)) continue;
            if (wholeFrame) {
                // The rings take the frame's colours where they lie.
                m_glowMasks.ComposeFromFrame(bits, width, height, area.left, area.top, key, frame->Pixels());
                continue;
            }
            const int cx = std::clamp(ScaleByHalfDpi((cap.left + cap.right) / 2), 0, m_nWidth - 1);
            const int cy = std::clamp(ScaleByHalfDpi((cap.top + cap.bottom) / 2), 0, m_nHeight - 1);
            const uint8_t* p = frame->Pixels() + (size_t(cy) * size_t(m_nWidth) + size_t(cx)) * 4u;
            lay(key, 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]);
        }
    }
    TurnRows(bits, width, height);
    HDC blurred = nullptr;
    if (!D2DSetSourceFromDC(m_hWnd, width, height, nullptr, static_cast<HBITMAP>(layer.Get())) ||
        !D2DGaussianBlur(m_hWnd, width, height, &blurred)) {
        return;
    }
    UniqueMemoryDc glowDC(blurred);
    LayGlow(*target, area, TopDownBits(glowDC.Get(), width, height));
}

void CKeybdWnd::ComposeFadeStep()
{
    if (m_nFadeStep == 0) {
        CopyArea(m_composedDC, m_oldDC, m_keyArea);
    } else {
        BlendArea(m_composedDC, m_oldDC, m_newDC, unsigned(m_nFadeStep * 255 / kCrossFadeSteps), m_keyArea);
    }
    ++m_nFadeStep;
}

void CKeybdWnd::OnCrossFadeTick()
{
    if (m_bFading && m_nFadeStep < kCrossFadeSteps) {
        ComposeFadeStep();
    } else {
        KillTimer(m_hWnd, kCrossFadeTimerId);
        if (m_bFading) CopyArea(m_composedDC, m_newDC, m_keyArea);
        m_bFading = false;
        m_oldDC.Resize(0, 0);
        m_newDC.Resize(0, 0);
    }
    Present(true, m_keyArea);
}

void CKeybdWnd::OnTimer(UINT_PTR id)
{
    if (id == kCrossFadeTimerId) {
        OnCrossFadeTick();
    } else if (id == kDelayedRedrawTimerId) {
        KillTimer(m_hWnd, kDelayedRedrawTimerId);
        if (m_bRedrawPending) {
            m_bRedrawPending = false;
            DrawKeyboard(false, m_nProfile, false);
        }
    }
}

void CKeybdWnd::Present(bool toWindow, const RECT& area)
{
    CopyArea(m_backBuffer, m_composedDC, area);
    if (toWindow && m_windowDC && *m_windowDC && m_backBuffer.GetSafeHdc()) {
        BitBlt(m_windowDC->Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, m_backBuffer,
               area.left, area.top, SRCCOPY);
    }
}

void CKeybdWnd::ReleaseDCs()
{
    if (m_hWnd) {
        KillTimer(m_hWnd, kCrossFadeTimerId);
        KillTimer(m_hWnd, kDelayedRedrawTimerId);
    }
    m_bFading = false;
    m_bRedrawPending = false;
    m_frames.clear();
    m_oldDC.Resize(0, 0);
    m_newDC.Resize(0, 0);
    m_composedDC.Resize(0, 0);
    m_staticDC.Resize(0, 0);
    m_basePicture.Resize(0, 0);
    m_backBuffer.Resize(0, 0);
    m_windowDC.reset();
}

LRESULT CKeybdWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintFromBackBuffer(m_hWnd, m_backBuffer.GetSafeHdc());
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_DESTROY:
        // The window DC goes with the window.
        ReleaseDCs();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
