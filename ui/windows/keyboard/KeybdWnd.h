#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "backend/profiles/EffectModel.h"
#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/keyboard/KeyGlowMasks.h"
#include "ui/windows/keyboard/KeyboardPreviewModel.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

// The keys of the keyboard picture, lit with the previewed effect: key
// colours or a multi-colour frame behind the picture's holes, a soft glow
// around the keys, and a cross-fade from the old picture to the new one.
class CKeybdWnd : public CWnd {
public:
    static constexpr UINT_PTR kCrossFadeTimerId = 1;
    static constexpr UINT kCrossFadeIntervalMs = 30;
    static constexpr int kCrossFadeSteps = 7;
    static constexpr UINT_PTR kDelayedRedrawTimerId = 2;
    static constexpr UINT kDelayedRedrawMs = 750;

    // Reasons of UpdatePreview.
    static constexpr int kPreviewNow = 0;
    static constexpr int kPreviewDelayed = 4;

    static constexpr const wchar_t* kBasePictureName = L"KB_RESULT_FR_RT310";

    // Constant alpha of the music frame under keys outside the key-present set.
    static constexpr BYTE kMusicDimAlpha = 127;

    CKeybdWnd() = default;
    ~CKeybdWnd() override;

    BOOL Create(CWnd* parent, HDC frameDC, int x, int y, int width, int height, unsigned modelType);
    // 1 when the preview was redrawn (reason 0, profile 0..2) or scheduled
    // (reason 4); 0 for anything else.
    int UpdatePreview(int reason, int profile);
    void DrawKeyboard(bool first, int profile, bool fade);
    void ReleaseDCs();

    int GetEffectIndex(int profile) const;
    void FillKeyColors(int profile);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool IsCreated() const { return m_bCreated; }
    HDC BackBufferDC() const { return m_backBuffer.GetSafeHdc(); }
    bool IsFading() const { return m_bFading; }
    int FadeStep() const { return m_nFadeStep; }
    bool IsDelayedRedrawPending() const { return m_bRedrawPending; }
    int PreviewedProfile() const { return m_nProfile; }
    int ZoneMode() const { return m_nZoneMode; }
    int EffectIndex() const { return m_nEffectIndex; }
    const EffectData* PreviewedRecord() const { return m_pEffectData; }
    void SetFadeEnabled(bool enabled) { m_bFadeEnabled = enabled; }
    void SetFrameStyle(DWORD style) { m_dwStyle = style; }

private:
    // A multi-colour frame (its pixels top row first). A few are kept: a
    // frame depends on its description only, and a gradient costs more than
    // the rest of a redraw where Direct2D renders through the GPU.
    struct EffectFrame {
        EffectFrameLayout layout;
        CMemoryDC picture;
        const uint8_t* Pixels() const { return static_cast<const uint8_t*>(picture.Bits()); }
    };
    static constexpr size_t kKeptFrames = 3;

    PreviewSource Source() const;
    const EffectFrame* BuildEffectFrame();  // DrawBandPreview
    void MakeStaticPicture();
    void DrawKeyPlaces(HDC target, const EffectFrame* frame);
    void DrawKeysPreview(const CMemoryDC* target, const EffectFrame* frame, bool wholeFrame);
    void ComposeFadeStep();
    void OnCrossFadeTick();
    void OnTimer(UINT_PTR id);
    // Copies the area of the composed picture to the back buffer and the screen.
    void Present(bool toWindow, const RECT& area);
    void MakeLayerDC(CMemoryDC& dc);
    RECT ScaleKeyRect(const RECT& stored) const;

    HDC m_hFrameDC = nullptr;  // the frame window's back buffer, not ours
    std::unique_ptr<platform::WindowDc> m_windowDC;
    CMemoryDC m_backBuffer;
    CMemoryDC m_basePicture;  // "KB_RESULT_FR_RT310" at the picture's size
    int m_nX = 0, m_nY = 0, m_nWidth = 0, m_nHeight = 0;
    bool m_bCreated = false;
    bool m_bFadeEnabled = true;
    DWORD m_dwStyle = kDefaultFrameStyle;
    int m_nProfile = -1;
    bool m_bRedrawPending = false;
    unsigned m_uModelType = 0;
    int m_nZoneMode = 0;
    int m_nEffectIndex = 0;
    const EffectData* m_pEffectData = nullptr;
    CMemoryDC m_oldDC, m_newDC, m_composedDC;
    // Background with the base picture over it, and the part of the picture
    // that redraws touch (key places and rings); outside it every picture
    // above is this static one.
    CMemoryDC m_staticDC;
    RECT m_keyArea = {};
    KeyGlowMasks m_glowMasks;
    std::vector<std::unique_ptr<EffectFrame>> m_frames;  // most recent first
    bool m_bFading = false;
    int m_nFadeStep = 0;
};
