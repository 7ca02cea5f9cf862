#pragma once
#include <windows.h>

#include <map>

#include "platform/ui/Wnd.h"
#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/sync/SwitchFaces.h"
#include "ui/windows/sync/SyncEntry.h"

// Where a power-state switch sits on the sync page.
struct SwitchPlace {
    CLightButton* button;
    int top;
};
using SwitchMap = std::map<int, SwitchPlace>;

// A power-state row: the label and an on/off switch.
class SwitchEntry : public OptionEntry {
public:
    static constexpr int kLabelX = 150;
    static constexpr int kSwitchX = 360;
    // Switch ids are the power-state key plus this.
    static constexpr UINT kFirstSwitchId = 10;

    SwitchEntry(const wchar_t* labelKey, int key) : OptionEntry(labelKey), m_nKey(key) {}

    // Creates the switch from copies of the page's switch faces as a child
    // of the page over its backdrop and enters it in the map; hands back the
    // id of the message the switch posts even when its window was not made.
    bool CreateSwitch(CWnd* page, HDC backdrop, const SwitchFaces& faces, SwitchMap& map, UINT& clickMessage);
    void Draw(CMemoryDC& layer) override;

    int Key() const { return m_nKey; }
    CLightButton& Switch() { return m_switch; }

private:
    int m_nKey;
    CLightButton m_switch;
};
