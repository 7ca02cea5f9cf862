#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/effectpanel/LumoEffectPanelChild.h"
#include "app/effectpanel/LumoEffectPanelLayout.h"
#include "app/effectpanel/LumoEffectPanelSwatch.h"
#include "backend/profiles/EffectModel.h"
#include "platform/win/UniqueHandle.h"
#include "ui/colorpicker/LumoColorPickerDlg.h"
#include "ui/framework/controls/LumoCheckBox.h"
#include "ui/framework/controls/LumoColorButton.h"
#include "ui/framework/controls/LumoNumberTextBox.h"
#include "ui/framework/controls/LumoPic.h"
#include "ui/framework/controls/LumoRadioButton.h"
#include "ui/framework/controls/LumoTextBlock.h"
#include "ui/framework/core/Panel.h"
#include "ui/framework/drawing/GdiHelpers.h"

// A memory DC that owns its selected bitmap (DeleteMemoryDC releases both).
struct LumoEffectPanelMemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeleteMemoryDC(h); }
};
using LumoEffectPanelMemoryDc = platform::UniqueResource<LumoEffectPanelMemoryDcTraits>;

// The effect option panel of the effects tab: one radio button per offered
// effect and the options of the effect shown. Every edit goes at once into
// g_CustomProfiles and is posted to the top-level window. UI thread only.
class LumoEffectPanel : public Panel, private LumoEffectPanelRenderBatches {
public:
    // What CommitValue reports as WM_EFFECTVALUE_CHANGED's wParam.
    enum ValueKind : int {
        kValueColor1 = 0,
        kValueColor2 = 1,
        kValueTempo = 2,
        kValueColor3 = 3,
        kValueColor4 = 4,
        kValueDirection = 5,
        kValueMusic = 6,
        kValueTemperature = 7,
        kValueRandom = 8,
        kValueColor5 = 9,
        kValueColor6 = 10,
        kValueColor7 = 11,
    };

    static constexpr int kEffectButtonCount = 7;
    static constexpr int kTempoButtonCount = 3;
    static constexpr int kDirectionButtonCount = 2;
    static constexpr int kMusicButtonCount = 8;

    LumoEffectPanel();
    ~LumoEffectPanel() override;

    property_override<::EffectType> EffectType;
    property_override<::Profile> Profile;
    property_override<::Zone> Zone;
    property_override<Gdiplus::Color> Color1;
    property_override<Gdiplus::Color> Color2;
    property_override<::Tempo> Tempo;
    property_override<::Direction> Direction;
    property_override<::Music> Music;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;  // 3

    // The selection last applied: the marker shows beside its effect.
    void SnapshotSelection();
    void SetSnapshot(int32_t profile, int32_t zone, int32_t effect);
    // The effect index the last snapshot recorded.
    int32_t SnapshotEffect() const { return m_snapshotEffect; }
    // The popup's colour: goes to the colour button being edited.
    void OnPickerColor(void* sender, const Gdiplus::Color& color);

    virtual void BindEvents(LumoColorPickerDlg* popup);         // 44
    virtual void Reset();                                       // 45
    virtual void SetProfile(int32_t profile);                   // 46
    virtual void SetZone(int32_t zone, int32_t profile);        // 47
    virtual void SetEffectType(int32_t effect);                 // 48
    virtual void CommitValue(int what);                         // 49

protected:
    virtual void OnColorButtonClick(void* sender, ButtonClickEventArgs& args);       // 50
    virtual void OnColorChanged(void* sender, const Gdiplus::Color& color);           // 51
    virtual void OnEffectChecked(void* sender, ToggleButton::CheckedEventArgs& args);  // 52
    virtual void OnTempoChecked(void* sender, ToggleButton::CheckedEventArgs& args);   // 53
    virtual void OnDirectionChecked(void* sender, ToggleButton::CheckedEventArgs& args);  // 54
    virtual void OnMusicChecked(void* sender, ToggleButton::CheckedEventArgs& args);   // 55
    virtual void OnTemperatureTextChanged(void* sender, TextChangedEventArgs& args);   // 56
    virtual void OnRandomChanged(void* sender, ToggleButton::CheckedEventArgs& args);  // 57

public:
    virtual void Layout();                                  // 58
    virtual void LayoutEffects(int visible, int x, int y);  // 59
    virtual void LayoutTempo(int visible, int x, int y);    // 60
    virtual void LayoutDirection(int visible, int x, int y);  // 61
    virtual void LayoutMusic(int visible, int x, int y);    // 62
    virtual void LayoutWarning(int visible, int x, int y);  // 63
    virtual void LayoutTemperature(int visible, int x, int y);  // 64
    virtual void LayoutRandom(int visible, int x, int y);   // 65
    virtual EffectData* CurrentEffect();                    // 66
    virtual void LoadFromEffect(EffectData* record);        // 67
    virtual void SaveToEffect(EffectData* record);          // 68
    virtual int IsMultiColor() const;                       // 69

    // For the main window and tests: the children.
    using Title = LumoEffectPanelChild<LumoTextBlock<9, 1, 100>>;
    using Caption = LumoEffectPanelChild<LumoTextBlock<9, 0, 100>>;
    using TemperatureLabel = LumoEffectPanelChild<LumoTextBlock<9, 0, 75>>;
    using OptionButton = LumoEffectPanelChild<LumoRadioButton>;
    using Swatch = LumoEffectPanelSwatch;
    using TemperatureBox = LumoEffectPanelChild<LumoNumberTemperatureTextBox>;
    using RandomBox = LumoEffectPanelChild<LumoCheckBox>;

    Caption m_warningText;
    Caption m_warningMark;
    Title m_colorTitle;
    Title m_otherColorTitle;
    Swatch m_colorButton1;
    Swatch m_colorButton2;
    LumoPic m_appliedMarker;
    Title m_effectsTitle;
    std::unique_ptr<OptionButton> m_effectButtons[kEffectButtonCount];
    Title m_tempoTitle;
    std::unique_ptr<OptionButton> m_tempoButtons[kTempoButtonCount];
    Title m_directionTitle;
    std::unique_ptr<OptionButton> m_directionButtons[kDirectionButtonCount];
    Title m_musicTitle;
    std::unique_ptr<OptionButton> m_musicButtons[kMusicButtonCount];
    LumoPic m_temperatureBar;
    TemperatureLabel m_lowLabel;
    TemperatureLabel m_highLabel;
    TemperatureBox m_lowBox;
    TemperatureBox m_highBox;
    RandomBox m_randomBox;

    // The separator's place at 100 % (before OnCreated scales it).
    POINT SeparatorPosition() const { return m_separatorAt; }
    LumoColorPickerDlg* ColorPopup() const { return m_pColorPopup; }

protected:
    DWORD AdjustStyle(DWORD style) override;                     // 37
    DWORD AdjustExStyle(DWORD exStyle) override;                 // 38
    int OnCreated() override;                                    // 39
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;  // 40
    void PaintContent(Gdiplus::Graphics& graphics) override;     // 41

    // The colour group's row: 1 shows the title and colour button 1, 0 hides it.
    virtual void LayoutColorRow(int visible, int x, int y);

    // Kinds of child for BuildChild: how each is tied to the panel's image.
    enum class ChildKind { Title, Option, Swatch, Plain };
    // Rectangles are x, y, width, height at 100 %; scaled here.
    void BuildChild(Control& child, Control::Thickness rect, ChildKind kind);
    // Moves a group by the anchor's (its first control's) offset to (x, y)
    // when visible, then shows or hides every member.
    void PlaceGroup(const std::vector<Control*>& group, int visible, int x, int y);
    // Moves a child; it is drawn again over the panel's image at its new
    // place when the layout is done (RenderMovedChildren).
    void MoveChild(Control& child, int dx, int dy);
    void PlaceChild(Control& child, int x, int y);
    void SetShown(Control& child, int shown);
    static bool IsShownNow(const Control& child);
    // Renders the shown children that moved: the panel's own image never
    // changes after it is built, so nothing else needs drawing again.
    void RenderMovedChildren();
    // While one lives, the children's renders wait; at its end each child
    // that changed or moved is drawn once (hidden ones when next shown).
    class RenderBatch {
    public:
        // With drawAtEnd false the caller draws everything itself afterwards
        // (the render that follows creation).
        explicit RenderBatch(LumoEffectPanel& panel, bool drawAtEnd = true) : m_panel(panel), m_bDrawAtEnd(drawAtEnd)
        {
            m_panel.BeginRenderBatch();
        }
        ~RenderBatch() { m_bDrawAtEnd ? m_panel.EndRenderBatch() : m_panel.LeaveRenderBatch(); }
        RenderBatch(const RenderBatch&) = delete;
        RenderBatch& operator=(const RenderBatch&) = delete;

    private:
        LumoEffectPanel& m_panel;
        bool m_bDrawAtEnd;
    };
    void BeginRenderBatch() override;
    void EndRenderBatch() override;
    void LeaveRenderBatch();
    bool RenderBatchOpen() const override { return m_renderBatches > 0; }
    void RenderIfPending(Control& child);
    void ApplyLayoutPlan(const LumoEffectPanelLayoutPlan& plan);
    void PlaceAppliedMarker();

    // Checks the button at index, or none when index is outside the group or
    // its button was never built.
    static void CheckOnly(std::unique_ptr<OptionButton>* buttons, int count, int index);
    void CheckEffectButton(int32_t effect);
    // The profile edited, or null for a profile outside the table.
    CustomProfile* CurrentProfile();
    // The zones whose records are a zone-mode list (WASD, QWER).
    static bool IsZoneList(int32_t zone);
    // Which of the record's fields an effect shows (and so may change).
    static bool ShowsColors(int32_t effect);
    static bool ShowsTempo(int32_t effect);
    static bool ShowsRandom(int32_t effect);
    // The multi-colour panels' swatches past the first two.
    static bool ShowsZoneColors(int32_t effect);
    // Writes a swatch's colour as colour n of the record unless the record
    // already shows it.
    static void SaveColor(const Gdiplus::Color& shown, EffectData& record, int colorIndex);
    // effect when it indexes a list of listLength records, else -1.
    static int32_t EffectOrNone(int32_t effect, int listLength);
    // Loads the record, lays the panel out and posts the new effect type.
    void ShowNewEffectType();
    void PostToTopLevel(UINT message, WPARAM wParam, LPARAM lParam);
    static COLORREF ColorRefOf(const LumoColorButtonBase& button);
    static Gdiplus::Color OpaqueColor(int32_t r, int32_t g, int32_t b);
    void SetColorControlsEnabled(bool enabled);
    void DrawTemperatureBar(int low, int high);
    void SubscribeColorButtonClick(LumoColorButtonBase& button);
    void SubscribeColorChanged(LumoColorButtonBase& button);
    // r(v) of the layout tables.
    static int Scaled(int value);
    bool SupportFlag() const;

    // The single-colour panel serves the keyboard of model type 1.
    static constexpr unsigned kModelType = 1;

    int32_t m_effectType = -1;
    int32_t m_profile = -1;
    int32_t m_zone = 0;
    int32_t m_tempo = -1;
    int32_t m_direction = -1;
    int32_t m_music = -1;
    int32_t m_loading = 0;
    int32_t m_switching = 0;
    int32_t m_snapshotProfile = 0;
    int32_t m_snapshotZone = 0;
    int32_t m_snapshotEffect = 0;
    std::shared_ptr<Gdiplus::Bitmap> m_pSeparatorImage;
    POINT m_separatorAt = {12, 261};
    POINT m_scaledSeparatorAt = {12, 261};
    LumoColorPickerDlg* m_pColorPopup = nullptr;
    LumoColorButtonBase* m_pEditedColorButton = nullptr;
    int32_t m_lastLow = 0;
    int32_t m_lastHigh = 0;

    std::vector<Control*> m_movedChildren;
    int m_renderBatches = 0;
    std::vector<Control*> m_effectsGroup;
    std::vector<Control*> m_tempoGroup;
    std::vector<Control*> m_directionGroup;
    std::vector<Control*> m_musicGroup;
    std::vector<Control*> m_warningGroup;
    std::vector<Control*> m_temperatureGroup;
    std::vector<Control*> m_randomGroup;

private:
    // Lent to the two pictures, which are told before either goes.
    LumoEffectPanelMemoryDc m_temperaturePicture;
    LumoEffectPanelMemoryDc m_appliedMarkerPicture;
    // The background image as drawn at the panel's size: GDI+ draws it once.
    CMemoryDC m_backgroundCache;
    std::shared_ptr<Gdiplus::Bitmap> m_pCachedBackground;
    bool m_bD2DClient = false;
    // Expires with the panel: the popup's handler, which cannot be taken
    // back, checks it.
    std::shared_ptr<int> m_pLifeToken = std::make_shared<int>(0);
};
