#include "ui/windows/combo/ComboBoxList3.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win/GdiHandles.h"
#include "ui/windows/buttons/FaceDrawing.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/combo/ComboBox3.h"

namespace {

constexpr wchar_t kListClassName[] = L"LumoComboBoxList3";
constexpr int kTextAlignment = 3;
constexpr int kNormalTextStyle = 230;
constexpr int kHoverTextStyle = 235;

}  // namespace

CComboBoxList3::CComboBoxList3(const ComboBoxList3Params& params)
    : m_hRowNormalDC(params.rowNormalDC),
      m_hRowHoverDC(params.rowHoverDC),
      m_hOwner(params.owner),
      m_pCombo(params.combo),
      m_items(params.items),
      m_nX(params.x),
      m_nY(params.y),
      m_nWidth(params.width),
      m_nItemHeight(params.itemHeight),
      m_nHovered(params.hovered)
{
    const int count = static_cast<int>(m_items.size());
    if (m_nHovered < 0 || m_nHovered >= count) m_nHovered = -1;
}

CComboBoxList3::~CComboBoxList3()
{
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    DestroyWindow();
}

int CComboBoxList3::GetTotalHeight() const
{
    return m_nItemHeight * std::max<int>(static_cast<int>(m_items.size()), 1);
}

BOOL CComboBoxList3::Show()
{
    Render();
    POINT origin = {0, 0};
    if (m_hOwner) ::ClientToScreen(m_hOwner, &origin);
    m_nX += origin.x;
    m_nY += origin.y;

    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kListClassName;
    if (!AfxRegisterClass(&wc)) return FALSE;
    if (!CreateEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kListClassName, L"", WS_POPUP, m_nX, m_nY, m_nWidth,
                  GetTotalHeight(), nullptr, nullptr))
        return FALSE;
    m_nStep = 1;
    return ::SetTimer(m_hWnd, kSlideTimerId, kSlideTimerMs, nullptr) != 0;
}

void CComboBoxList3::Render()
{
    const size_t slot = m_nHovered >= 0 ? static_cast<size_t>(m_nHovered) : static_cast<size_t>(kComboNoItem);
    auto& cached = g_ComboFaces.list[slot];
    if (!cached) {
        const int total = GetTotalHeight();
        const ComboMetrics& m = g_ComboMetrics;
        auto face = std::make_unique<CMemoryDC>();
        if (!face->Resize(m_nWidth, total)) return;
        const int rows = std::max<int>(static_cast<int>(m_items.size()), 1);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        const SIZE rowSize = SelectedBitmapSize(m_hRowNormalDC);
        for (int row = 0; row < rows && m_hRowNormalDC && rowSize.cx > 0; ++row)
            ::GdiAlphaBlend(*face, 0, row * m_nItemHeight, m_nWidth, m_nItemHeight, m_hRowNormalDC, 0, 0,
                            std::min<int>(m_nWidth, rowSize.cx), std::min<int>(m_nItemHeight, rowSize.cy), blend);
        const int hoverTop = m_nHovered * m_nItemHeight;
        if (m_nHovered >= 0 && m_hRowHoverDC)
            ::BitBlt(*face, 0, hoverTop, m_nWidth, m_nItemHeight, m_hRowHoverDC, 0, 0, SRCCOPY);
        // The rows' alpha is the list's: the text drawn over them keeps it.
        const SurfaceAlpha rowsAlpha(*face);
        {
            Gdiplus::Graphics graphics(face->GetSafeHdc());
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            for (int row = 0; row < static_cast<int>(m_items.size()); ++row) {
                const float top = static_cast<float>(row * m_nItemHeight);
                const Gdiplus::RectF rect(static_cast<float>(m.listTextLeft), top,
                                          static_cast<float>(m_nWidth - m.textRight - m.listTextLeft),
                                          static_cast<float>(m_nItemHeight));
                const Gdiplus::RectF clip(0.0f, top, static_cast<float>(m_nWidth), static_cast<float>(m_nItemHeight));
                CLightButton::DrawFace(&graphics, rect, m_items[static_cast<size_t>(row)].c_str(), kTextAlignment,
                                       row == m_nHovered ? kHoverTextStyle : kNormalTextStyle, TRUE, &clip);
            }
        }
        // No halo bleeds over the hovered row's edges.
        if (m_nHovered >= 0 && m_hRowHoverDC) {
            const int strip = std::min(m.rowEdge, m_nItemHeight);
            ::BitBlt(*face, 0, hoverTop, m_nWidth, strip, m_hRowHoverDC, 0, 0, SRCCOPY);
            ::BitBlt(*face, 0, hoverTop + m_nItemHeight - strip, m_nWidth, strip, m_hRowHoverDC, 0,
                     m_nItemHeight - strip, SRCCOPY);
        }
        rowsAlpha.Restore(*face);
        cached = std::move(face);
    }
    m_hFaceDC = cached->GetSafeHdc();
}

void CComboBoxList3::Present(int sourceY, int height)
{
    if (!m_hWnd || !m_hFaceDC || height <= 0) return;
    platform::WindowDc screen;
    POINT position = {m_nX, m_nY};
    SIZE size = {m_nWidth, height};
    POINT source = {0, sourceY};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(m_hWnd, screen.Get(), &position, &size, m_hFaceDC, &source, 0, &blend, ULW_ALPHA);
}

void CComboBoxList3::OnTimer()
{
    const int total = GetTotalHeight();
    if (m_nStep != kSlideSteps) {
        const int visible = total * m_nStep / kSlideSteps;
        if (visible > 0) {
            ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_nX, m_nY, m_nWidth, visible, SWP_SHOWWINDOW | SWP_NOACTIVATE);
            Present(total - visible, visible);
        }
    } else {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_nX, m_nY, m_nWidth, total, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ::KillTimer(m_hWnd, kSlideTimerId);
        Present(0, total);
        ::SetCapture(m_hWnd);
    }
    ++m_nStep;
}

void CComboBoxList3::SetHovered(int row)
{
    if (row == m_nHovered) return;
    m_nHovered = row;
    Render();
    Present(0, GetTotalHeight());
}

void CComboBoxList3::OnMouseMove(LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const int total = GetTotalHeight();
    if (x < 0 || x > m_nWidth || y < 0 || y >= total || m_nItemHeight <= 0) return;
    const int row = y / m_nItemHeight;
    // The one empty row of a list without items is never hovered.
    if (row < static_cast<int>(m_items.size())) SetHovered(row);
}

void CComboBoxList3::Close(bool withChoice)
{
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ::KillTimer(m_hWnd, kSlideTimerId);
    ::ShowWindow(m_hWnd, SW_HIDE);
    if (m_pCombo)
        m_pCombo->OnListEvent(withChoice ? CComboBox3::Chosen : CComboBox3::ClosedWithoutChoice, m_nHovered);
}

void CComboBoxList3::OnLButtonDown(LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const bool inside = x >= 0 && x <= m_nWidth && y >= 0 && y <= GetTotalHeight();
    Close(inside);
}

void CComboBoxList3::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    const int count = static_cast<int>(m_items.size());
    switch (wParam) {
    case VK_UP:
        if (m_nHovered > 0) SetHovered(m_nHovered - 1);
        break;
    case VK_DOWN:
        if (m_nHovered < count - 1) SetHovered(m_nHovered + 1);
        break;
    case VK_RETURN:
        Close(true);
        break;
    case VK_ESCAPE:
        Close(false);
        break;
    default:
        if (m_hOwner) ::SendMessageW(m_hOwner, WM_KEYDOWN, wParam, lParam);
        break;
    }
}

BOOL CComboBoxList3::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd) {
        ::SendMessageW(m_hWnd, WM_KEYDOWN, msg->wParam, msg->lParam);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CComboBoxList3::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kSlideTimerId) {
            OnTimer();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(lParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam, lParam);
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
