#include "ui/windows/sync/SyncWnd.h"

#include <algorithm>

#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"
#include "ui/messages/WindowMessages.h"
#include "ui/windows/shared/CustomDrawnChild.h"
#include "ui/windows/shared/SkinOverlay.h"
#include "ui/windows/sync/TitleEntry.h"

namespace {

struct RowEntry {
    const wchar_t* labelKey;
    int key;  // -1 for the title
};

constexpr RowEntry kRows[] = {
    {L"IDS_SET_GEN_GENERAL", -1}, {L"IDS_SET_GEN_BOOTUP", 0},   {L"IDS_SET_GEN_AWAKE", 1},
    {L"IDS_SET_GEN_SLEEPING", 2}, {L"IDS_SET_GEN_SHUTDOWN", 3},
};

void BlendOver(HDC target, HDC source, int width, int height)
{
    if (!target || !source || width <= 0 || height <= 0) return;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(target, 0, 0, width, height, source, 0, 0, width, height, blend);
}

}  // namespace

CSyncWnd::CSyncWnd()
{
    NumberDeviceSwitches();
}

CSyncWnd::CSyncWnd(TalLumoService& service) : m_client(service)
{
    NumberDeviceSwitches();
}

void CSyncWnd::NumberDeviceSwitches()
{
    for (int i = 0; i < kDeviceSwitchCount; ++i)
        m_deviceSwitches[static_cast<size_t>(i)].m_nButtonId = kFirstDeviceId + static_cast<UINT>(i);
}

CSyncWnd::~CSyncWnd()
{
    ReleaseDCs();
    if (m_hWnd) DestroyWindow();
}

bool CSyncWnd::BasicIniPath(wchar_t* path, size_t capacity) const
{
    return BuildBasicIniPath(m_tszIniDir, path, capacity);
}

BOOL CSyncWnd::Create(CWnd* parent, HDC parentDC, int x, int y, int w, int h)
{
    if (m_hWnd || !parent || !parent->GetSafeHwnd()) return FALSE;
    if (!CreateCustomDrawnChild(*this, parent->GetSafeHwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h)) {
        return FALSE;
    }
    m_nX = x;
    m_nY = y;
    m_nWidth = w;
    m_nHeight = h;
    m_hParentDC = parentDC;
    m_bCreated = true;

    BuildRows();
    PrepareFrame();
    CreateSwitches();
    LoadPowerSettings(false);
    m_rowsLayer.Resize(m_nWidth, m_nHeight);
    DrawRows();
    DrawSwitches();
    Compose();
    return TRUE;
}

void CSyncWnd::BuildRows()
{
    m_rows.clear();
    int top = ScaleByDpi(kFirstRowTop);
    for (const RowEntry& entry : kRows) {
        std::unique_ptr<Entry> row;
        if (entry.key < 0)
            row = std::make_unique<TitleEntry>(entry.labelKey);
        else
            row = std::make_unique<SwitchEntry>(entry.labelKey, entry.key);
        row->m_nTop = top;
        row->m_nHeight = ScaleByDpi(Entry::kRowHeight);
        top += row->m_nHeight;
        m_rows.push_back(std::move(row));
    }
    m_nContentHeight = top;
}

void CSyncWnd::PrepareFrame()
{
    m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
    m_backdrop.Resize(m_nWidth, m_nHeight);
    const HMODULE module = ::GetModuleHandleW(nullptr);
    if (!LoadSkinImageToDC(module, L"SYNC_FRAME_ONLY", m_frame.Put(), &m_nFrameWidth, &m_nFrameHeight)) {
        m_frame.Reset();
        m_nFrameWidth = m_nFrameHeight = 0;
    }
    m_composite.Resize(m_nWidth, std::max(m_nHeight, m_nContentHeight));
    if (!m_backdrop.GetSafeHdc()) return;
    if (m_hParentDC) ::BitBlt(m_backdrop, 0, 0, m_nWidth, m_nHeight, m_hParentDC, m_nX, m_nY, SRCCOPY);
    Gdiplus::Bitmap* raw = nullptr;
    if (LoadSkinImage(&raw, module, L"SYNC_FRAME_BG")) {
        std::unique_ptr<Gdiplus::Bitmap> image(raw);
        OverlaySkin(m_backdrop, *image);
    }
}

void CSyncWnd::CreateSwitches()
{
    // Decoded once for every switch, and let go once they have their copies.
    SwitchFaces faces;
    faces.Load();
    for (const std::unique_ptr<Entry>& row : m_rows)
        if (auto* option = dynamic_cast<SwitchEntry*>(row.get()))
            option->CreateSwitch(this, m_backdrop.GetSafeHdc(), faces, m_switches, m_nClickMessage);
}

CLightButton* CSyncWnd::PowerSwitch(int key)
{
    const auto found = m_switches.find(key);
    return found == m_switches.end() ? nullptr : found->second.button;
}

void CSyncWnd::DrawRows()
{
    if (!m_rowsLayer.GetSafeHdc()) return;
    for (const std::unique_ptr<Entry>& row : m_rows) row->Draw(m_rowsLayer);
}

void CSyncWnd::DrawSwitches()
{
    ::GdiFlush();
    for (const auto& entry : m_switches) entry.second.button->DrawFaceAt(m_rowsLayer.GetSafeHdc(), entry.second.top);
}

void CSyncWnd::Compose()
{
    HDC composite = m_composite.GetSafeHdc();
    if (!composite) return;
    ::GdiFlush();
    if (m_backdrop.GetSafeHdc()) ::BitBlt(composite, 0, 0, m_nWidth, m_nHeight, m_backdrop, 0, 0, SRCCOPY);
    BlendOver(composite, m_rowsLayer.GetSafeHdc(), m_rowsLayer.Width(), m_rowsLayer.Height());
    BlendOver(composite, m_frame.Get(), std::min(m_nFrameWidth, m_composite.Width()),
              std::min(m_nFrameHeight, m_composite.Height()));
    if (m_windowDC && m_windowDC->Get()) Present(m_windowDC->Get());
}

void CSyncWnd::Present(HDC target)
{
    if (target && m_composite.GetSafeHdc())
        ::BitBlt(target, 0, 0, m_nWidth, m_nHeight, m_composite, 0, 0, SRCCOPY);
    // A switch's window shows only what a refresh put in its back buffer:
    // refresh them over what was just copied.
    ShowSwitchWindows();
}

void CSyncWnd::ShowSwitchWindows()
{
    for (const auto& entry : m_switches) {
        CLightButton* button = entry.second.button;
        if (!button->GetSafeHwnd()) continue;
        // A fading switch presents itself on its next step.
        if (button->IsFading())
            ::InvalidateRect(button->GetSafeHwnd(), nullptr, FALSE);
        else
            button->Refresh(FALSE, 0);
    }
}

void CSyncWnd::MakeLayered()
{
    if (!m_hWnd) return;
    const HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!m_bLayered && top && ::IsWindowVisible(top)) {
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
        // Where child windows cannot be layered the page stays a painted child.
        const DWORD wanted = ChildLayeredExStyle(exStyle | WS_EX_LAYERED);
        if (wanted & WS_EX_LAYERED) {
            ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(wanted));
            ::SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
            m_bLayered = true;
        }
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CSyncWnd::LoadPowerSettings(bool quiet)
{
    wchar_t path[kIniPathCapacity] = {};
    BasicIniPath(path, kIniPathCapacity);
    m_bPowerValuesRead = !IniFileUnreadable(path);
    m_toggled = {};
    if (m_bPowerValuesRead) {
        m_powerValues = ReadPowerStates(path);
        m_storedValues = m_powerValues;
    } else {
        // As last read or saved, all off before any read: a mask never read
        // is never broadcast, so never sent.
        m_powerValues = m_storedValues ? *m_storedValues : std::array<int32_t, kPowerStateCount>{};
    }
    for (int key = 0; key < kPowerStateCount; ++key) {
        CLightButton* button = PowerSwitch(key);
        const BOOL on = m_powerValues[static_cast<size_t>(key)] != 0;
        if (button && button->GetCheck() != on) button->SetCheck(on);
    }
    if (!m_storedValues) return false;
    BroadcastPowerStates(!quiet);
    return true;
}

bool CSyncWnd::SavePowerSettings()
{
    wchar_t path[kIniPathCapacity] = {};
    if (!BasicIniPath(path, kIniPathCapacity)) return false;
    if (!m_bPowerValuesRead) {
        DWORD error = 0;
        if (IniFileUnreadable(path, &error)) {
            LogMessage(path, L"power states left alone, the file cannot be read @ SavePowerSettings", false, error);
            return false;
        }
        const std::array<int32_t, kPowerStateCount> stored = ReadPowerStates(path);
        for (int key = 0; key < kPowerStateCount; ++key) {
            const size_t k = static_cast<size_t>(key);
            if (m_toggled[k]) continue;
            m_powerValues[k] = stored[k];
            CLightButton* button = PowerSwitch(key);
            if (button && button->GetCheck() != (stored[k] != 0)) button->SetCheck(stored[k] != 0);
        }
        m_bPowerValuesRead = true;
    }
    if (!WritePowerStates(path, m_powerValues)) {
        LogMessage(path, L"WritePrivateProfileString failed @ SavePowerSettings", false, 0);
        return false;
    }
    m_storedValues = m_powerValues;
    return true;
}

void CSyncWnd::BroadcastPowerStates(bool initial)
{
    ::PostMessageW(HWND_BROADCAST, WM_PROFILESYNCWINDOWS_MESSAGE, PowerStateMaskNow(),
                   initial ? kBroadcastInitial : kBroadcastChange);
}

void CSyncWnd::OnSwitchClicked(int key)
{
    CLightButton* button = PowerSwitch(key);
    if (!button) return;
    const BOOL on = !button->GetCheck();
    button->SetCheck(on);
    // A toggled switch is stored as 1 or 0; an untouched one keeps what was read.
    m_powerValues[static_cast<size_t>(key)] = on ? 1 : 0;
    m_toggled[static_cast<size_t>(key)] = true;
    BroadcastPowerStates(false);
}

void CSyncWnd::OnDeviceClicked(int index)
{
    if (index < 0 || index >= kDeviceSwitchCount || static_cast<size_t>(index) >= m_client.m_vecStatus.size()) return;
    CLightButton& button = m_deviceSwitches[static_cast<size_t>(index)];
    const BOOL on = !button.GetCheck();
    button.SetCheck(on);
    m_client.m_vecStatus[static_cast<size_t>(index)].inGroup = on != FALSE;
    m_client.doSync();
    if (m_nDeviceSyncMode == 0) {
        m_client.UpdateXmlToService(m_syncSlots.slotA.effectIndex, m_syncSlots.slotA.effect);
    } else if (m_nDeviceSyncMode == 1) {
        m_client.ServiceStop();
        ::PostMessageW(HWND_BROADCAST, WM_PROFILESYNCWINDOWS_MESSAGE, 0, kBroadcastResendZoneEffect);
    }
}

void CSyncWnd::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    Present(dc);
    ::EndPaint(m_hWnd, &paint);
}

void CSyncWnd::ReleaseDCs()
{
    // The switches draw over the backdrop: they go before it.
    for (auto& entry : m_switches) entry.second.button->Destroy();
    m_switches.clear();
    m_composite.Resize(0, 0);
    m_backdrop.Resize(0, 0);
    m_rowsLayer.Resize(0, 0);
    m_frame.Reset();
    m_windowDC.reset();
}

LRESULT CSyncWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_nClickMessage && m_nClickMessage != 0) {
        if (wParam >= SwitchEntry::kFirstSwitchId && wParam <= kLastSwitchId)
            OnSwitchClicked(static_cast<int>(wParam - SwitchEntry::kFirstSwitchId));
        else if (wParam >= kFirstDeviceId && wParam <= kLastDeviceId)
            OnDeviceClicked(static_cast<int>(wParam - kFirstDeviceId));
    }
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        if (m_bLayered) return 0;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
