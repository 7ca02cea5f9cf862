#pragma once
#include "app/effectpanel/LumoEffectPanel.h"

// The effect panel of keyboards with four colour zones: four swatches in a
// row, the four-zone records and the direction group.
class LumoEffectPanelFourColor : public LumoEffectPanel {
public:
    LumoEffectPanelFourColor();

    property_bst_override<Gdiplus::Color> Color3;
    property_bst_override<Gdiplus::Color> Color4;

    void BindEvents(LumoColorPickerDlg* popup) override;         // 44
    void Reset() override;                                       // 45
    void SetProfile(int32_t profile) override;                   // 46
    void SetZone(int32_t zone, int32_t profile) override;        // 47
    void SetEffectType(int32_t effect) override;                 // 48
    void CommitValue(int what) override;                         // 49
    void Layout() override;                                      // 58
    EffectData* CurrentEffect() override;                        // 66
    void LoadFromEffect(EffectData* record) override;            // 67
    void SaveToEffect(EffectData* record) override;              // 68
    int IsMultiColor() const override;                           // 69

    static constexpr int kFourLabelCount = 4;
    Caption m_zoneLabels[kFourLabelCount];
    Swatch m_colorButton3;
    Swatch m_colorButton4;

protected:
    int OnCreated() override;                                                // 39
    void OnColorChanged(void* sender, const Gdiplus::Color& color) override;  // 51
    void LayoutColorRow(int count, int x, int y) override;

    // The swatch that a CommitValue what stands for, or null.
    virtual LumoColorButtonBase* SwatchForValue(int what);
    // Whether the sender's Tag names a swatch of this panel.
    virtual bool IsSwatchTag(int tag) const;
    // A property over a swatch's colour whose setter raises Changed.
    static void SetSwatchColor(Swatch& swatch, const Gdiplus::Color& value, const property_bs_base& property,
                               void* sender);
    // Layout with the seven-colour panel's places or the four-colour one's.
    void LayoutFor(bool sevenColor);
};
