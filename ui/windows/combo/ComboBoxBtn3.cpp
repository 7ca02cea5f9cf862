#include "ui/windows/combo/ComboBoxBtn3.h"

#include <cwchar>

#include "ui/windows/buttons/FaceDrawing.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/combo/ComboBox3.h"
#include "ui/windows/combo/ComboBoxList3.h"

namespace {

constexpr int kTextAlignment = 3;  // near, centred vertically
constexpr int kNormalTextStyle = 230;
constexpr int kHighlightTextStyle = 235;

}  // namespace

CComboBoxBtn3::CComboBoxBtn3(const ComboBoxBtn3Params& params)
    : m_hFrameDC(params.frameDC), m_rect(params.rect), m_hOwner(params.owner), m_pCombo(params.combo)
{
    for (int i = 0; i < kComboBoxStates; ++i) m_stateDCs[i] = params.stateDCs[i];
    SetItem(params.text, params.itemIndex);
}

CComboBoxBtn3::~CComboBoxBtn3()
{
    DestroyWindow();
}

BOOL CComboBoxBtn3::Create(CWnd* owner, const ComboRect& rect)
{
    if (owner == nullptr) return FALSE;
    m_rect = rect;
    // Double clicks, as the class library's default class does: the second
    // click of a quick pair comes as one, not as another press.
    LPCWSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return CreateEx(0, className, L"", WS_CHILD | WS_VISIBLE, rect.x, rect.y, rect.width, rect.height,
                    owner->GetSafeHwnd(), nullptr);
}

void CComboBoxBtn3::SetItem(const wchar_t* text, int index)
{
    ::wcsncpy(m_szText, text ? text : L"", kComboTextChars - 1);
    m_szText[kComboTextChars - 1] = L'\0';
    // Only four item slots have faces; anything else shows as no item.
    const bool item = index >= 0 && index < kComboMaxItems && m_szText[0] != L'\0';
    m_nItemIndex = item ? index : kComboNoItem;
    if (!item) m_szText[0] = L'\0';
    Redraw();
}

void CComboBoxBtn3::Render()
{
    const int width = m_rect.width, height = m_rect.height;
    auto& faces = g_ComboFaces.box[static_cast<size_t>(m_nItemIndex)];
    const ComboMetrics& m = g_ComboMetrics;
    for (int state = 0; state < kComboBoxStates; ++state) {
        if (faces[state]) continue;
        auto face = std::make_unique<CMemoryDC>();
        if (!face->Resize(width, height)) continue;
        if (m_stateDCs[state]) ::BitBlt(*face, 0, 0, width, height, m_stateDCs[state], 0, 0, SRCCOPY);
        if (m_szText[0]) {
            Gdiplus::Graphics graphics(face->GetSafeHdc());
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            const Gdiplus::RectF rect(static_cast<float>(m.boxTextLeft), 0.0f,
                                      static_cast<float>(width - m.textRight - m.boxTextLeft),
                                      static_cast<float>(height));
            CLightButton::DrawFace(&graphics, rect, m_szText, kTextAlignment,
                                   state == Normal ? kNormalTextStyle : kHighlightTextStyle, TRUE, nullptr);
        }
        AlphaBlendWhole(*face, m_hFrameDC, width, height, 255, true);
        faces[state] = std::move(face);
    }
    int shown = Normal;
    if (m_bOpen || m_nHoverState == 2)
        shown = Pressed;
    else if (m_nHoverState == 1)
        shown = Hover;
    else if (m_hWnd && ::GetFocus() == m_hWnd)
        shown = Focused;
    m_nShownState = shown;
    m_hFaceDC = faces[shown] ? faces[shown]->GetSafeHdc() : nullptr;
}

void CComboBoxBtn3::Redraw()
{
    if (!m_hWnd) return;
    Render();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CComboBoxBtn3::CloseAndFocus()
{
    if (m_hWnd) ::SetFocus(m_hWnd);
    m_nHoverState = 0;
    m_bOpen = FALSE;
    Redraw();
}

void CComboBoxBtn3::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc && m_hFaceDC) ::BitBlt(dc, 0, 0, m_rect.width, m_rect.height, m_hFaceDC, 0, 0, SRCCOPY);
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CComboBoxBtn3::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_bEnabled) return CWnd::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        Render();
        return result;
    }
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        m_nHoverState = 1;
        Redraw();
        break;
    }
    case WM_MOUSELEAVE:
        if (!m_bOpen) {
            m_nHoverState = 0;
            Redraw();
        }
        break;
    case WM_LBUTTONDBLCLK:
        // The second click of a pair while the list slides open is dropped;
        // once the list has closed again it is a press like any other.
        if (m_bOpen) break;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        m_nHoverState = 2;
        m_bOpen = TRUE;
        Redraw();
        ::UpdateWindow(m_hWnd);
        if (m_pCombo) {
            m_pCombo->OnListEvent(CComboBox3::Opened, -1);
            m_pCombo->OnListEvent(CComboBox3::FocusList, -1);
        }
        break;
    case WM_LBUTTONUP:
        m_nHoverState = 1;
        Redraw();
        break;
    case WM_KILLFOCUS:
    case WM_SETFOCUS:
        Redraw();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
