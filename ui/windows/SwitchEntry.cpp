#include "ui/windows/SwitchEntry.h"

#include "app/LumoGlobals.h"
#include "ui/framework/GdiHelpers.h"
#include "ui/framework/Scale.h"
#include "ui/framework/SkinImage.h"

namespace {

// The skin faces in the button's state order: off normal, hover, pressed;
// on normal, hover, pressed; off disabled; on disabled.
const wchar_t* const kFaceImages[CLightButton::kStateCount] = {
    L"SYNC_OFF_DEFAULT", L"SYNC_OFF_HOVER", L"SYNC_OFF_PRESS",   L"SYNC_ON_DEFAULT",
    L"SYNC_ON_HOVER",    L"SYNC_ON_PRESS",  L"SYNC_OFF_DISABLE", L"SYNC_ON_DISABLE",
};

}  // namespace

bool SwitchEntry::CreateSwitch(CWnd* page, HDC backdrop, SwitchMap& map, UINT& clickMessage)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HDC faces[CLightButton::kStateCount] = {};
    int width = 0;
    int height = 0;
    for (int state = 0; state < CLightButton::kStateCount; ++state) {
        int faceWidth = 0;
        int faceHeight = 0;
        if (!LoadSkinImageToDC(module, kFaceImages[state], &faces[state], &faceWidth, &faceHeight))
            faces[state] = nullptr;
        // The off face gives the switch its size.
        if (state == CLightButton::Normal) {
            width = faceWidth;
            height = faceHeight;
        }
    }
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
    clickMessage = WM_LIGHTBUTTON_CLICK_MESSAGE;
    return true;
}

void SwitchEntry::Draw(CMemoryDC& layer)
{
    DrawLabel(layer, kLabelX);
}
