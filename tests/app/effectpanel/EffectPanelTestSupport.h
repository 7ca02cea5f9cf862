#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/profiles/EffectModel.h"
#include "tests/support/MessagePump.h"
#include "tests/support/UiSettingsScope.h"
#include "ui/colorpicker/LumoColorPickerDlg.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"

namespace paneltest {

// A message the panel posted to its top-level window.
struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

// The top-level window the panels live in; it records what they post.
class RecordingHost {
public:
    RecordingHost(int x, int y, int width, int height);
    ~RecordingHost();
    HWND Get() const { return m_hWnd; }
    // Dispatches what is queued, then hands over and forgets what arrived.
    std::vector<Posted> Take();

private:
    HWND m_hWnd = nullptr;
};

// The colour picker popup as the main window makes it: over the whole
// host, hidden until a swatch asks for it.
class PickerPopup {
public:
    explicit PickerPopup(HWND host);
    LumoColorPickerDlg* Get() { return &m_popup; }
    bool Shown() const { return m_popup.IsVisible.Get() != 0; }
    void Hide();

private:
    LumoColorPickerDlg m_popup;
};

using testsupport::Pump;
using testsupport::PumpUntil;

// A table whose every record is told apart: colour n of record i of list l
// is (l*40 + i*5 + n, 100 + n, 200 - n); speeds, directions and music vary.
ProfileTable DistinctTable();

// Where a child sits in the panel, read from its window.
POINT PlaceInPanel(const Control& panel, const Control& child);
bool Shown(const Control& child);

// Real pointer input at a screen point.
void ClickAtScreen(int x, int y);
// A left click on the middle of the child's left part (where radio buttons
// and swatches take it).
void ClickChild(const Control& child);

// The program's start-up state for the panels, restored afterwards: skin
// set, scales, language, support flag and profile table.
class PanelGlobals {
public:
    explicit PanelGlobals(float scale = 1.0f, DWORD support = 1);
    ~PanelGlobals();

private:
    testsupport::UiSettingsScope m_uiSettings;
    DWORD m_support;
    ProfileTable m_table;
};

// Creates a panel of type P at the top left of the host, at the panel's
// background size, bound to the popup and showing the profile.
template <typename P>
std::unique_ptr<P> MakePanel(HWND host, LumoColorPickerDlg* popup, int profile)
{
    auto panel = std::make_unique<P>();
    if (!panel->Create(host, 0, 0, ScaleByDpi(287), ScaleByDpi(514))) return nullptr;
    panel->BindEvents(popup);
    ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETPROFILE, static_cast<WPARAM>(profile), 0);
    return panel;
}

}  // namespace paneltest
