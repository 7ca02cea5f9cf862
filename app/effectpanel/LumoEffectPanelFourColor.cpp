#include "app/effectpanel/LumoEffectPanelFourColor.h"

#include "app/LumoGlobals.h"
#include "backend/device/RgbKeyboard.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace {

constexpr Gdiplus::ARGB kLabelColor = 0xFFFFFFFF;
const wchar_t* const kZoneLabelTexts[LumoEffectPanelFourColor::kFourLabelCount] = {L"1", L"2", L"3", L"4"};
constexpr int kLabelPitch = 70, kLabelY = 35, kLabelWidth = 10, kLabelHeight = 20;
const Control::Thickness kColorButton3Rect{160, 25, 37, 35};
const Control::Thickness kColorButton4Rect{230, 25, 37, 35};
constexpr int kSwatchPitch = 70;
constexpr int kSwatchRowPitch = 50;
constexpr int kColorCycleEffect = 2;
constexpr int kStrobingEffect = 4;

}  // namespace

LumoEffectPanelFourColor::LumoEffectPanelFourColor()
    : Color3([this] { return m_colorButton3.Color.Get(); },
             [this](const Gdiplus::Color& value) { SetSwatchColor(m_colorButton3, value, Color3, this); }),
      Color4([this] { return m_colorButton4.Color.Get(); },
             [this](const Gdiplus::Color& value) { SetSwatchColor(m_colorButton4, value, Color4, this); }),
      m_zoneLabels{{kLabelColor, kZoneLabelTexts[0]},
                   {kLabelColor, kZoneLabelTexts[1]},
                   {kLabelColor, kZoneLabelTexts[2]},
                   {kLabelColor, kZoneLabelTexts[3]}}
{
    for (Caption& label : m_zoneLabels) label.UseTextFormatter = 0;
}

void LumoEffectPanelFourColor::SetSwatchColor(Swatch& swatch, const Gdiplus::Color& value,
                                              const property_bs_base& property, void* sender)
{
    if (value.GetValue() == swatch.Color.Get().GetValue()) return;
    swatch.Color = value;
    property.RaiseChanged(sender);
}

int LumoEffectPanelFourColor::IsMultiColor() const
{
    return 1;
}

int LumoEffectPanelFourColor::OnCreated()
{
    const RenderBatch batch(*this, false);
    if (!LumoEffectPanel::OnCreated()) return 0;
    for (int i = 0; i < kFourLabelCount; ++i)
        BuildChild(m_zoneLabels[i], Control::Thickness(kLabelPitch * i, kLabelY, kLabelWidth, kLabelHeight),
                   ChildKind::Title);
    BuildChild(m_colorButton3, kColorButton3Rect, ChildKind::Swatch);
    m_colorButton3.Tag = kValueColor3;
    BuildChild(m_colorButton4, kColorButton4Rect, ChildKind::Swatch);
    m_colorButton4.Tag = kValueColor4;
    SubscribeColorChanged(m_colorButton3);
    SubscribeColorChanged(m_colorButton4);
    return 1;
}

void LumoEffectPanelFourColor::BindEvents(LumoColorPickerDlg* popup)
{
    LumoEffectPanel::BindEvents(popup);
    SubscribeColorButtonClick(m_colorButton3);
    SubscribeColorButtonClick(m_colorButton4);
}

void LumoEffectPanelFourColor::Reset()
{
    LumoEffectPanel::Reset();
    for (Caption& label : m_zoneLabels) label.IsVisible = 0;
    m_colorButton3.IsVisible = 0;
    m_colorButton4.IsVisible = 0;
}

void LumoEffectPanelFourColor::SetProfile(int32_t profile)
{
    m_profile = profile;
    if (g_dwSupport) {
        if (profile == 0) SetZone(0, 0);
        else if (profile == 1 || profile == 2) SetZone(1, profile);
        return;
    }
    // The stored zone modes 1 and 2 both mean four zones here; 2 is not the sync zone.
    if (CustomProfile* record = CurrentProfile()) SetZone(record->modeIndex == 2 ? 1 : record->modeIndex, profile);
}

void LumoEffectPanelFourColor::SetZone(int32_t zone, int32_t)
{
    const RenderBatch batch(*this);
    m_zone = zone;
    CustomProfile* profile = CurrentProfile();
    const bool support = g_dwSupport != 0;
    if (zone == 0) {
        LayoutWarning(0, 0, 0);
        LayoutEffects(1, Scaled(20), Scaled(15));
        m_effectType = profile ? EffectOrNone(profile->allIndex, kAllZoneEffectCount) : -1;
    } else if (zone == 1) {
        LayoutWarning(1, Scaled(30), Scaled(15));
        LayoutEffects(1, Scaled(20), Scaled(support ? 67 : 15));
        m_effectType = profile ? EffectOrNone(profile->fourIndex, kZoneEffectCount) : -1;
    } else if (zone == 2) {
        m_effectType = profile ? EffectOrNone(profile->syncIndex, kAllZoneEffectCount) : -1;
    } else {
        m_effectType = -1;
    }
    if (zone == 0 || zone == 1) {
        SetShown(*m_effectButtons[kColorCycleEffect], 1);
        SetShown(*m_effectButtons[kStrobingEffect], 1);
    }
    CheckEffectButton(m_effectType);
    LoadFromEffect(CurrentEffect());
    Layout();
}

void LumoEffectPanelFourColor::SetEffectType(int32_t effect)
{
    CustomProfile* profile = CurrentProfile();
    m_effectType = EffectOrNone(effect, m_zone == 1 ? kZoneEffectCount : kAllZoneEffectCount);
    if (profile && m_effectType >= 0) {
        if (m_zone == 0) profile->allIndex = m_effectType;
        else if (m_zone == 1) profile->fourIndex = m_effectType;
        else if (m_zone == 2) profile->syncIndex = m_effectType;
    }
    ShowNewEffectType();
}

EffectData* LumoEffectPanelFourColor::CurrentEffect()
{
    CustomProfile* profile = CurrentProfile();
    if (!profile) return nullptr;
    if (m_zone == 0) return RecordAt(profile->allData, kAllZoneEffectCount, profile->allIndex);
    if (m_zone == 1) return RecordAt(profile->fourData, kZoneEffectCount, profile->fourIndex);
    return nullptr;
}

bool LumoEffectPanelFourColor::IsSwatchTag(int tag) const
{
    return tag == kValueColor1 || tag == kValueColor2 || tag == kValueColor3 || tag == kValueColor4;
}

LumoColorButtonBase* LumoEffectPanelFourColor::SwatchForValue(int what)
{
    switch (what) {
    case kValueColor1:
        return &m_colorButton1;
    case kValueColor2:
        return &m_colorButton2;
    case kValueColor3:
        return &m_colorButton3;
    case kValueColor4:
        return &m_colorButton4;
    default:
        return nullptr;
    }
}

void LumoEffectPanelFourColor::OnColorChanged(void* sender, const Gdiplus::Color&)
{
    const int tag = static_cast<Control*>(sender)->Tag.Get();
    if (IsSwatchTag(tag)) CommitValue(tag);
}

void LumoEffectPanelFourColor::CommitValue(int what)
{
    if (m_loading) return;
    SaveToEffect(CurrentEffect());
    LPARAM value = 0;
    if (LumoColorButtonBase* swatch = SwatchForValue(what)) value = static_cast<LPARAM>(ColorRefOf(*swatch));
    else if (what == kValueTempo) value = m_tempo;
    else if (what == kValueDirection) value = m_direction;
    else if (what == kValueMusic) value = m_music;
    PostToTopLevel(WM_EFFECTVALUE_CHANGED, static_cast<WPARAM>(what), value);
}

void LumoEffectPanelFourColor::LoadFromEffect(EffectData* record)
{
    LumoEffectPanel::LoadFromEffect(record);
    if (!record || !ShowsZoneColors(m_effectType)) return;
    m_loading = 1;
    Color3 = OpaqueColor(record->Color3R, record->Color3G, record->Color3B);
    Color4 = OpaqueColor(record->Color4R, record->Color4G, record->Color4B);
    m_loading = 0;
}

void LumoEffectPanelFourColor::SaveToEffect(EffectData* record)
{
    LumoEffectPanel::SaveToEffect(record);
    if (!record || !ShowsZoneColors(m_effectType)) return;
    SaveColor(Color3.Get(), *record, 2);
    SaveColor(Color4.Get(), *record, 3);
}

void LumoEffectPanelFourColor::LayoutColorRow(int count, int x, int y)
{
    if (count > 0) {
        const int dx = x - m_colorTitle.X.Get();
        const int dy = y - m_colorTitle.Y.Get();
        for (Control* control : {static_cast<Control*>(&m_colorTitle), static_cast<Control*>(&m_otherColorTitle),
                                 static_cast<Control*>(&m_colorButton1), static_cast<Control*>(&m_colorButton2),
                                 static_cast<Control*>(&m_colorButton3), static_cast<Control*>(&m_colorButton4)})
            MoveChild(*control, dx, dy);
        for (Caption& label : m_zoneLabels) MoveChild(label, dx, dy);
        if (count == 2) {
            PlaceChild(m_colorButton2, m_colorButton1.X.Get(), m_colorButton1.Y.Get() + Scaled(kSwatchRowPitch));
        } else if (count == 1 || count == 4) {
            PlaceChild(m_colorButton2, m_colorButton1.X.Get() + Scaled(kSwatchPitch), m_colorButton1.Y.Get());
        }
    }
    const int shown = count > 0 ? 1 : 0;
    SetShown(m_colorTitle, shown);
    SetShown(m_colorButton1, shown);
    SetShown(m_colorButton2, count >= 2 ? 1 : 0);
    SetShown(m_colorButton3, count >= 4 ? 1 : 0);
    SetShown(m_colorButton4, count >= 4 ? 1 : 0);
    for (Caption& label : m_zoneLabels) SetShown(label, count == 4 ? 1 : 0);
    if (m_colorTitle.Text.Get() != L"IDS_INFO_COLOR") m_colorTitle.Text = L"IDS_INFO_COLOR";
    SetShown(m_otherColorTitle, 0);
}

void LumoEffectPanelFourColor::Layout()
{
    LayoutFor(false);
}

void LumoEffectPanelFourColor::LayoutFor(bool sevenColor)
{
    const bool support = g_dwSupport != 0;
    if (!support) SetShown(*m_effectButtons[kColorCycleEffect], m_zone == 1 ? 0 : 1);
    const LumoEffectPanelLayoutPlan plan =
        MultiColorEffectPanelLayout(m_zone, m_effectType, support, g_nLangIndexUI, sevenColor);
    if (plan.placeGroups) ApplyLayoutPlan(plan);
    PlaceAppliedMarker();
}
