#pragma once
#include "app/effectpanel/LumoEffectPanelFourColor.h"

// The effect panel of keyboards with seven colour zones: a second row of
// swatches under the four-colour panel's row.
class LumoEffectPanelSevenColor : public LumoEffectPanelFourColor {
public:
    LumoEffectPanelSevenColor();

    property_bst_override<Gdiplus::Color> Color5;
    property_bst_override<Gdiplus::Color> Color6;
    property_bst_override<Gdiplus::Color> Color7;

    void BindEvents(LumoColorPickerDlg* popup) override;         // 44
    void Reset() override;                                       // 45
    void Layout() override;                                      // 58
    void LoadFromEffect(EffectData* record) override;            // 67
    void SaveToEffect(EffectData* record) override;              // 68

    static constexpr int kSecondRowCount = 3;
    Caption m_secondRowLabels[kSecondRowCount];
    Swatch m_colorButton5;
    Swatch m_colorButton6;
    Swatch m_colorButton7;

protected:
    int OnCreated() override;                                                // 39
    void LayoutColorRow(int count, int x, int y) override;
    LumoColorButtonBase* SwatchForValue(int what) override;
    bool IsSwatchTag(int tag) const override;
};
