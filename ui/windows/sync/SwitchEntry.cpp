#include "ui/windows/sync/SwitchEntry.h"

#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/scale/Scale.h"
#include "ui/messages/WindowMessages.h"

bool SwitchEntry::CreateSwitch(CWnd* page, HDC backdrop, const SwitchFaces& skin, SwitchMap& map, UINT& clickMessage)
{
    HDC faces[CLightButton::kStateCount] = {};
    int width = 0;
    int height = 0;
    skin.Copy(faces, width, height);
    // The page takes the click message whether or not this switch's window
    // is made: the device switches' clicks come through it as well.
    clickMessage = WM_LIGHTBUTTON_CLICK_MESSAGE;
    // Once the switch exists it owns the faces; otherwise they go here.
    const BOOL created =
        m_switch.CreateFromDCs(page, backdrop, faces, ScaleByDpi(kSwitchX), m_nTop, width, height, FALSE);
    if (!created) {
        for (HDC face : faces)
            if (face) DeleteMemoryDC(face);
        return false;
    }
    map[m_nKey] = SwitchPlace{&m_switch, m_nTop};
    m_switch.m_nButtonId = kFirstSwitchId + static_cast<UINT>(m_nKey);
    return true;
}

void SwitchEntry::Draw(CMemoryDC& layer)
{
    DrawLabel(layer, kLabelX);
}
