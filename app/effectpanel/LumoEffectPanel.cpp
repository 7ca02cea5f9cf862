// The effect panel's model and behaviour: selection, edits into the profile
// table and the messages that announce them.
#include "app/effectpanel/LumoEffectPanel.h"

#include <algorithm>
#include <initializer_list>

#include "app/LumoGlobals.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/scale/Scale.h"

namespace {

constexpr float kColorButtonOpacity = 1.0f;
constexpr float kColorTitleOpacity = 0.75f;
constexpr float kDisabledColorButtonOpacity = 0.5f;
constexpr float kDisabledColorTitleOpacity = 0.375f;
constexpr int kTemperatureBarWidth = 263;
constexpr int kTemperatureBarHeight = 10;

int32_t IsEffectOneOf(int32_t effect, std::initializer_list<int32_t> types)
{
    return std::find(types.begin(), types.end(), effect) != types.end() ? 1 : 0;
}

}  // namespace

LRESULT LumoEffectPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return 0;
    case WM_PANEL_SETPROFILE:
        SetProfile(static_cast<int32_t>(wParam));
        return 0;
    case WM_PANEL_SETZONE:
        SetZone(static_cast<int32_t>(lParam), static_cast<int32_t>(wParam));
        return 0;
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

int LumoEffectPanel::IsMultiColor() const
{
    return 0;
}

CustomProfile* LumoEffectPanel::CurrentProfile()
{
    if (m_profile < 0 || m_profile >= kProfileCount) return nullptr;
    return &g_CustomProfiles[static_cast<size_t>(m_profile)];
}

int32_t LumoEffectPanel::EffectOrNone(int32_t effect, int listLength)
{
    return effect >= 0 && effect < listLength ? effect : -1;
}

void LumoEffectPanel::CheckOnly(std::unique_ptr<OptionButton>* buttons, int count, int index)
{
    OptionButton* chosen = index >= 0 && index < count && buttons[index]->Handle.Get() ? buttons[index].get() : nullptr;
    if (chosen) {
        chosen->IsChecked = 1;  // the radio group unchecks the others
        return;
    }
    for (int i = 0; i < count; ++i) buttons[i]->IsChecked = 0;
}

void LumoEffectPanel::CheckEffectButton(int32_t effect)
{
    m_switching = 1;
    CheckOnly(m_effectButtons, kEffectButtonCount, effect);
    m_switching = 0;
}

void LumoEffectPanel::SetProfile(int32_t profile)
{
    m_profile = profile;
    // With the support flag a profile's number is the zone mode it sends, so
    // the panel edits the record that the keyboard and its picture show.
    if (profile == 0)
        SetZone(0, 0);
    else if (SupportFlag() && (profile == 1 || profile == 2))
        SetZone(profile, profile);
}

void LumoEffectPanel::SetZone(int32_t zone, int32_t)
{
    const RenderBatch batch(*this);
    m_zone = zone;
    CustomProfile* profile = CurrentProfile();
    if (zone == 0 || IsZoneList(zone)) {
        const int32_t* index = profile ? ZoneIndexField(*profile, static_cast<::Zone>(zone), kModelType) : nullptr;
        m_effectType = index ? EffectOrNone(*index, zone == 0 ? kAllZoneEffectCount : kZoneEffectCount) : -1;
        LayoutWarning(0, 0, 0);
        LayoutEffects(1, Scaled(20), Scaled(15));
    } else if (zone == 3) {
        m_effectType = profile ? EffectOrNone(profile->syncIndex, kAllZoneEffectCount) : -1;
    } else {
        m_effectType = -1;
    }
    CheckEffectButton(m_effectType);
    LoadFromEffect(CurrentEffect());
    Layout();
}

void LumoEffectPanel::SetEffectType(int32_t effect)
{
    m_effectType = EffectOrNone(effect, IsZoneList(m_zone) ? kZoneEffectCount : kAllZoneEffectCount);
    if (CustomProfile* profile = CurrentProfile()) {
        if (m_effectType >= 0 && (m_zone == 0 || IsZoneList(m_zone) || m_zone == 3))
            *ZoneIndexField(*profile, static_cast<::Zone>(m_zone), kModelType) = m_effectType;
    }
    ShowNewEffectType();
}

void LumoEffectPanel::ShowNewEffectType()
{
    {
        const RenderBatch batch(*this);
        LoadFromEffect(CurrentEffect());
        Layout();
    }
    PostToTopLevel(WM_EFFECTTYPE_CHANGED, static_cast<WPARAM>(m_zone), static_cast<LPARAM>(m_effectType));
}

bool LumoEffectPanel::IsZoneList(int32_t zone)
{
    return zone == 1 || zone == 2;
}

EffectData* LumoEffectPanel::CurrentEffect()
{
    CustomProfile* profile = CurrentProfile();
    if (!profile || !(m_zone == 0 || IsZoneList(m_zone))) return nullptr;
    const ::Zone zone = static_cast<::Zone>(m_zone);
    int length = 0;
    EffectData* list = ZoneRecordList(*profile, zone, kModelType, length);
    return RecordAt(list, length, *ZoneIndexField(*profile, zone, kModelType));
}

void LumoEffectPanel::PostToTopLevel(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND root = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    if (root) ::PostMessageW(root, message, wParam, lParam);
}

COLORREF LumoEffectPanel::ColorRefOf(const LumoColorButtonBase& button)
{
    const Gdiplus::Color color = button.Color.Get();
    return RGB(color.GetR(), color.GetG(), color.GetB());
}

Gdiplus::Color LumoEffectPanel::OpaqueColor(int32_t r, int32_t g, int32_t b)
{
    auto byte = [](int32_t v) { return static_cast<BYTE>(std::clamp<int32_t>(v, 0, 255)); };
    return Gdiplus::Color(255, byte(r), byte(g), byte(b));
}

void LumoEffectPanel::CommitValue(int what)
{
    if (m_loading) return;
    COLORREF color = 0;
    if (what == kValueColor1) color = ColorRefOf(m_colorButton1);
    else if (what == kValueColor2) color = ColorRefOf(m_colorButton2);
    SaveToEffect(CurrentEffect());
    PostToTopLevel(WM_EFFECTVALUE_CHANGED, static_cast<WPARAM>(what), static_cast<LPARAM>(color));
}

bool LumoEffectPanel::ShowsColors(int32_t effect)
{
    return IsEffectOneOf(effect, {0, 1, 2, 4}) != 0;
}

bool LumoEffectPanel::ShowsTempo(int32_t effect)
{
    return IsEffectOneOf(effect, {1, 2, 3, 4}) != 0;
}

bool LumoEffectPanel::ShowsRandom(int32_t effect)
{
    return IsEffectOneOf(effect, {0, 1, 4}) != 0;
}

bool LumoEffectPanel::ShowsZoneColors(int32_t effect)
{
    return IsEffectOneOf(effect, {0, 1, 4}) != 0;
}

void LumoEffectPanel::SaveColor(const Gdiplus::Color& shown, EffectData& record, int colorIndex)
{
    const RgbTriple stored = EffectColor(record, colorIndex);
    // A stored value the swatch cannot show (past a byte) stays until edited.
    if (shown.GetValue() == OpaqueColor(stored.r, stored.g, stored.b).GetValue()) return;
    SetEffectColor(record, colorIndex, {shown.GetR(), shown.GetG(), shown.GetB()});
}

void LumoEffectPanel::LoadFromEffect(EffectData* record)
{
    if (!record) return;
    m_loading = 1;
    const int32_t effect = m_effectType;
    if (ShowsTempo(effect)) Tempo = TempoFromSpeedType(record->SpeedType);
    if (ShowsColors(effect)) {
        Color1 = OpaqueColor(record->ColorR, record->ColorG, record->ColorB);
        Color2 = OpaqueColor(record->Color2R, record->Color2G, record->Color2B);
    }
    // A value outside a group shows as none, so saving keeps it as it was.
    if (IsMultiColor()) Direction = static_cast<::Direction>(EffectOrNone(record->DirectType, kDirectionButtonCount));
    if (effect == 5) Music = static_cast<::Music>(EffectOrNone(record->MusicType, kMusicButtonCount));
    if (effect == 6) {
        m_lowBox.Value = record->TemperatureL;
        m_highBox.Value = record->TemperatureH;
    }
    if (ShowsRandom(effect)) m_randomBox.IsChecked = record->StrobingRandom ? 1 : 0;
    m_loading = 0;
}

// Only what the effect shows, and only where the control differs from what
// the record shows: a control still holding another effect's value, or one
// that cannot show the stored value, writes nothing.
void LumoEffectPanel::SaveToEffect(EffectData* record)
{
    if (!record) return;
    const int32_t effect = m_effectType;
    if (ShowsColors(effect)) {
        SaveColor(Color1.Get(), *record, 0);
        SaveColor(Color2.Get(), *record, 1);
    }
    if (ShowsTempo(effect) && m_tempo >= 0 && m_tempo < kTempoButtonCount &&
        static_cast<int32_t>(TempoFromSpeedType(record->SpeedType)) != m_tempo)
        record->SpeedType = SpeedTypeFromTempo(static_cast<::Tempo>(m_tempo));
    if (IsMultiColor() && (m_direction == 0 || m_direction == 1)) record->DirectType = m_direction;
    if (effect == 5 && m_music >= 0 && m_music < kMusicButtonCount) record->MusicType = m_music;
    if (effect == 6) {
        // The boxes read -1 until a temperature record was loaded into them.
        if (m_lowBox.Value.Get() >= 0) record->TemperatureL = m_lowBox.Value.Get();
        if (m_highBox.Value.Get() >= 0) record->TemperatureH = m_highBox.Value.Get();
    }
    if (ShowsRandom(effect)) {
        const int32_t checked = m_randomBox.IsChecked.Get() ? 1 : 0;
        if (checked != (record->StrobingRandom ? 1 : 0)) record->StrobingRandom = checked;
    }
}

void LumoEffectPanel::OnColorChanged(void* sender, const Gdiplus::Color&)
{
    const int tag = static_cast<Control*>(sender)->Tag.Get();
    if (tag == kValueColor1 || tag == kValueColor2) CommitValue(tag);
}

void LumoEffectPanel::OnEffectChecked(void* sender, ToggleButton::CheckedEventArgs&)
{
    if (m_switching) return;
    EffectType = static_cast<::EffectType>(static_cast<Control*>(sender)->Tag.Get());
}

void LumoEffectPanel::OnTempoChecked(void* sender, ToggleButton::CheckedEventArgs&)
{
    Tempo = static_cast<::Tempo>(static_cast<Control*>(sender)->Tag.Get());
    CommitValue(kValueTempo);
}

void LumoEffectPanel::OnDirectionChecked(void* sender, ToggleButton::CheckedEventArgs&)
{
    Direction = static_cast<::Direction>(static_cast<Control*>(sender)->Tag.Get());
    CommitValue(kValueDirection);
}

void LumoEffectPanel::OnMusicChecked(void* sender, ToggleButton::CheckedEventArgs&)
{
    Music = static_cast<::Music>(static_cast<Control*>(sender)->Tag.Get());
    CommitValue(kValueMusic);
}

void LumoEffectPanel::OnTemperatureTextChanged(void*, TextChangedEventArgs&)
{
    const int low = LumoNumberTextBox::ParseNumber(m_lowBox.Text.Get()) & 0xFF;
    const int high = LumoNumberTextBox::ParseNumber(m_highBox.Text.Get()) & 0xFF;
    if (low != m_lastLow || high != m_lastHigh) {
        m_lastLow = low;
        m_lastHigh = high;
        // Neither value can be typed past the other.
        m_highBox.Min = low;
        m_lowBox.Max = high;
        m_lowBox.Value = low;
        m_highBox.Value = high;
        DrawTemperatureBar(low, high);
    }
    m_temperatureBar.Render();
}

void LumoEffectPanel::OnRandomChanged(void*, ToggleButton::CheckedEventArgs&)
{
    SetColorControlsEnabled(!m_randomBox.IsChecked.Get());
    CommitValue(kValueRandom);
}

void LumoEffectPanel::DrawTemperatureBar(int low, int high)
{
    float positions[4];
    TemperatureBarStops(low, high, positions);
    if (!m_bD2DClient) m_bD2DClient = D2DAddClient(m_hWnd) != 0;
    HDC picture = nullptr;
    if (D2DDrawLinearGradient(m_hWnd, Scaled(kTemperatureBarWidth), Scaled(kTemperatureBarHeight), positions,
                              kTemperatureBarColors, 4, &picture, nullptr, FALSE, FALSE)) {
        // The picture takes the new DC before the old one goes.
        m_temperatureBar.SetPictureDC(picture);
        m_temperaturePicture.Reset(picture);
    }
    CommitValue(kValueTemperature);
}

void LumoEffectPanel::SetColorControlsEnabled(bool enabled)
{
    // Only these two change: each is drawn once when the batch ends.
    const RenderBatch batch(*this);
    if (enabled) {
        m_colorButton1.IsEnabled = 1;
        m_colorTitle.IsEnabled = 1;
        m_colorButton1.Opacity = kColorButtonOpacity;
        m_colorTitle.Opacity = kColorTitleOpacity;
    } else {
        m_colorButton1.Opacity = kDisabledColorButtonOpacity;
        m_colorTitle.Opacity = kDisabledColorTitleOpacity;
        m_colorButton1.IsEnabled = 0;
        m_colorTitle.IsEnabled = 0;
    }
}

void LumoEffectPanel::SubscribeColorChanged(LumoColorButtonBase& button)
{
    button.ColorChanged.Subscribe([this](void* sender, Gdiplus::Color& color) { OnColorChanged(sender, color); });
}

void LumoEffectPanel::SubscribeColorButtonClick(LumoColorButtonBase& button)
{
    button.Click.Subscribe([this](void* sender, ButtonClickEventArgs& args) { OnColorButtonClick(sender, args); });
}

void LumoEffectPanel::BindEvents(LumoColorPickerDlg* popup)
{
    m_pColorPopup = popup;
    if (popup) {
        // The popup outlives the panel and keeps its handlers.
        const std::weak_ptr<int> alive = m_pLifeToken;
        popup->ColorChanged.Subscribe([this, alive](void* sender, Gdiplus::Color& color) {
            if (!alive.expired()) OnPickerColor(sender, color);
        });
    }
    SubscribeColorButtonClick(m_colorButton1);
    SubscribeColorButtonClick(m_colorButton2);
}

void LumoEffectPanel::OnColorButtonClick(void* sender, ButtonClickEventArgs&)
{
    auto* button = dynamic_cast<LumoColorButtonBase*>(static_cast<Control*>(sender));
    if (!button) return;
    m_pEditedColorButton = button;
    if (!m_pColorPopup || !m_pColorPopup->EnsureCreated()) return;
    m_pColorPopup->Color = button->Color.Get();
    m_pColorPopup->IsVisible = 1;
    ::SetWindowPos(m_pColorPopup->Handle.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void LumoEffectPanel::OnPickerColor(void*, const Gdiplus::Color& color)
{
    if (m_pEditedColorButton) m_pEditedColorButton->Color = color;
}

void LumoEffectPanel::SnapshotSelection()
{
    SetSnapshot(m_profile, m_zone, m_effectType);
}

void LumoEffectPanel::SetSnapshot(int32_t profile, int32_t zone, int32_t effect)
{
    m_snapshotProfile = profile;
    m_snapshotZone = zone;
    m_snapshotEffect = effect;
    const int slot = EffectButtonSlot(effect, SupportFlag());
    if (slot < 0) {
        SetShown(m_appliedMarker, 0);
        return;
    }
    PlaceChild(m_appliedMarker, m_appliedMarker.X.Get(), m_effectButtons[effect]->Y.Get() + Scaled(2));
    SetShown(m_appliedMarker, 1);
    RenderMovedChildren();
}
