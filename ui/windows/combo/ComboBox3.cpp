#include "ui/windows/combo/ComboBox3.h"

#include <cmath>
#include <cwchar>

#include "backend/trace/Trace.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"
#include "ui/messages/WindowMessages.h"
#include "ui/windows/buttons/FaceDrawing.h"
#include "ui/windows/combo/ComboBoxBtn3.h"
#include "ui/windows/combo/ComboBoxList3.h"
#include "ui/windows/shared/SkinOverlay.h"

ComboMetrics g_ComboMetrics;
ComboFaceCache g_ComboFaces;

namespace {

constexpr int kLangRightToLeft = 4;
constexpr int kRightToLeftTextRight = 25;

const wchar_t* const kImageNames[CComboBox3::ImageCount] = {
    L"DROPDOWN_NORMAL",         L"DROPDOWN_HOVER",         L"DROPDOWN_CLICK",
    L"DROPDOWN_LIST_BG_NORMAL", L"DROPDOWN_LIST_BG_HOVER", L"DROPDOWN_FRAME_NORMAL"};

// The owner reads the chosen text through the message's lParam.
wchar_t g_szZoneModeText[kComboTextChars] = L"";

std::unique_ptr<CMemoryDC> NewSurface(int width, int height)
{
    auto surface = std::make_unique<CMemoryDC>();
    surface->Resize(width, height);
    return surface;
}

void DrawStretched(CMemoryDC& surface, Gdiplus::Bitmap* image)
{
    if (image) OverlaySkin(surface, *image);
}

}  // namespace

ComboMetrics ComputeComboMetrics(float uiScale, int langIndex)
{
    ComboMetrics defaults;
    ComboMetrics m;
    m.boxWidth = ScaleValue(defaults.boxWidth, uiScale);
    m.boxHeight = ScaleValue(defaults.boxHeight, uiScale);
    m.boxTextLeft = ScaleValue(defaults.boxTextLeft, uiScale);
    m.listTextLeft = ScaleValue(defaults.listTextLeft, uiScale);
    m.textRight = ScaleValue(langIndex == kLangRightToLeft ? kRightToLeftTextRight : 0, uiScale);
    m.rowEdge = ScaleValue(defaults.rowEdge, uiScale);
    return m;
}

CComboBox3::CComboBox3() = default;

CComboBox3::~CComboBox3()
{
    Release();
}

const wchar_t* CComboBox3::ChosenText()
{
    return g_szZoneModeText;
}

int CComboBox3::LoadImages(HMODULE module, CWnd* owner, int x, int y, HDC background)
{
    for (int i = 0; i < ImageCount; ++i) {
        Gdiplus::Bitmap* raw = nullptr;
        LoadSkinImage(&raw, module, kImageNames[i]);
        m_images[i].reset(raw);
    }
    m_pOwner = owner;
    m_nX = x;
    m_nY = y;
    m_hBackgroundDC = background;
    return 1;
}

int CComboBox3::Prerender()
{
    g_ComboMetrics = ComputeComboMetrics(g_fUIScale, g_nLangIndex);
    g_ComboFaces.Clear();
    const ComboMetrics& m = g_ComboMetrics;
    m_boxRect = {m_nX, m_nY, m.boxWidth, m.boxHeight};
    for (int i : {BoxNormal, BoxHover, BoxPressed}) {
        m_dcs[i] = NewSurface(m.boxWidth, m.boxHeight);
        CopyOpaqueBackground(*m_dcs[i], m_hBackgroundDC, m_nX, m_nY);
        DrawStretched(*m_dcs[i], m_images[i].get());
    }
    // Rows and frame keep their own alpha: they are blended later.
    for (int i : {RowNormal, RowHover}) {
        m_dcs[i] = NewSurface(m.ListWidth(), m.ItemHeight());
        DrawStretched(*m_dcs[i], m_images[i].get());
    }
    m_dcs[Frame] = NewSurface(m.boxWidth, m.boxHeight);
    DrawStretched(*m_dcs[Frame], m_images[Frame].get());
    ::GdiFlush();
    return 1;
}

int CComboBox3::Create()
{
    if (m_pOwner == nullptr || m_button) return 0;
    ComboBoxBtn3Params params;
    for (int i = 0; i < kComboBoxStates; ++i) {
        // The focused face is the normal image.
        const int image = i == kComboBoxStates - 1 ? BoxNormal : BoxNormal + i;
        params.stateDCs[i] = m_dcs[image] ? m_dcs[image]->GetSafeHdc() : nullptr;
    }
    params.frameDC = m_dcs[Frame] ? m_dcs[Frame]->GetSafeHdc() : nullptr;
    params.rect = m_boxRect;
    params.owner = m_pOwner->GetSafeHwnd();
    params.combo = this;
    if (!m_items.empty() && m_nCurrent == -1) m_nCurrent = 0;
    if (m_nCurrent >= 0) {
        params.text = m_items[static_cast<size_t>(m_nCurrent)].c_str();
        params.itemIndex = m_nCurrent;
    }
    auto button = std::make_unique<CComboBoxBtn3>(params);
    if (!button->Create(m_pOwner, m_boxRect)) return 0;
    m_button = std::move(button);
    return 1;
}

void CComboBox3::FreeImages()
{
    for (auto& image : m_images) image.reset();
}

int CComboBox3::AddString(const wchar_t* text)
{
    if (text == nullptr || ::wcslen(text) >= kComboTextChars) return 0;
    // The face caches have a slot for four items only.
    if (m_items.size() >= static_cast<size_t>(kComboMaxItems)) {
        LogMessage(L"a fifth item is refused", L"CComboBox3::AddString", false, ERROR_NOT_SUPPORTED);
        return 0;
    }
    m_items.emplace_back(text);
    if (m_button) {
        if (m_items.size() == 1) m_nCurrent = 0;
        ShowCurrentOnBox();
    }
    return 1;
}

int CComboBox3::SetCurSel(int index)
{
    if (index < 0 || index >= GetCount()) return 0;
    m_nCurrent = index;
    ShowCurrentOnBox();
    return 1;
}

void CComboBox3::ShowCurrentOnBox()
{
    if (!m_button) return;
    if (m_nCurrent >= 0 && m_nCurrent < GetCount())
        m_button->SetItem(m_items[static_cast<size_t>(m_nCurrent)].c_str(), m_nCurrent);
    else
        m_button->SetItem(L"", -1);
}

void CComboBox3::OnListEvent(int event, int index)
{
    switch (event) {
    case Opened: {
        m_list.reset();
        if (!m_button) return;
        const ComboMetrics& m = g_ComboMetrics;
        ComboBoxList3Params params;
        params.x = m_boxRect.x - m.listOffsetX;
        params.y = m_boxRect.y - m.listOffsetY + m_boxRect.height;
        params.width = m.ListWidth();
        params.itemHeight = m.ItemHeight();
        params.items = m_items;
        params.hovered = m_nCurrent;
        params.rowNormalDC = m_dcs[RowNormal] ? m_dcs[RowNormal]->GetSafeHdc() : nullptr;
        params.rowHoverDC = m_dcs[RowHover] ? m_dcs[RowHover]->GetSafeHdc() : nullptr;
        params.owner = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
        params.combo = this;
        m_list = std::make_unique<CComboBoxList3>(params);
        m_list->Show();
        break;
    }
    case ClosedWithoutChoice:
        if (m_button) m_button->CloseAndFocus();
        break;
    case Chosen:
        // A choice without a row (no item hovered) is no choice.
        if (index < 0 || index >= GetCount()) {
            if (m_button) m_button->CloseAndFocus();
            break;
        }
        m_nCurrent = index;
        if (m_button) {
            m_button->CloseAndFocus();
            ShowCurrentOnBox();
        }
        ::wcsncpy(g_szZoneModeText, m_items[static_cast<size_t>(index)].c_str(), kComboTextChars - 1);
        g_szZoneModeText[kComboTextChars - 1] = L'\0';
        if (m_pOwner)
            ::PostMessageW(m_pOwner->GetSafeHwnd(), WM_ZONEMODE_CHANGED, 0, reinterpret_cast<LPARAM>(g_szZoneModeText));
        break;
    case FocusList:
        if (m_list && m_list->GetSafeHwnd()) ::SetFocus(m_list->GetSafeHwnd());
        break;
    default:
        break;
    }
}

void CComboBox3::Release()
{
    m_list.reset();
    m_button.reset();
    m_items.clear();
    m_nCurrent = -1;
    for (auto& dc : m_dcs) dc.reset();
    FreeImages();
    g_ComboFaces.Clear();
}
