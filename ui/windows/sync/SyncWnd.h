#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "backend/device/EffectDispatch.h"
#include "backend/service/LightingServiceClient.h"
#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/shared/UniqueMemoryDc.h"
#include "ui/windows/sync/PowerStates.h"
#include "ui/windows/sync/SwitchEntry.h"
#include "ui/windows/sync/SyncEntry.h"

// The main window's second page: a title and four power-state switches
// (boot, awake, sleeping, shut-down). The switches are stored in Basic.ini
// [Setting] at Apply; every change is broadcast to all top-level windows as
// the power-state mask, so the main window can preview it on the keyboard.
// The page also owns the lighting-service client and the last effects the
// dispatch sent, which its device switches hand to the service.
// Composed once into a layer and copied to the window; the switches are
// windows of their own.
class CSyncWnd : public CWnd {
public:
    static constexpr int kFirstRowTop = 17;
    static constexpr int kDeviceSwitchCount = 12;
    static constexpr UINT kLastSwitchId = 29;
    static constexpr UINT kFirstDeviceId = 30;
    static constexpr UINT kLastDeviceId = 49;
    // lParam of the broadcast: the stored mask at start, a change, and the
    // request to send the zone tabs' effect again.
    static constexpr LPARAM kBroadcastInitial = 3;
    static constexpr LPARAM kBroadcastChange = 0;
    static constexpr LPARAM kBroadcastResendZoneEffect = 1;

    CSyncWnd();
    // With a transport of the caller's, which must outlive the page.
    explicit CSyncWnd(TalLumoService& service);
    ~CSyncWnd() override;

    // The page at (x, y, w, h) of the parent, its backdrop copied from
    // parentDC there. FALSE when the window could not be created.
    BOOL Create(CWnd* parent, HDC parentDC, int x, int y, int w, int h);
    void MakeLayered();
    // Reads the switches from Basic.ini, then broadcasts them (quiet: as a
    // change; otherwise as the stored start mask). A file that cannot be read
    // brings back the switches as last read or saved; false, with no
    // broadcast, when there were none: the stored mask is not known.
    bool LoadPowerSettings(bool quiet);
    // False when the switches could not be stored.
    bool SavePowerSettings();
    void BroadcastPowerStates(bool initial);
    // Drops the switches, the layers and the window DC.
    void ReleaseDCs();

    uint32_t PowerStateMaskNow() const { return PowerStateMask(m_powerValues); }
    const std::array<int32_t, kPowerStateCount>& PowerValues() const { return m_powerValues; }
    // The switch of a power-state key, null before creation.
    CLightButton* PowerSwitch(int key);
    CLightButton& DeviceSwitch(int index) { return m_deviceSwitches[static_cast<size_t>(index)]; }
    int ContentHeight() const { return m_nContentHeight; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const Entry& Row(int index) const { return *m_rows[static_cast<size_t>(index)]; }
    bool IsLayered() const { return m_bLayered; }
    HDC Composite() const { return m_composite.GetSafeHdc(); }
    LightingServiceClient& ServiceClient() { return m_client; }

    // Filled by the effect dispatch: slot A the all-keys send, slot B the zone tabs'.
    SyncEffectSlots m_syncSlots{};
    // 0 while the applied profile is 0, else 1; set by the main window.
    int m_nDeviceSyncMode = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Device switch i has the id 30 + i.
    void NumberDeviceSwitches();
    void BuildRows();
    void PrepareFrame();
    void CreateSwitches();
    void DrawRows();
    void DrawSwitches();
    void Compose();
    void Present(HDC target);
    void ShowSwitchWindows();
    void OnPaint();
    void OnSwitchClicked(int key);
    void OnDeviceClicked(int index);
    bool BasicIniPath(wchar_t* path, size_t capacity) const;

    std::vector<std::unique_ptr<Entry>> m_rows;
    SwitchMap m_switches;
    UINT m_nClickMessage = 0;
    std::array<int32_t, kPowerStateCount> m_powerValues{};
    // Whether the values came from Basic.ini: one that could not be read is
    // read again before Apply stores anything, so only toggled switches
    // change in it.
    bool m_bPowerValuesRead = false;
    std::array<bool, kPowerStateCount> m_toggled{};
    // The values as last read from or written to Basic.ini.
    std::optional<std::array<int32_t, kPowerStateCount>> m_storedValues;

    int m_nX = 0, m_nY = 0, m_nWidth = 0, m_nHeight = 0;
    HDC m_hParentDC = nullptr;  // the parent's, not owned
    bool m_bCreated = false;
    bool m_bLayered = false;
    int m_nContentHeight = 0;

    std::unique_ptr<platform::WindowDc> m_windowDC;
    CMemoryDC m_backdrop;
    CMemoryDC m_rowsLayer;
    UniqueMemoryDc m_frame;
    int m_nFrameWidth = 0, m_nFrameHeight = 0;
    CMemoryDC m_composite;

    std::array<CLightButton, kDeviceSwitchCount> m_deviceSwitches;
    LightingServiceClient m_client;
};
