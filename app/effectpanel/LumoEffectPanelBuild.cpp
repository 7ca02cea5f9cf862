// The effect panel's children: construction, building, grouping and layout.
#include "app/effectpanel/LumoEffectPanel.h"

#include "backend/device/RgbKeyboard.h"
#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/drawing/D2DModule.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/language/LanguageLayout.h"
#include "ui/framework/scale/Scale.h"

namespace {

constexpr Gdiplus::ARGB kTitleColor = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kWarningGrey = 0xFFC1C1C1;
const wchar_t kTitlePrefix[] = L"[ ";
const wchar_t kTitleSuffix[] = L" ]";

// Rectangles at 100 %: x, y, width, height.
const Control::Thickness kWarningTextRect{0, 0, 250, 64};
const Control::Thickness kWarningMarkRect{-15, 2, 20, 32};
const Control::Thickness kColorTitleRect{0, 0, 110, 20};
const Control::Thickness kOtherColorTitleRect{0, 80, 110, 20};
const Control::Thickness kColorButton1Rect{20, 25, 37, 35};
const Control::Thickness kColorButton2Rect{90, 25, 37, 35};
const Control::Thickness kAppliedMarkerRect{20, 0, 12, 12};
const Control::Thickness kEffectsTitleRect{0, 0, 100, 20};
constexpr int kEffectButtonX = 20, kEffectButtonTop = 25, kEffectButtonPitch = 32;
constexpr int kEffectButtonWidth = 150, kWideEffectButtonWidth = 170, kEffectButtonHeight = 15;
const Control::Thickness kTempoTitleRect{0, 0, 100, 20};
constexpr int kTempoButtonX = 10, kTempoButtonWidth = 100, kOptionButtonHeight = 15;
const int kTempoButtonY[LumoEffectPanel::kTempoButtonCount] = {25, 57, 89};
const Control::Thickness kDirectionTitleRect{0, 0, 100, 20};
const int kDirectionButtonY[LumoEffectPanel::kDirectionButtonCount] = {25, 57};
const Control::Thickness kMusicTitleRect{0, 0, 100, 20};
constexpr int kMusicButtonX = 10, kMusicButtonTop = 25, kMusicButtonPitch = 27, kMusicButtonWidth = 120;
const Control::Thickness kTemperatureBarRect{0, 0, 263, 10};
const Control::Thickness kLowLabelRect{27, 32, 100, 30};
const Control::Thickness kHighLabelRect{173, 32, 100, 30};
const Control::Thickness kLowBoxRect{27, 64, 60, 30};
const Control::Thickness kHighBoxRect{173, 64, 60, 30};
const Control::Thickness kRandomBoxRect{0, 0, 110, 15};
constexpr POINT kEffectsAt = {20, 15};
constexpr int kSeparatorYWithoutSupport = 136;

const wchar_t* const kEffectKeys[LumoEffectPanel::kEffectButtonCount] = {
    L"IDS_EFF_STATIC", L"IDS_EFF_BREATH", L"IDS_EFF_COLORCYCLE", L"IDS_EFF_RAINBOW",
    L"IDS_EFF_STROBING", L"IDS_EFF_MUSIC", L"IDS_EFF_TEMPERATURE"};
const wchar_t* const kTempoKeys[LumoEffectPanel::kTempoButtonCount] = {L"IDS_INFO_SLOW", L"IDS_INFO_MEDIUM",
                                                                       L"IDS_INFO_FAST"};
const wchar_t* const kMusicKeys[LumoEffectPanel::kMusicButtonCount] = {
    L"IDS_INFO_MUSIC_TYPE0", L"IDS_INFO_MUSIC_TYPE1", L"IDS_INFO_MUSIC_TYPE2", L"IDS_INFO_MUSIC_TYPE3",
    L"IDS_INFO_MUSIC_TYPE4", L"IDS_INFO_MUSIC_TYPE5", L"IDS_INFO_MUSIC_TYPE6", L"IDS_INFO_MUSIC_TYPE7"};

Control::Thickness Rect(int x, int y, int width, int height)
{
    return Control::Thickness(x, y, width, height);
}

}  // namespace

LumoEffectPanel::LumoEffectPanel()
    : EffectType([this] { return static_cast<::EffectType>(m_effectType); },
                 [this](const ::EffectType& value) {
                     if (static_cast<int32_t>(value) != m_effectType) SetEffectType(static_cast<int32_t>(value));
                 }),
      Profile([this] { return static_cast<::Profile>(m_profile); },
              [this](const ::Profile& value) {
                  if (static_cast<int32_t>(value) != m_profile) SetProfile(static_cast<int32_t>(value));
              }),
      Zone([this] { return static_cast<::Zone>(m_zone); },
           [this](const ::Zone& value) {
               if (static_cast<int32_t>(value) != m_zone) SetZone(static_cast<int32_t>(value), m_profile);
           }),
      Color1([this] { return m_colorButton1.Color.Get(); },
             [this](const Gdiplus::Color& value) {
                 if (value.GetValue() != m_colorButton1.Color.Get().GetValue()) m_colorButton1.Color = value;
             }),
      Color2([this] { return m_colorButton2.Color.Get(); },
             [this](const Gdiplus::Color& value) {
                 if (value.GetValue() != m_colorButton2.Color.Get().GetValue()) m_colorButton2.Color = value;
             }),
      Tempo([this] { return static_cast<::Tempo>(m_tempo); },
            [this](const ::Tempo& value) {
                const int32_t index = static_cast<int32_t>(value);
                if (index == m_tempo) return;
                m_tempo = index >= 0 && index < kTempoButtonCount ? index : -1;
                CheckOnly(m_tempoButtons, kTempoButtonCount, m_tempo);
            }),
      Direction([this] { return static_cast<::Direction>(m_direction); },
                [this](const ::Direction& value) {
                    const int32_t index = static_cast<int32_t>(value);
                    if (index == m_direction) return;
                    m_direction = index >= 0 && index < kDirectionButtonCount ? index : -1;
                    CheckOnly(m_directionButtons, kDirectionButtonCount, m_direction);
                }),
      Music([this] { return static_cast<::Music>(m_music); },
            [this](const ::Music& value) {
                const int32_t index = static_cast<int32_t>(value);
                if (index == m_music) return;
                m_music = index >= 0 && index < kMusicButtonCount ? index : -1;
                CheckOnly(m_musicButtons, kMusicButtonCount, m_music);
            }),
      m_warningText(kWarningGrey, L"IDS_EFF_WARNING"),
      m_warningMark(kWarningGrey, L"\u00A1\u00B4"),
      m_colorTitle(kTitleColor, L"IDS_INFO_COLOR", kTitlePrefix, kTitleSuffix),
      m_otherColorTitle(kTitleColor, L"IDS_INFO_OTHERCOLOR", kTitlePrefix, kTitleSuffix),
      m_effectsTitle(kTitleColor, L"IDS_EFF_EFFECTS", kTitlePrefix, kTitleSuffix),
      m_tempoTitle(kTitleColor, L"IDS_INFO_TEMPO", kTitlePrefix, kTitleSuffix),
      m_directionTitle(kTitleColor, L"IDS_INFO_DIRECTION", kTitlePrefix, kTitleSuffix),
      m_musicTitle(kTitleColor, L"IDS_INFO_MUSIC", kTitlePrefix, kTitleSuffix),
      m_lowLabel(kTitleColor, L"IDS_INFO_TEMP_L"),
      m_highLabel(kTitleColor, L"IDS_INFO_TEMP_H"),
      m_randomBox(L"IDS_INFO_RANDOM")
{
    for (int i = 0; i < kEffectButtonCount; ++i)
        m_effectButtons[i] = std::make_unique<OptionButton>(kEffectKeys[i], L"Effect", L"", L"", L"");
    for (int i = 0; i < kTempoButtonCount; ++i)
        m_tempoButtons[i] = std::make_unique<OptionButton>(kTempoKeys[i], L"Tempo", L"", L"", L"");
    m_directionButtons[0] = std::make_unique<OptionButton>(L"", L"Direction", L"ARROR_RIGHT_NORMAL",
                                                           L"ARROR_RIGHT_NORMAL", L"ARROR_RIGHT_SELECT");
    m_directionButtons[1] = std::make_unique<OptionButton>(L"", L"Direction", L"ARROR_LEFT_NORMAL",
                                                           L"ARROR_LEFT_NORMAL", L"ARROR_LEFT_SELECT");
    for (int i = 0; i < kMusicButtonCount; ++i)
        m_musicButtons[i] = std::make_unique<OptionButton>(kMusicKeys[i], L"Music", L"", L"", L"");
    // The mark's characters are drawn as they are, not looked up.
    m_warningMark.UseTextFormatter = 0;

    m_effectsGroup.push_back(&m_effectsTitle);
    for (auto& button : m_effectButtons) m_effectsGroup.push_back(button.get());
    m_tempoGroup.push_back(&m_tempoTitle);
    for (auto& button : m_tempoButtons) m_tempoGroup.push_back(button.get());
    m_directionGroup.push_back(&m_directionTitle);
    for (auto& button : m_directionButtons) m_directionGroup.push_back(button.get());
    m_musicGroup.push_back(&m_musicTitle);
    for (auto& button : m_musicButtons) m_musicGroup.push_back(button.get());
    m_warningGroup = {&m_warningText, &m_warningMark};
    m_temperatureGroup = {&m_temperatureBar, &m_lowLabel, &m_highLabel, &m_lowBox, &m_highBox};
    m_randomGroup = {&m_randomBox};
}

LumoEffectPanel::~LumoEffectPanel()
{
    // The pictures only borrow their DCs.
    m_temperatureBar.SetPictureDC(nullptr);
    m_appliedMarker.SetPictureDC(nullptr);
    if (m_bD2DClient) D2DRemoveClient(m_hWnd);
}

int LumoEffectPanel::Scaled(int value)
{
    return static_cast<int>(value * g_fUIScale + 0.5f);
}

bool LumoEffectPanel::SupportFlag() const
{
    return g_dwSupport != 0;
}

DWORD LumoEffectPanel::AdjustStyle(DWORD style)
{
    // The panel's painting never covers its children, so an effect change
    // only draws what moved or changed.
    return style | WS_CLIPCHILDREN;
}

DWORD LumoEffectPanel::AdjustExStyle(DWORD exStyle)
{
    return ChildLayeredExStyle(exStyle | WS_EX_LAYERED);
}

void LumoEffectPanel::BuildChild(Control& child, Control::Thickness rect, ChildKind kind)
{
    ScaleThickness(rect);
    if (auto* deferred = dynamic_cast<LumoEffectPanelDeferredRender*>(&child)) deferred->JoinRenderBatches(this);
    AddChild(&child, rect.left, rect.top, rect.right, rect.bottom);
    if (kind == ChildKind::Plain) return;
    if (kind == ChildKind::Swatch) {
        child.BackgroundDC = RenderDC.Get();
        return;
    }
    child.IsLayered = 0;
    child.BackgroundDC = RenderDC.Get();
    if (kind == ChildKind::Title) child.IsHitTestVisible = 1;
}

int LumoEffectPanel::OnCreated()
{
    if (!Control::OnCreated()) return 0;
    // The render that follows creation draws every child once.
    const RenderBatch batch(*this, false);
    IsLayered = 0;
    const bool support = SupportFlag();

    BackgroundImage = std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(L"EFFECT_INFO_BG"));
    m_pSeparatorImage = std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(L"LINE"));
    if (!support) m_separatorAt.y = kSeparatorYWithoutSupport;
    m_scaledSeparatorAt = {ScaleByDpi(m_separatorAt.x), ScaleByDpi(m_separatorAt.y)};

    BuildChild(m_effectsTitle, kEffectsTitleRect, ChildKind::Title);
    BuildChild(m_appliedMarker, kAppliedMarkerRect, ChildKind::Plain);
    // Drawn over the panel's image where children are not layered.
    if (!UseLayeredChildWindows()) m_appliedMarker.BackgroundDC = RenderDC.Get();
    {
        Gdiplus::Bitmap* icon = nullptr;
        HDC dc = nullptr;
        int width = 0, height = 0;
        if (LoadSkinImage(&icon, ::GetModuleHandleW(nullptr), L"APPLY_ICON") && icon) {
            if (SkinBitmapToMemoryDC(icon, &width, &height, &dc, g_fImageScale)) m_appliedMarkerPicture.Reset(dc);
            delete icon;
        }
        m_appliedMarker.SetPictureDC(m_appliedMarkerPicture.Get());
    }

    Control::Thickness directionTitle = kDirectionTitleRect;
    Control::Thickness colorTitle = kColorTitleRect, otherColorTitle = kOtherColorTitleRect;
    Control::Thickness tempoTitle = kTempoTitleRect;
    Control::Thickness tempoButtons[kTempoButtonCount];
    for (int i = 0; i < kTempoButtonCount; ++i)
        tempoButtons[i] = Rect(kTempoButtonX, kTempoButtonY[i], kTempoButtonWidth, kOptionButtonHeight);
    ApplyLanguageWidth(directionTitle.right);
    ApplyLanguageWidths2(colorTitle.right, otherColorTitle.right);
    ApplyLanguageWidths4(tempoTitle.right, tempoButtons[0].right, tempoButtons[1].right, tempoButtons[2].right);

    int slot = 0;
    for (int effect = 0; effect < kEffectButtonCount; ++effect) {
        if (EffectButtonSlot(effect, support) < 0) continue;
        OptionButton& button = *m_effectButtons[effect];
        const int width = slot == kEffectButtonCount - 1 ? kWideEffectButtonWidth : kEffectButtonWidth;
        BuildChild(button, Rect(kEffectButtonX, kEffectButtonTop + kEffectButtonPitch * slot, width,
                                kEffectButtonHeight),
                   ChildKind::Option);
        button.Tag = effect;
        button.Checked.Subscribe([this](void* sender, ToggleButton::CheckedEventArgs& args) {
            OnEffectChecked(sender, args);
        });
        ++slot;
    }
    LayoutEffects(1, Scaled(kEffectsAt.x), Scaled(kEffectsAt.y));

    BuildChild(m_colorTitle, colorTitle, ChildKind::Title);
    BuildChild(m_otherColorTitle, otherColorTitle, ChildKind::Title);
    BuildChild(m_colorButton1, kColorButton1Rect, ChildKind::Swatch);
    m_colorButton1.Tag = kValueColor1;
    BuildChild(m_colorButton2, kColorButton2Rect, ChildKind::Swatch);
    m_colorButton2.Tag = kValueColor2;
    SubscribeColorChanged(m_colorButton1);
    SubscribeColorChanged(m_colorButton2);

    BuildChild(m_tempoTitle, tempoTitle, ChildKind::Title);
    for (int i = 0; i < kTempoButtonCount; ++i) {
        BuildChild(*m_tempoButtons[i], tempoButtons[i], ChildKind::Option);
        m_tempoButtons[i]->Tag = i;
        m_tempoButtons[i]->Checked.Subscribe(
            [this](void* sender, ToggleButton::CheckedEventArgs& args) { OnTempoChecked(sender, args); });
    }
    if (!support) return 1;

    if (IsMultiColor()) BuildChild(m_directionTitle, directionTitle, ChildKind::Title);
    BuildChild(m_musicTitle, kMusicTitleRect, ChildKind::Title);
    if (IsMultiColor()) {
        for (int i = 0; i < kDirectionButtonCount; ++i) {
            BuildChild(*m_directionButtons[i], Rect(kTempoButtonX, kDirectionButtonY[i], kTempoButtonWidth,
                                                    kOptionButtonHeight),
                       ChildKind::Option);
            m_directionButtons[i]->Tag = i;
            m_directionButtons[i]->Checked.Subscribe(
                [this](void* sender, ToggleButton::CheckedEventArgs& args) { OnDirectionChecked(sender, args); });
        }
    }
    for (int i = 0; i < kMusicButtonCount; ++i) {
        BuildChild(*m_musicButtons[i], Rect(kMusicButtonX, kMusicButtonTop + kMusicButtonPitch * i, kMusicButtonWidth,
                                            kOptionButtonHeight),
                   ChildKind::Option);
        m_musicButtons[i]->Tag = i;
        m_musicButtons[i]->Checked.Subscribe(
            [this](void* sender, ToggleButton::CheckedEventArgs& args) { OnMusicChecked(sender, args); });
    }

    m_warningText.Foreground = Control::Brush(new Gdiplus::SolidBrush(Gdiplus::Color(kWarningGrey)));
    m_warningMark.Foreground = Control::Brush(new Gdiplus::SolidBrush(Gdiplus::Color(kWarningGrey)));
    BuildChild(m_warningText, kWarningTextRect, ChildKind::Title);
    BuildChild(m_warningMark, kWarningMarkRect, ChildKind::Title);

    BuildChild(m_temperatureBar, kTemperatureBarRect, ChildKind::Plain);
    BuildChild(m_highLabel, kHighLabelRect, ChildKind::Option);
    BuildChild(m_lowLabel, kLowLabelRect, ChildKind::Option);
    BuildChild(m_highBox, kHighBoxRect, ChildKind::Plain);
    BuildChild(m_lowBox, kLowBoxRect, ChildKind::Plain);
    for (TemperatureBox* box : {&m_highBox, &m_lowBox})
        box->TextChanged.Subscribe(
            [this](void* sender, TextChangedEventArgs& args) { OnTemperatureTextChanged(sender, args); });

    BuildChild(m_randomBox, kRandomBoxRect, ChildKind::Option);
    m_randomBox.Checked.Subscribe(
        [this](void* sender, ToggleButton::CheckedEventArgs& args) { OnRandomChanged(sender, args); });
    m_randomBox.Unchecked.Subscribe(
        [this](void* sender, ToggleButton::CheckedEventArgs& args) { OnRandomChanged(sender, args); });
    return 1;
}

void LumoEffectPanel::PlaceGroup(const std::vector<Control*>& group, int visible, int x, int y)
{
    if (group.empty()) return;
    if (visible) {
        const int dx = x - group.front()->X.Get();
        const int dy = y - group.front()->Y.Get();
        for (Control* control : group) MoveChild(*control, dx, dy);
    }
    for (Control* control : group) SetShown(*control, visible);
}

void LumoEffectPanel::LayoutEffects(int visible, int x, int y)
{
    PlaceGroup(m_effectsGroup, visible, x, y);
}

void LumoEffectPanel::LayoutTempo(int visible, int x, int y)
{
    PlaceGroup(m_tempoGroup, visible, x, y);
}

void LumoEffectPanel::LayoutDirection(int visible, int x, int y)
{
    PlaceGroup(m_directionGroup, visible, x, y);
}

void LumoEffectPanel::LayoutMusic(int visible, int x, int y)
{
    PlaceGroup(m_musicGroup, visible, x, y);
}

void LumoEffectPanel::LayoutWarning(int visible, int x, int y)
{
    PlaceGroup(m_warningGroup, visible, x, y);
}

void LumoEffectPanel::LayoutTemperature(int visible, int x, int y)
{
    PlaceGroup(m_temperatureGroup, visible, x, y);
}

void LumoEffectPanel::LayoutRandom(int visible, int x, int y)
{
    PlaceGroup(m_randomGroup, visible, x, y);
}

void LumoEffectPanel::LayoutColorRow(int visible, int x, int y)
{
    if (visible > 0) {
        const int dx = x - m_colorTitle.X.Get();
        const int dy = y - m_colorTitle.Y.Get();
        for (Control* control : {static_cast<Control*>(&m_colorTitle), static_cast<Control*>(&m_otherColorTitle),
                                 static_cast<Control*>(&m_colorButton1), static_cast<Control*>(&m_colorButton2)})
            MoveChild(*control, dx, dy);
    }
    if (visible == 1 || visible == 0) {
        SetShown(m_colorTitle, visible);
        SetShown(m_colorButton1, visible);
        SetShown(m_colorButton2, 0);
    }
    if (m_colorTitle.Text.Get() != L"IDS_INFO_COLOR") m_colorTitle.Text = L"IDS_INFO_COLOR";
    SetShown(m_otherColorTitle, 0);
}

void LumoEffectPanel::ApplyLayoutPlan(const LumoEffectPanelLayoutPlan& plan)
{
    auto place = [](const LumoEffectPanelGroupPlace& at, auto&& layoutGroup) {
        layoutGroup(at.shown ? 1 : 0, Scaled(at.x), Scaled(at.y));
    };
    LayoutColorRow(plan.colorCount, Scaled(plan.colors.x), Scaled(plan.colors.y));
    place(plan.tempo, [this](int v, int x, int y) { LayoutTempo(v, x, y); });
    place(plan.direction, [this](int v, int x, int y) { LayoutDirection(v, x, y); });
    place(plan.music, [this](int v, int x, int y) { LayoutMusic(v, x, y); });
    place(plan.temperature, [this](int v, int x, int y) { LayoutTemperature(v, x, y); });
    place(plan.random, [this](int v, int x, int y) { LayoutRandom(v, x, y); });
}

void LumoEffectPanel::Layout()
{
    ApplyLayoutPlan(BaseEffectPanelLayout(m_effectType, SupportFlag()));
    PlaceAppliedMarker();
}

void LumoEffectPanel::PlaceAppliedMarker()
{
    const int slot = EffectButtonSlot(m_snapshotEffect, SupportFlag());
    const bool shown = slot >= 0 && m_snapshotProfile == m_profile && m_snapshotZone == m_zone;
    if (shown) PlaceChild(m_appliedMarker, m_appliedMarker.X.Get(), m_effectButtons[m_snapshotEffect]->Y.Get() + Scaled(2));
    SetShown(m_appliedMarker, shown ? 1 : 0);
    RenderMovedChildren();
}

void LumoEffectPanel::Reset()
{
    std::vector<Control*> hidden = m_effectsGroup;
    hidden.insert(hidden.end(), {&m_colorTitle, &m_otherColorTitle, &m_colorButton1, &m_colorButton2});
    hidden.insert(hidden.end(), m_tempoGroup.begin(), m_tempoGroup.end());
    hidden.insert(hidden.end(), m_directionGroup.begin(), m_directionGroup.end());
    hidden.insert(hidden.end(), m_musicGroup.begin(), m_musicGroup.end());
    for (Control* control : hidden) control->IsVisible = 0;
}
