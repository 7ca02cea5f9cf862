#include "ui/windows/CKeybdWnd.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "backend/device/RgbKeyboard.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/D2DModule.h"
#include "ui/framework/GdiHelpers.h"
#include "ui/framework/SkinImage.h"
#include "ui/windows/D2DClientScope.h"
#include "ui/windows/KeyPainter.h"
#include "ui/windows/KeyboardKeys.h"

namespace {

BLENDFUNCTION ConstantBlend(BYTE alpha)
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, alpha, 0};
}

BLENDFUNCTION PerPixelBlend()
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
}

void CopyPicture(const CMemoryDC& to, const CMemoryDC& from)
{
    BitBlt(to, 0, 0, to.Width(), to.Height(), from, 0, 0, SRCCOPY);
}

int Round(float value)
{
    return static_cast<int>(std::lround(value));
}

// The blur source keeps colour only: the glow comes back opaque over black.
// Its coverage is the brightest channel, which keeps the pixel premultiplied
// and lets the picture show through where there is no glow.
void RestoreGlowCoverage(HDC dc)
{
    DIBSECTION section = {};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32) {
        return;
    }
    GdiFlush();
    auto* pixel = static_cast<uint8_t*>(section.dsBm.bmBits);
    const size_t count = size_t(section.dsBm.bmWidth) * size_t(std::abs(section.dsBm.bmHeight));
    for (size_t i = 0; i < count; ++i, pixel += 4) {
        pixel[3] = std::max({pixel[0], pixel[1], pixel[2]});
    }
}

}  // namespace

CKeybdWnd::~CKeybdWnd() = default;

BOOL CKeybdWnd::Create(CWnd* parent, HDC frameDC, int x, int y, int width, int height, unsigned modelType)
{
    LPCWSTR className =
        AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!className || !CreateEx(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height,
                                parent ? parent->GetSafeHwnd() : nullptr, nullptr)) {
        return FALSE;
    }
    m_hFrameDC = frameDC;
    m_nX = x, m_nY = y, m_nWidth = width, m_nHeight = height;
    m_uModelType = modelType;
    m_glowRect = {Round(width * kGlowLeft), Round(height * kGlowTop), Round(width * kGlowWidth),
                  Round(height * kGlowHeight)};
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

void CKeybdWnd::DrawKeyboard(bool first, int profile, bool fade)
{
    if (first) {
        m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
        m_backBuffer.Resize(m_nWidth, m_nHeight);
        HDC base = nullptr;
        if (LoadSkinImageToDC(GetModuleHandleW(nullptr), kBasePictureName, &base, &m_nBaseWidth, &m_nBaseHeight)) {
            m_baseDC.Reset(base);
        }
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

    if (!m_composedDC.GetSafeHdc()) m_composedDC.Resize(m_nWidth, m_nHeight);
    if (fading) {
        if (!m_oldDC.GetSafeHdc()) m_oldDC.Resize(m_nWidth, m_nHeight);
        if (!m_newDC.GetSafeHdc()) m_newDC.Resize(m_nWidth, m_nHeight);
        // What is on screen now, a half-finished fade included.
        CopyPicture(m_oldDC, m_composedDC);
    } else {
        m_oldDC.Resize(0, 0);
        m_newDC.Resize(0, 0);
    }
    m_bFading = fading;

    const CMemoryDC& target = fading ? m_newDC : m_composedDC;
    if (m_hFrameDC) BitBlt(target, 0, 0, m_nWidth, m_nHeight, m_hFrameDC, m_nX, m_nY, SRCCOPY);
    {
        // The gradients and the glow's blur both need the client: it lives
        // for this whole pass, whatever reaches Direct2D first.
        D2DClientScope client(m_hWnd);
        EffectFrame frame;
        const bool haveFrame = profile >= 0 && profile < kProfileCount && BuildEffectFrame(frame);
        if (profile >= 0 && profile < kProfileCount) DrawKeyPlaces(target, haveFrame ? &frame : nullptr);
        if (m_baseDC) {
            GdiAlphaBlend(target, 0, 0, m_nWidth, m_nHeight, m_baseDC.Get(), 0, 0, m_nBaseWidth, m_nBaseHeight,
                          PerPixelBlend());
        }
        const bool wholeFrame = m_nEffectIndex == kEffectMusic || m_nEffectIndex == kEffectTemperature;
        DrawKeysPreview(target, haveFrame ? &frame : nullptr, wholeFrame);
    }

    if (fading) {
        m_nFadeStep = interrupted ? 1 : 0;
        ComposeFadeStep();
        SetTimer(m_hWnd, kCrossFadeTimerId, kCrossFadeIntervalMs, nullptr);
    }
    Present(!first);
}

bool CKeybdWnd::BuildEffectFrame(EffectFrame& frame)
{
    if (!WantsEffectFrame(Source(), m_nProfile, m_nZoneMode, m_nEffectIndex)) return false;
    RECT topKey = {}, bottomKey = {};
    GetKeyRect(110, &topKey, 1);
    GetKeyRect(84, &bottomKey, 1);
    const FrameGeometry geometry{m_nHeight, ScaleByHalfDpi(topKey.top), ScaleByHalfDpi(bottomKey.bottom)};
    const EffectFrameSpec spec = DescribeEffectFrame(m_nEffectIndex, m_pEffectData, m_uModelType, m_dwStyle, geometry);
    HDC dc = nullptr;
    if (spec.kind == EffectFrameSpec::Kind::Gradient) {
        if (!D2DDrawLinearGradient(m_hWnd, m_nWidth, m_nHeight, spec.positions, spec.colors, spec.count, &dc,
                                   &frame.bitmap, FALSE, spec.vertical ? TRUE : FALSE)) {
            return false;
        }
        frame.dc.Reset(dc);
        return true;
    }
    if (spec.kind == EffectFrameSpec::Kind::Bands) {
        if (!CreateMemoryDCBitmap(m_nWidth, m_nHeight, &dc, TRUE, &frame.bitmap)) return false;
        frame.dc.Reset(dc);
        FillColorBands(dc, m_nWidth, m_nHeight, spec.positions, spec.colors);
        return true;
    }
    return false;
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
            GdiAlphaBlend(target, place.left, place.top, w, h, frame->dc.Get(), place.left, place.top, w, h,
                          ConstantBlend(kMusicDimAlpha));
        } else {
            BitBlt(target, place.left, place.top, w, h, frame->dc.Get(), place.left, place.top, SRCCOPY);
        }
    }
}

void CKeybdWnd::DrawKeysPreview(HDC target, const EffectFrame* frame, bool wholeFrame)
{
    CMemoryDC layer;
    if (!layer.Resize(m_nWidth, m_nHeight) || !layer.Surface()) return;
    {
        Gdiplus::Graphics graphics(layer.Surface());
        if (graphics.GetLastStatus() != Gdiplus::Ok) return;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        if (!frame) {
            for (int key = 0; key < kKeyboardKeyCount; ++key) {
                if (!KeyHasLamp(key)) continue;
                const uint32_t argb = g_KeyColors[key];
                DrawKey(&graphics, key, BYTE(argb >> 16), BYTE(argb >> 8), BYTE(argb), nullptr, nullptr, 0, 0);
            }
        } else {
            std::vector<uint8_t> pixels(size_t(m_nWidth) * size_t(m_nHeight) * 4u);
            GetBitmapBitsTopDown(frame->bitmap, pixels.data(), m_nWidth, m_nHeight);
            const RECT glow = wholeFrame ? RECT{0, 0, m_nWidth, m_nHeight} : m_glowRect;
            // The frame as an opaque picture: band fills leave the alpha byte unset.
            Gdiplus::Bitmap framePicture(m_nWidth, m_nHeight, m_nWidth * 4, PixelFormat32bppRGB, pixels.data());
            std::unique_ptr<Gdiplus::TextureBrush> outerBrush, innerBrush;
            if (wholeFrame) {
                const Gdiplus::RectF area(float(glow.left), float(glow.top), float(glow.right), float(glow.bottom));
                auto textureAt = [&](BYTE alpha) {
                    Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0},
                                                    {0, 1, 0, 0, 0},
                                                    {0, 0, 1, 0, 0},
                                                    {0, 0, 0, alpha / 255.0f, 0},
                                                    {0, 0, 0, 0, 1}}};
                    Gdiplus::ImageAttributes attributes;
                    attributes.SetColorMatrix(&matrix);
                    return std::make_unique<Gdiplus::TextureBrush>(&framePicture, area, &attributes);
                };
                outerBrush = textureAt(kKeyGlowOuterAlpha);
                innerBrush = textureAt(kKeyGlowInnerAlpha);
            }
            for (int key = 0; key < kKeyboardKeyCount; ++key) {
                RECT cap;
                if (!GetKeyRect(key, &cap, 0)) continue;
                if (m_nEffectIndex == kEffectMusic && !IsKeyPresent(key)) continue;
                if (wholeFrame) {
                    DrawKey(&graphics, key, 0, 0, 0, outerBrush.get(), innerBrush.get(), glow.left, glow.top);
                    continue;
                }
                const int cx = std::clamp(ScaleByHalfDpi((cap.left + cap.right) / 2), 0, m_nWidth - 1);
                const int cy = std::clamp(ScaleByHalfDpi((cap.top + cap.bottom) / 2), 0, m_nHeight - 1);
                const uint8_t* p = &pixels[(size_t(cy) * size_t(m_nWidth) + size_t(cx)) * 4u];
                DrawKey(&graphics, key, p[2], p[1], p[0], nullptr, nullptr, 0, 0);
            }
        }
    }
    GdiFlush();
    HDC blurred = nullptr;
    if (!D2DSetSourceFromDC(m_hWnd, m_nWidth, m_nHeight, layer, nullptr) ||
        !D2DGaussianBlur(m_hWnd, m_nWidth, m_nHeight, &blurred)) {
        return;
    }
    UniqueMemoryDc glowDC(blurred);
    RestoreGlowCoverage(glowDC.Get());
    GdiAlphaBlend(target, 0, 0, m_nWidth, m_nHeight, glowDC.Get(), 0, 0, m_nWidth, m_nHeight, PerPixelBlend());
}

void CKeybdWnd::ComposeFadeStep()
{
    CopyPicture(m_composedDC, m_oldDC);
    if (m_nFadeStep != 0) {
        const BYTE alpha = static_cast<BYTE>(m_nFadeStep * 255 / kCrossFadeSteps);
        GdiAlphaBlend(m_composedDC, 0, 0, m_nWidth, m_nHeight, m_newDC, 0, 0, m_nWidth, m_nHeight,
                      ConstantBlend(alpha));
    }
    ++m_nFadeStep;
}

void CKeybdWnd::OnCrossFadeTick()
{
    if (m_bFading && m_nFadeStep < kCrossFadeSteps) {
        ComposeFadeStep();
    } else {
        KillTimer(m_hWnd, kCrossFadeTimerId);
        if (m_bFading) CopyPicture(m_composedDC, m_newDC);
        m_bFading = false;
        m_oldDC.Resize(0, 0);
        m_newDC.Resize(0, 0);
    }
    Present(true);
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

void CKeybdWnd::Present(bool toWindow)
{
    if (!m_composedDC.GetSafeHdc() || !m_backBuffer.GetSafeHdc()) return;
    CopyPicture(m_backBuffer, m_composedDC);
    if (toWindow && m_windowDC && *m_windowDC) {
        BitBlt(m_windowDC->Get(), 0, 0, m_nWidth, m_nHeight, m_backBuffer, 0, 0, SRCCOPY);
    }
}

void CKeybdWnd::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (dc && m_backBuffer.GetSafeHdc()) {
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, m_backBuffer, r.left, r.top, SRCCOPY);
    }
    EndPaint(m_hWnd, &paint);
}

void CKeybdWnd::ReleaseDCs()
{
    if (m_hWnd) {
        KillTimer(m_hWnd, kCrossFadeTimerId);
        KillTimer(m_hWnd, kDelayedRedrawTimerId);
    }
    m_bFading = false;
    m_bRedrawPending = false;
    m_oldDC.Resize(0, 0);
    m_newDC.Resize(0, 0);
    m_composedDC.Resize(0, 0);
    m_baseDC.Reset();
    m_backBuffer.Resize(0, 0);
    m_windowDC.reset();
}

LRESULT CKeybdWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
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
