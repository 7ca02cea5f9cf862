#include "app/effectpanel/LumoEffectPanelSevenColor.h"

namespace {

constexpr Gdiplus::ARGB kLabelColor = 0xFFFFFFFF;
const wchar_t* const kSecondRowTexts[LumoEffectPanelSevenColor::kSecondRowCount] = {L"5", L"L", L"R"};
constexpr int kLabelPitch = 70, kLabelY = 85, kLabelWidth = 10, kLabelHeight = 20;
const Control::Thickness kColorButton5Rect{20, 75, 37, 35};
const Control::Thickness kColorButton6Rect{90, 75, 37, 35};
const Control::Thickness kColorButton7Rect{160, 75, 37, 35};

}  // namespace

LumoEffectPanelSevenColor::LumoEffectPanelSevenColor()
    : Color5([this] { return m_colorButton5.Color.Get(); },
             [this](const Gdiplus::Color& value) { SetSwatchColor(m_colorButton5, value, Color5, this); }),
      Color6([this] { return m_colorButton6.Color.Get(); },
             [this](const Gdiplus::Color& value) { SetSwatchColor(m_colorButton6, value, Color6, this); }),
      Color7([this] { return m_colorButton7.Color.Get(); },
             [this](const Gdiplus::Color& value) { SetSwatchColor(m_colorButton7, value, Color7, this); }),
      m_secondRowLabels{{kLabelColor, kSecondRowTexts[0]}, {kLabelColor, kSecondRowTexts[1]},
                        {kLabelColor, kSecondRowTexts[2]}}
{
    for (Caption& label : m_secondRowLabels) label.UseTextFormatter = 0;
}

int LumoEffectPanelSevenColor::OnCreated()
{
    const RenderBatch batch(*this, false);
    if (!LumoEffectPanelFourColor::OnCreated()) return 0;
    for (int i = 0; i < kSecondRowCount; ++i)
        BuildChild(m_secondRowLabels[i], Control::Thickness(kLabelPitch * i, kLabelY, kLabelWidth, kLabelHeight),
                   ChildKind::Title);
    BuildChild(m_colorButton5, kColorButton5Rect, ChildKind::Swatch);
    m_colorButton5.Tag = kValueColor5;
    BuildChild(m_colorButton6, kColorButton6Rect, ChildKind::Swatch);
    m_colorButton6.Tag = kValueColor6;
    BuildChild(m_colorButton7, kColorButton7Rect, ChildKind::Swatch);
    m_colorButton7.Tag = kValueColor7;
    for (Swatch* swatch : {&m_colorButton5, &m_colorButton6, &m_colorButton7}) SubscribeColorChanged(*swatch);
    return 1;
}

void LumoEffectPanelSevenColor::BindEvents(LumoColorPickerDlg* popup)
{
    LumoEffectPanelFourColor::BindEvents(popup);
    for (Swatch* swatch : {&m_colorButton5, &m_colorButton6, &m_colorButton7}) SubscribeColorButtonClick(*swatch);
}

void LumoEffectPanelSevenColor::Reset()
{
    LumoEffectPanelFourColor::Reset();
    for (Swatch* swatch : {&m_colorButton5, &m_colorButton6, &m_colorButton7}) swatch->IsVisible = 0;
}

bool LumoEffectPanelSevenColor::IsSwatchTag(int tag) const
{
    return LumoEffectPanelFourColor::IsSwatchTag(tag) || tag == kValueColor5 || tag == kValueColor6 ||
           tag == kValueColor7;
}

LumoColorButtonBase* LumoEffectPanelSevenColor::SwatchForValue(int what)
{
    switch (what) {
    case kValueColor5:
        return &m_colorButton5;
    case kValueColor6:
        return &m_colorButton6;
    case kValueColor7:
        return &m_colorButton7;
    default:
        return LumoEffectPanelFourColor::SwatchForValue(what);
    }
}

void LumoEffectPanelSevenColor::LoadFromEffect(EffectData* record)
{
    LumoEffectPanelFourColor::LoadFromEffect(record);
    if (!record || !ShowsZoneColors(m_effectType)) return;
    m_loading = 1;
    Color5 = OpaqueColor(record->Color5R, record->Color5G, record->Color5B);
    Color6 = OpaqueColor(record->Color6R, record->Color6G, record->Color6B);
    Color7 = OpaqueColor(record->Color7R, record->Color7G, record->Color7B);
    m_loading = 0;
}

void LumoEffectPanelSevenColor::SaveToEffect(EffectData* record)
{
    LumoEffectPanelFourColor::SaveToEffect(record);
    if (!record || !ShowsZoneColors(m_effectType)) return;
    SaveColor(Color5.Get(), *record, 4);
    SaveColor(Color6.Get(), *record, 5);
    SaveColor(Color7.Get(), *record, 6);
}

void LumoEffectPanelSevenColor::LayoutColorRow(int count, int x, int y)
{
    const int dx = x - m_colorTitle.X.Get();
    const int dy = y - m_colorTitle.Y.Get();
    LumoEffectPanelFourColor::LayoutColorRow(count, x, y);
    if (count > 0) {
        for (Swatch* swatch : {&m_colorButton5, &m_colorButton6, &m_colorButton7}) MoveChild(*swatch, dx, dy);
        for (Caption& label : m_secondRowLabels) MoveChild(label, dx, dy);
    }
    const int shown = count == 4 ? 1 : 0;
    for (Swatch* swatch : {&m_colorButton5, &m_colorButton6, &m_colorButton7}) SetShown(*swatch, shown);
    for (Caption& label : m_secondRowLabels) SetShown(label, shown);
}

void LumoEffectPanelSevenColor::Layout()
{
    LayoutFor(true);
}
