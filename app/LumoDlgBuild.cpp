// Building the main window: its pre-rendered background, child windows,
// buttons, zone selector and effect panel; and letting go of them.
#include <cmath>
#include <cstring>
#include <string>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "app/effectpanel/LumoEffectPanelFourColor.h"
#include "app/effectpanel/LumoEffectPanelSevenColor.h"
#include "backend/device/RgbKeyboard.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace {

// Caption layout inside the background (100 %).
constexpr int kTabCaptionLeft = 60;
constexpr int kTabCaptionTop = 112;
constexpr int kTabCaptionHeight = 40;
constexpr int kTabCaptionMargin = 20;
constexpr int kTabMeasureWidth = 400;
constexpr int kTabCaptionStyle = 31;
constexpr int kAlignCentre = 4;
constexpr int kAlignLeftMiddle = 3;
constexpr int kBrightnessX = 1143, kBrightnessXNoSupport = 1151, kBrightnessY = 106;
constexpr int kBrightnessW = 220, kBrightnessWRightToLeft = 152, kBrightnessH = 20;
constexpr int kBrightnessStyle = 43;
constexpr int kColumnX = 1041, kColumnW = 262, kColumnWRightToLeft = 236;
constexpr int kZoneModeCaptionY = 190, kEffectsCaptionY = 300, kColumnCaptionH = 26;
constexpr int kColumnCaptionStyle = 35;
constexpr int kTitleImageX = 1015, kTitleImageY = 295;
constexpr int kTabLineX = 52, kTabLineY = 130;
constexpr int kSwapX1 = 1023, kSwapX2 = 1278, kSwapY = 192, kSwapRowStep = 112, kSwapSide = 17;
constexpr int kLangRightToLeft = 4;
constexpr int kMarkSide = 12, kMarkGap = 8;
constexpr float kResolutionClassLarge = 2;

int Scaled(int value)
{
    return ScaleByDpi(value);
}

int ScaledHalf(float value)
{
    const float scaled = value * g_fUIScale;
    return static_cast<int>(scaled < 0 ? scaled - 0.5f : scaled + 0.5f);
}

struct SkinBitmap {
    Gdiplus::Bitmap* bitmap = nullptr;
    ~SkinBitmap() { delete bitmap; }
    bool Load(const wchar_t* name) { return LoadSkinImage(&bitmap, ::GetModuleHandleW(nullptr), name) && bitmap; }
};

// Draws an image blended over the DC at its image-scaled size.
void BlendSkinImage(HDC target, const wchar_t* name, int x, int y)
{
    HDC dc = nullptr;
    int width = 0, height = 0;
    if (!LoadSkinImageToDC(::GetModuleHandleW(nullptr), name, &dc, &width, &height) || !dc) return;
    UniqueMemoryDc owned(dc);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(target, x, y, width, height, dc, 0, 0, width, height, blend);
}

}  // namespace

void CLumoDlg::PaintBackground(HINSTANCE instance)
{
    m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
    HDC background = nullptr;
    if (!LoadSkinImageToDC(instance, L"MAIN_BG", &background, &m_nWindowWidth, &m_nWindowHeight) || !background) {
        // Without the art the window still gets its size and a plain surface.
        m_nWindowWidth = Scaled(kPopupW);
        m_nWindowHeight = Scaled(kPopupH);
        CreateMemoryDCBitmap(m_nWindowWidth, m_nWindowHeight, &background, TRUE, nullptr);
    }
    m_backgroundDC.Reset(background);
    if (!m_backgroundDC) return;

    if (g_nLangIndex == kLangRightToLeft) {
        const int y = static_cast<int>(kSwapY * g_fUIScale + 0.5f);
        HDC dc = m_backgroundDC.Get();
        for (int row = 0; row < 2; ++row) {
            SwapImageColumns(&dc, m_nWindowWidth, m_nWindowHeight, Scaled(kSwapX1), Scaled(kSwapX2),
                             y + row * Scaled(kSwapRowStep), Scaled(kSwapSide), Scaled(kSwapSide));
        }
        if (dc != m_backgroundDC.Get()) {
            m_backgroundDC.Release();
            m_backgroundDC.Reset(dc);
        }
    }

    {
        Gdiplus::Graphics graphics(m_backgroundDC.Get());
        graphics.SetTextContrast(0);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        DrawBackgroundCaptions(graphics);
    }
    if (!g_dwSupport) BlendSkinImage(m_backgroundDC.Get(), L"TITLE", Scaled(kTitleImageX), Scaled(kTitleImageY));
    DrawTabLine(instance);

    SkinBitmap mark;
    if (mark.Load(L"APPLY_ICON")) {
        m_appliedMark.reset(mark.bitmap);
        mark.bitmap = nullptr;
    }
}

void CLumoDlg::DrawBackgroundCaptions(Gdiplus::Graphics& graphics)
{
    const wchar_t* const tabKeys[] = {L"IDS_TAB_BASICEFFECTS", L"IDS_TAB_LUMOSYNC"};
    m_nTabButtonCount = g_dwSupport ? kTabCount : 1;
    int left = Scaled(kTabCaptionLeft);
    const int top = Scaled(kTabCaptionTop), height = Scaled(kTabCaptionHeight);
    for (int tab = 0; tab < m_nTabButtonCount; ++tab) {
        const std::wstring caption = GetLangString(g_dwSupport ? tabKeys[tab] : L"IDS_TAB_CUSTOMIZE1");
        Gdiplus::RectF measured;
        const Gdiplus::RectF probe(0, 0, static_cast<Gdiplus::REAL>(Scaled(kTabMeasureWidth)),
                                   static_cast<Gdiplus::REAL>(height));
        DrawTextGdiplus(&graphics, probe, caption.c_str(), kAlignCentre, kTabCaptionStyle, &measured, true);
        m_tabCaptionWidths[tab] = static_cast<int>(std::ceil(measured.Width));
        const int width = m_tabCaptionWidths[tab] + 2 * Scaled(kTabCaptionMargin);
        m_tabRects[tab] = RECT{left, top, left + width, top + height};
        DrawTextOnDC(&graphics, left, top, width, height, caption.c_str(), kAlignCentre, kTabCaptionStyle);
        left += width;
    }

    const bool rightToLeft = g_nLangIndex == kLangRightToLeft;
    const std::wstring brightness = GetLangString(L"IDS_BRIGHTNESS");
    DrawTextOnDC(&graphics, Scaled(g_dwSupport ? kBrightnessX : kBrightnessXNoSupport), Scaled(kBrightnessY),
                 Scaled(rightToLeft ? kBrightnessWRightToLeft : kBrightnessW), Scaled(kBrightnessH),
                 brightness.c_str(), kAlignLeftMiddle, kBrightnessStyle);
    if (!g_dwSupport) {
        const int columnWidth = Scaled(rightToLeft ? kColumnWRightToLeft : kColumnW);
        const std::wstring zoneMode = GetLangString(L"IDS_ZONEMODE");
        const std::wstring effects = GetLangString(L"IDS_EFFECTSINFO");
        DrawTextOnDC(&graphics, Scaled(kColumnX), Scaled(kZoneModeCaptionY), columnWidth, Scaled(kColumnCaptionH),
                     zoneMode.c_str(), kAlignLeftMiddle, kColumnCaptionStyle);
        DrawTextOnDC(&graphics, Scaled(kColumnX), Scaled(kEffectsCaptionY), columnWidth, Scaled(kColumnCaptionH),
                     effects.c_str(), kAlignLeftMiddle, kColumnCaptionStyle);
    }
}

void CLumoDlg::DrawTabLine(HINSTANCE instance)
{
    HDC line = nullptr;
    int width = 0, height = 0;
    if (!LoadSkinImageToDC(instance, L"TAB_LINE", &line, &width, &height) || !line) return;
    UniqueMemoryDc owned(line);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int x = Scaled(kTabLineX), y = Scaled(kTabLineY);
    // The line reaches the keyboard picture's right edge.
    const int reach = Scaled(kKeyboardX) + Scaled(kKeyboardW) - x;
    if (width >= reach) {
        ::AlphaBlend(m_backgroundDC.Get(), x, y, width, height, line, 0, 0, width, height, blend);
        return;
    }
    const int half = width / 2;
    ::AlphaBlend(m_backgroundDC.Get(), x, y, half, height, line, 0, 0, half, height, blend);
    ::AlphaBlend(m_backgroundDC.Get(), x + half, y, reach - half, height, line, half, 0, width - half, height, blend);
}

void CLumoDlg::CreateChildWindows(HINSTANCE instance)
{
    m_nCurrentTab = m_nPreviousTab = g_nAppliedProfile;
    ApplyEffect(g_nAppliedProfile, m_uiModelType, false);

    const Gdiplus::RectF title(0, 0, static_cast<Gdiplus::REAL>(m_nWindowWidth),
                               static_cast<Gdiplus::REAL>(Scaled(kTitleStripHeight)));
    m_titleAreas.SetAreas(m_hWnd, m_nWindowWidth, m_nWindowHeight, &title, 1);

    HDC background = m_backgroundDC.Get();
    m_keyboardRect = RECT{Scaled(kKeyboardX), Scaled(kKeyboardY), Scaled(kKeyboardW), Scaled(kKeyboardH)};
    m_bPreview = m_keyboard.Create(this, background, m_keyboardRect.left, m_keyboardRect.top, m_keyboardRect.right,
                                   m_keyboardRect.bottom, m_uiModelType) != FALSE;

    if (g_dwSupport) {
        if (m_syncWnd.Create(this, background, Scaled(kSyncX), Scaled(kSyncY), Scaled(kSyncW), Scaled(kSyncH)))
            m_syncWnd.ShowWindow(SW_HIDE);
    }

    m_lineWnd.Create(this, background, Scaled(kLineX), Scaled(kLineY), Scaled(kLineW), Scaled(kLineH));
    m_selector.Create(this, background, Scaled(kSelectorX), Scaled(kSelectorY), Scaled(kSelectorW),
                      Scaled(kSelectorH), Scaled(kSelectorTrackX), Scaled(kSelectorTrackY));
    CreateButtons();
    if (!g_dwSupport) CreateZoneSelector(instance);
    ShowTabWindows(m_nCurrentTab);

    int centres[kTabCount] = {};
    for (int tab = 0; tab < m_nTabButtonCount; ++tab) {
        RECT rect{};
        ::GetWindowRect(m_tabButtons[tab].GetSafeHwnd(), &rect);
        ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        centres[tab] = (rect.left + rect.right) / 2;
    }
    m_lineWnd.MoveTo(UnderlineTab(m_nCurrentTab), centres, m_nTabButtonCount);
}

void CLumoDlg::CreateButtons()
{
    HDC background = m_backgroundDC.Get();
    const HDC noFaces[CLightButton::kStateCount] = {};
    for (int tab = 0; tab < m_nTabButtonCount; ++tab) {
        CLightButton& button = m_tabButtons[tab];
        const RECT& r = m_tabRects[tab];
        const int width = r.right - r.left, height = r.bottom - r.top;
        button.m_nButtonId = kFirstTabButtonId + static_cast<UINT>(tab);
        button.m_bPostBeforeRefresh = FALSE;  // the tab change that follows refreshes the face
        button.CreateFromDCs(this, background, noFaces, r.left, r.top, width, height, TRUE);
        const std::wstring caption = GetLangString(g_dwSupport ? (tab == 0 ? L"IDS_TAB_BASICEFFECTS"
                                                                           : L"IDS_TAB_LUMOSYNC")
                                                               : L"IDS_TAB_CUSTOMIZE1");
        if (m_appliedMark) {
            // The caption is centred in the button.
            const float captionLeft = static_cast<float>(width - m_tabCaptionWidths[tab]) / 2;
            const float side = static_cast<float>(Scaled(kMarkSide));
            const float right = captionLeft - static_cast<float>(Scaled(kMarkGap));
            button.m_markRect = Gdiplus::RectF(right - side, (static_cast<float>(height) - side) / 2, side, side);
            button.m_markImages[0] = m_appliedMark;
            for (int& index : button.m_markImageIndex) index = 0;
        }
        button.m_bShowMark = tab == g_nAppliedProfile ? TRUE : FALSE;
        button.SetCheck(tab == m_nCurrentTab ? TRUE : FALSE);
        button.SetText(caption.c_str(), 0, 0, width, height);
    }
    if (m_bPreview) PreviewCurrent(m_nCurrentTab);

    const wchar_t* const minimize[CLightButton::kStateCount] = {L"WINDOW_MIN_NORMAL", L"WINDOW_MIN_HOVER",
                                                                L"WINDOW_MIN_CLICK"};
    m_btnMinimize.m_nButtonId = kMinimizeButtonId;
    m_btnMinimize.CreateFromImages(this, background, minimize, Scaled(kMinimizeX), Scaled(kMinimizeY),
                                   Scaled(kMinimizeW), Scaled(kMinimizeH));

    const wchar_t* const close[CLightButton::kStateCount] = {L"WINDOW_CLOSE_NORMAL", L"WINDOW_CLOSE_HOVER",
                                                             L"WINDOW_CLOSE_CLICK"};
    m_btnClose.m_nButtonId = kCloseButtonId;
    m_btnClose.CreateFromImages(this, background, close, Scaled(kCloseX), Scaled(kCloseY), Scaled(kCloseW),
                                Scaled(kCloseH));

    const wchar_t* const apply[CLightButton::kStateCount] = {L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", nullptr,
                                                             nullptr,       nullptr,      L"BTN_DISABLE"};
    const int applyWidth = Scaled(kApplyW);
    const int applyHeight = g_nResolutionClass >= kResolutionClassLarge ? ScaledHalf(kApplyHLarge) : Scaled(kApplyH);
    m_btnApply.m_nButtonId = kApplyButtonId;
    m_btnApply.CreateFromImages(this, background, apply, Scaled(kApplyX), Scaled(kApplyY), applyWidth, applyHeight);
    m_btnApply.LoadFrameImages();
    m_btnApply.SetTextStyle(GetLangString(L"IDS_APPLY").c_str(), 0, 0, applyWidth, applyHeight);
    m_btnApply.Refresh(FALSE, 0);

    m_nLightButtonMessage = WM_LIGHTBUTTON_CLICK_MESSAGE;
}

void CLumoDlg::CreateZoneSelector(HINSTANCE instance)
{
    auto selector = std::make_unique<CComboBox3>();
    const int x = g_nResolutionClass >= kResolutionClassLarge ? ScaledHalf(kZoneSelectorXLarge) : Scaled(kZoneSelectorX);
    selector->LoadImages(instance, this, x, Scaled(kZoneSelectorY), m_backgroundDC.Get());
    selector->Prerender();
    selector->Create();
    selector->FreeImages();
    selector->AddString(GetLangString(L"IDS_SELECTION_ALL").c_str());
    if (m_uiModelType == 1) {
        selector->AddString(GetLangString(L"IDS_SELECTION_WASD").c_str());
        selector->AddString(GetLangString(L"IDS_SELECTION_QWER").c_str());
    } else {
        selector->AddString(GetLangString(L"IDS_SELECTION_4ZONES").c_str());
    }
    m_nZoneMode = g_CustomProfiles[static_cast<size_t>(m_nCurrentTab)].modeIndex;
    selector->SetCurSel(m_nZoneMode);
    m_pZoneSelector = std::move(selector);
    m_keyboard.MakeLayered();
}

void CLumoDlg::CreateEffectPanel()
{
    switch (m_uiModelType) {
    case 1:
        m_pEffectPanel = std::make_unique<LumoEffectPanel>();
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        m_pEffectPanel = std::make_unique<LumoEffectPanelFourColor>();
        break;
    case 6:
        m_pEffectPanel = std::make_unique<LumoEffectPanelSevenColor>();
        break;
    default:
        return;
    }
    const int y = g_dwSupport ? kPanelY : kPanelYNoSupport;
    const int height = g_dwSupport ? kPanelH : kPanelHNoSupport;
    m_pEffectPanel->BackgroundDC = m_backgroundDC.Get();
    if (!m_pEffectPanel->Create(m_hWnd, Scaled(kPanelX), Scaled(y), Scaled(kPanelW), Scaled(height))) {
        m_pEffectPanel.reset();
        return;
    }

    m_colorPopup.CreateWhenShown(m_hWnd, 0, 0, Scaled(kPopupW), Scaled(kPopupH));
    m_pEffectPanel->BindEvents(&m_colorPopup);

    // Sent, not posted: the snapshot below needs the profile loaded. The
    // panel is laid out for profile 0, the one loaded at start, and then
    // takes another applied profile as it would from a switch to it.
    const HWND panel = m_pEffectPanel->Handle.Get();
    ::SendMessageW(panel, WM_PANEL_SETPROFILE, 0, 0);
    if (g_nAppliedProfile != 0)
        ::SendMessageW(panel, WM_PANEL_SETPROFILE, static_cast<WPARAM>(g_nAppliedProfile), 0);
    m_pEffectPanel->SnapshotSelection();
}

BOOL CLumoDlg::OnEraseBkgnd(HDC dc)
{
    if (!m_backgroundDC) return FALSE;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    HDC target = dc != nullptr ? dc : (m_windowDC ? m_windowDC->Get() : nullptr);
    if (target != nullptr)
        ::BitBlt(target, 0, 0, client.right, client.bottom, m_backgroundDC.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

void CLumoDlg::ShowTabWindows(int tab)
{
    m_btnApply.ShowWindow(SW_SHOW);
    // Without the power-state page every tab shows the keyboard.
    if (tab == 1 && m_syncWnd.GetSafeHwnd()) {
        if (m_keyboard.GetSafeHwnd()) m_keyboard.ShowWindow(SW_HIDE);
        if (m_syncWnd.GetSafeHwnd()) m_syncWnd.ShowWindow(SW_SHOW);
    } else {
        if (m_keyboard.GetSafeHwnd()) m_keyboard.ShowWindow(SW_SHOW);
        if (m_syncWnd.GetSafeHwnd()) m_syncWnd.ShowWindow(SW_HIDE);
    }
}

void CLumoDlg::ReleaseButtons()
{
    for (CLightButton& button : m_tabButtons) button.Destroy();
    m_btnMinimize.Destroy();
    m_btnClose.Destroy();
    m_btnApply.Destroy();
}

void CLumoDlg::ReleaseDCs()
{
    if (m_bReleased) return;
    if (m_progress.IsActive()) m_progress.Close();
    m_progress.DestroyWindow();
    m_selector.Destroy();
    m_keyboard.Destroy();
    if (m_syncWnd.GetSafeHwnd()) {
        m_syncWnd.ReleaseDCs();
        m_syncWnd.DestroyWindow();
    }
    m_lineWnd.Destroy();
    ReleaseButtons();
    m_appliedMark.reset();
    m_backgroundDC.Reset();
    m_windowDC.reset();
    m_titleAreas.Release(TRUE);
    if (g_hDevNotify != nullptr) {
        ::UnregisterDeviceNotification(g_hDevNotify);
        g_hDevNotify = nullptr;
    }
    m_bReleased = true;
}
