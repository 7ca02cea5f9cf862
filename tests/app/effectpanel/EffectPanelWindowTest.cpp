// The effect panels in real windows: their children, where Layout puts them
// for every effect type, indices out of range, the applied marker, the
// random box, the temperature bar, the colour popup and real clicks.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/effectpanel/LumoEffectPanelFourColor.h"
#include "app/effectpanel/LumoEffectPanelSevenColor.h"
#include "tests/app/effectpanel/EffectPanelTestSupport.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/language/Language.h"

using namespace paneltest;

namespace {

constexpr int kHostX = 40, kHostY = 40;

using Named = std::vector<std::pair<const char*, const Control*>>;

Named OptionControls(const LumoEffectPanel& p)
{
    Named named = {{"warningText", &p.m_warningText},  {"colorTitle", &p.m_colorTitle},
                   {"otherColorTitle", &p.m_otherColorTitle}, {"swatch1", &p.m_colorButton1},
                   {"swatch2", &p.m_colorButton2}};
    if (auto* four = dynamic_cast<const LumoEffectPanelFourColor*>(&p)) {
        named.push_back({"swatch3", &four->m_colorButton3});
        named.push_back({"swatch4", &four->m_colorButton4});
        if (auto* seven = dynamic_cast<const LumoEffectPanelSevenColor*>(&p)) {
            named.push_back({"swatch5", &seven->m_colorButton5});
            named.push_back({"swatch6", &seven->m_colorButton6});
            named.push_back({"swatch7", &seven->m_colorButton7});
        }
        const char* labels[] = {"label1", "label2", "label3", "label4"};
        for (int i = 0; i < 4; ++i) named.push_back({labels[i], &four->m_zoneLabels[i]});
        if (auto* seven = dynamic_cast<const LumoEffectPanelSevenColor*>(&p)) {
            const char* second[] = {"label5", "labelL", "labelR"};
            for (int i = 0; i < 3; ++i) named.push_back({second[i], &seven->m_secondRowLabels[i]});
        }
    }
    named.insert(named.end(), {{"tempoTitle", &p.m_tempoTitle},
                               {"tempo0", p.m_tempoButtons[0].get()},
                               {"directionTitle", &p.m_directionTitle},
                               {"direction0", p.m_directionButtons[0].get()},
                               {"musicTitle", &p.m_musicTitle},
                               {"music0", p.m_musicButtons[0].get()},
                               {"temperatureBar", &p.m_temperatureBar},
                               {"lowBox", &p.m_lowBox},
                               {"random", &p.m_randomBox}});
    return named;
}

// The shown option controls with their places, at 100 %.
std::string ShownOptions(const LumoEffectPanel& panel)
{
    std::string text;
    for (const auto& [name, control] : OptionControls(panel)) {
        if (!Shown(*control)) continue;
        const POINT at = PlaceInPanel(panel, *control);
        if (!text.empty()) text += ' ';
        text += std::string(name) + "@" + std::to_string(at.x) + "," + std::to_string(at.y);
    }
    return text;
}

// Every member of a group is shown exactly when its anchor is.
void ExpectGroupsWhole(const LumoEffectPanel& p)
{
    auto whole = [&](const char* name, const Control& anchor, std::vector<const Control*> members) {
        if (!anchor.Handle.Get()) return;
        for (const Control* m : members) {
            if (m->Handle.Get()) {
                EXPECT_EQ(Shown(*m), Shown(anchor)) << name;
            }
        }
    };
    whole("tempo", p.m_tempoTitle, {p.m_tempoButtons[1].get(), p.m_tempoButtons[2].get()});
    whole("direction", p.m_directionTitle, {p.m_directionButtons[1].get()});
    std::vector<const Control*> music;
    for (int i = 1; i < LumoEffectPanel::kMusicButtonCount; ++i) music.push_back(p.m_musicButtons[i].get());
    whole("music", p.m_musicTitle, music);
    whole("warning", p.m_warningText, {&p.m_warningMark});
    whole("temperature", p.m_temperatureBar, {&p.m_lowLabel, &p.m_highLabel, &p.m_highBox});
}

std::vector<int> CheckedButtons(const std::unique_ptr<LumoEffectPanel::OptionButton>* buttons, int count)
{
    std::vector<int> checked;
    for (int i = 0; i < count; ++i)
        if (buttons[i]->IsChecked.Get()) checked.push_back(i);
    return checked;
}

struct LayoutCase {
    int effect;
    const char* shown;
};

template <typename P>
void ExpectLayouts(int profile, int zone, const std::vector<LayoutCase>& cases, const char* what)
{
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<P>(host.Get(), nullptr, profile);
    ASSERT_TRUE(panel);
    if (zone >= 0) ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETZONE, static_cast<WPARAM>(profile), zone);
    for (const LayoutCase& c : cases) {
        panel->SetEffectType(c.effect);
        EXPECT_EQ(ShownOptions(*panel), c.shown) << what << ", effect " << c.effect;
        ExpectGroupsWhole(*panel);
    }
}

const char kFourRow[] =
    "colorTitle@15,280 swatch1@35,305 swatch2@105,305 swatch3@175,305 swatch4@245,305 label1@15,315 label2@85,315 "
    "label3@155,315 label4@225,315";
const char kSevenRow[] =
    "colorTitle@15,280 swatch1@35,305 swatch2@105,305 swatch3@175,305 swatch4@245,305 swatch5@35,355 "
    "swatch6@105,355 swatch7@175,355 label1@15,315 label2@85,315 label3@155,315 label4@225,315 label5@15,365 "
    "labelL@85,365 labelR@155,365";

std::string With(const char* first, const char* second)
{
    return std::string(first) + " " + second;
}

}  // namespace

// --- Children and their build ---------------------------------------------------

TEST(EffectPanelBuild, WithTheSupportFlagFourEffectButtonsArePackedAndEveryOptionIsBuilt)
{
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    const bool built[] = {true, true, true, false, true, false, false};
    for (int i = 0; i < LumoEffectPanel::kEffectButtonCount; ++i)
        EXPECT_EQ(panel->m_effectButtons[i]->Handle.Get() != nullptr, built[i]) << "effect " << i;
    // Slot k at y 25 + 32k under the title at (20, 15).
    const int slots[][2] = {{0, 0}, {1, 1}, {2, 2}, {4, 3}};
    for (const auto& s : slots) {
        const POINT at = PlaceInPanel(*panel, *panel->m_effectButtons[s[0]]);
        EXPECT_EQ(at.x, 40) << s[0];
        EXPECT_EQ(at.y, 15 + 25 + 32 * s[1]) << s[0];
        EXPECT_EQ(panel->m_effectButtons[s[0]]->Tag.Get(), s[0]);
    }
    for (const Control* c : std::vector<const Control*>{panel->m_musicButtons[7].get(), &panel->m_warningText,
                                                        &panel->m_temperatureBar, &panel->m_lowBox,
                                                        &panel->m_randomBox})
        EXPECT_NE(c->Handle.Get(), nullptr);
    // The direction group belongs to the multi-colour panels only.
    EXPECT_EQ(panel->m_directionTitle.Handle.Get(), nullptr);
    EXPECT_EQ(panel->m_directionButtons[0]->Handle.Get(), nullptr);
    EXPECT_EQ(panel->SeparatorPosition().y, 261);

    auto four = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, 0);
    ASSERT_TRUE(four);
    EXPECT_NE(four->m_directionTitle.Handle.Get(), nullptr);
    EXPECT_NE(four->m_directionButtons[1]->Handle.Get(), nullptr);
    EXPECT_EQ(four->m_directionButtons[1]->Tag.Get(), 1);
}

TEST(EffectPanelBuild, WithoutTheSupportFlagOnlyEffectsColoursAndTempoAreBuilt)
{
    PanelGlobals globals(1.0f, 0);
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    for (int i = 0; i < LumoEffectPanel::kEffectButtonCount; ++i)
        EXPECT_EQ(panel->m_effectButtons[i]->Handle.Get() != nullptr, i < 3) << "effect " << i;
    EXPECT_NE(panel->m_tempoButtons[2]->Handle.Get(), nullptr);
    EXPECT_NE(panel->m_colorButton2.Handle.Get(), nullptr);
    for (const Control* c : std::vector<const Control*>{panel->m_musicButtons[0].get(),
                                                        panel->m_directionButtons[0].get(), &panel->m_warningText,
                                                        &panel->m_temperatureBar, &panel->m_lowBox,
                                                        &panel->m_randomBox})
        EXPECT_EQ(c->Handle.Get(), nullptr);
    EXPECT_EQ(panel->SeparatorPosition().y, 136);
}

TEST(EffectPanelBuild, AtOneAndAHalfTheStrobingButtonIsScaledOnce)
{
    PanelGlobals globals(1.5f);
    RecordingHost host(kHostX, kHostY, 480, 800);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    const LumoEffectPanel::OptionButton& strobing = *panel->m_effectButtons[4];
    const POINT title = PlaceInPanel(*panel, panel->m_effectsTitle);
    const POINT at = PlaceInPanel(*panel, strobing);
    EXPECT_EQ(title.x, 30);
    EXPECT_EQ(title.y, 23);
    EXPECT_EQ(at.x - title.x, 30);
    EXPECT_EQ(at.y - title.y, 182);  // (25 + 96) x 1.5, rounded
    EXPECT_EQ(strobing.Width.Get(), 225);
    EXPECT_EQ(strobing.Height.Get(), 23);
}

TEST(EffectPanelBuild, LayoutGroupHidesInPlaceAndLaterBringsTheAnchorToThePoint)
{
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    panel->LayoutMusic(1, 50, 60);
    panel->LayoutMusic(0, 200, 300);
    EXPECT_FALSE(Shown(panel->m_musicTitle));
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_musicTitle).x, 50);
    EXPECT_EQ(PlaceInPanel(*panel, *panel->m_musicButtons[7]).y, 60 + 25 + 27 * 7);
    panel->LayoutMusic(1, 100, 10);
    EXPECT_TRUE(Shown(*panel->m_musicButtons[7]));
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_musicTitle).x, 100);
    EXPECT_EQ(PlaceInPanel(*panel, *panel->m_musicButtons[7]).x, 110);
    EXPECT_EQ(PlaceInPanel(*panel, *panel->m_musicButtons[7]).y, 10 + 25 + 27 * 7);
}

// --- Layout, read from the children's windows ----------------------------------

TEST(EffectPanelLayout, BasePanelByEffectType)
{
    {
        PanelGlobals globals;
        ExpectLayouts<LumoEffectPanel>(0, -1,
                                       {{0, "colorTitle@15,280 swatch1@35,305"},
                                        {1, "colorTitle@15,280 swatch1@35,305 tempoTitle@160,280 tempo0@170,305"},
                                        {2, "tempoTitle@15,280 tempo0@25,305"},
                                        {3, ""},
                                        {4, "colorTitle@15,280 swatch1@35,305"},
                                        {5, "musicTitle@15,280 music0@25,305"},
                                        {6, "temperatureBar@13,288 lowBox@40,352"},
                                        {-1, ""}},
                                       "support");
    }
    PanelGlobals globals(1.0f, 0);
    ExpectLayouts<LumoEffectPanel>(0, -1,
                                   {{0, "colorTitle@15,157 swatch1@35,182"},
                                    {1, "colorTitle@15,280 swatch1@35,305 tempoTitle@160,280 tempo0@170,305"},
                                    {2, "tempoTitle@15,280 tempo0@25,305"}},
                                   "no support");
}

TEST(EffectPanelLayout, FourColorPanelByZoneAndEffectType)
{
    PanelGlobals globals;
    const std::string warning = "warningText@30,15 ";
    ExpectLayouts<LumoEffectPanelFourColor>(
        1, -1,
        {{0, (warning + kFourRow).c_str()},
         {1, (warning + With(kFourRow, "tempoTitle@15,360 tempo0@25,385")).c_str()},
         {2, (warning + "tempoTitle@15,280 tempo0@25,305").c_str()},
         {3, (warning + "tempoTitle@160,280 tempo0@170,305 directionTitle@15,280 direction0@25,305").c_str()},
         {4, (warning + kFourRow).c_str()}},
        "four zones");
    ExpectLayouts<LumoEffectPanelFourColor>(
        0, -1,
        {{0, "colorTitle@15,280 swatch1@35,305"},
         {3, "tempoTitle@15,280 tempo0@25,305"},
         {4, "colorTitle@15,280 swatch1@35,305 tempoTitle@160,280 tempo0@170,305 random@25,370"},
         {5, "musicTitle@15,280 music0@25,305"},
         {6, "temperatureBar@13,288 lowBox@40,352"}},
        "all keys");
    g_nLangIndexUI = 2;
    ExpectLayouts<LumoEffectPanelFourColor>(
        1, -1, {{3, (warning + "tempoTitle@160,280 tempo0@170,305 directionTitle@35,280 direction0@45,305").c_str()}},
        "language 2");
}

TEST(EffectPanelLayout, FourColorPanelWithoutTheSupportFlag)
{
    PanelGlobals globals(1.0f, 0);
    ExpectLayouts<LumoEffectPanelFourColor>(
        0, -1,
        {{0, "colorTitle@15,157 swatch1@35,182"},
         {1, "colorTitle@15,157 swatch1@35,182 swatch2@35,232 tempoTitle@160,157 tempo0@170,182"},
         {2, "tempoTitle@15,157 tempo0@25,182"}},
        "all keys");
}

TEST(EffectPanelLayout, WithoutTheSupportFlagTheProfilesZoneModeChoosesTheZone)
{
    PanelGlobals globals(1.0f, 0);
    g_CustomProfiles[2].modeIndex = 1;
    g_CustomProfiles[2].fourIndex = 2;
    g_CustomProfiles[2].allIndex = 0;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, 2);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->Zone.Get(), Zone::ZoneList1);
    EXPECT_EQ(panel->EffectType.Get(), EffectType::ColorCycle);
    // Colour cycle has no button in four zones without the flag.
    EXPECT_FALSE(Shown(*panel->m_effectButtons[2]));
    EXPECT_EQ(ShownOptions(*panel), "tempoTitle@15,157 tempo0@25,182");
    panel->Profile = Profile::Profile0;
    EXPECT_EQ(panel->Zone.Get(), Zone::AllKeys);
    EXPECT_TRUE(Shown(*panel->m_effectButtons[2]));

    // Zone mode 2 is four zones too, not the sync zone: edits go to the four-zone record.
    g_CustomProfiles[1].modeIndex = 2;
    g_CustomProfiles[1].fourIndex = 1;
    g_CustomProfiles[1].syncIndex = 5;
    panel->Profile = Profile::Profile1;
    EXPECT_EQ(panel->Zone.Get(), Zone::ZoneList1);
    EXPECT_EQ(panel->EffectType.Get(), EffectType::Breathing);
    panel->m_effectButtons[0]->IsChecked = 1;
    EXPECT_EQ(g_CustomProfiles[1].fourIndex, 0);
    EXPECT_EQ(g_CustomProfiles[1].syncIndex, 5);
    panel->m_colorButton1.Color = Gdiplus::Color(0xFF0C0B0A);
    EXPECT_EQ(g_CustomProfiles[1].fourData[0].ColorR, 0x0C);
}

TEST(EffectPanelLayout, SevenColorPanelAddsTheSecondRowAndMovesTheTempo)
{
    PanelGlobals globals;
    const std::string warning = "warningText@30,15 ";
    ExpectLayouts<LumoEffectPanelSevenColor>(
        1, -1,
        {{0, (warning + kSevenRow).c_str()},
         {1, (warning + With(kSevenRow, "tempoTitle@15,405 tempo0@25,430")).c_str()},
         {4, (warning + kSevenRow).c_str()},
         {2, (warning + "tempoTitle@15,280 tempo0@25,305").c_str()}},
        "four zones");
    ExpectLayouts<LumoEffectPanelSevenColor>(0, -1, {{0, "colorTitle@15,280 swatch1@35,305"}}, "all keys");
}

TEST(EffectPanelLayout, ZoneOneMovesTheEffectsUnderTheWarning)
{
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, 1);
    ASSERT_TRUE(panel);
    EXPECT_TRUE(Shown(panel->m_warningText));
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_warningMark).x, 15);
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_effectsTitle).y, 67);
    EXPECT_EQ(PlaceInPanel(*panel, *panel->m_effectButtons[4]).y, 67 + 25 + 96);
    ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETPROFILE, 0, 0);
    EXPECT_FALSE(Shown(panel->m_warningText));
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_effectsTitle).y, 15);
}

// --- Indices read from the files ---------------------------------------------------

TEST(EffectPanelIndices, AnEffectIndexWithoutAButtonChecksNoneAndEditsNoRecord)
{
    struct Case {
        const char* name;
        int profile;
        int32_t allIndex;
        int32_t fourIndex;
        bool fourColor;
        int expectedType;
    };
    const Case cases[] = {
        {"all keys 9", 0, 9, 0, false, -1},
        {"all keys -5", 0, -5, 0, false, -1},
        {"rainbow has no button", 0, 3, 0, false, 3},
        {"four zones 5", 1, 0, 5, true, -1},
        {"four zones 6", 1, 0, 6, true, -1},
        {"four zones 1000", 2, 0, 1000, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGlobals globals;
        g_CustomProfiles[c.profile].allIndex = c.allIndex;
        g_CustomProfiles[c.profile].fourIndex = c.fourIndex;
        RecordingHost host(kHostX, kHostY, 320, 540);
        std::unique_ptr<LumoEffectPanel> panel;
        if (c.fourColor) panel = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, c.profile);
        else panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, c.profile);
        ASSERT_TRUE(panel);
        EXPECT_EQ(static_cast<int>(panel->EffectType.Get()), c.expectedType);
        EXPECT_TRUE(CheckedButtons(panel->m_effectButtons, LumoEffectPanel::kEffectButtonCount).empty());
        EXPECT_EQ(panel->CurrentEffect() == nullptr, c.expectedType < 0);
        EXPECT_EQ(ShownOptions(*panel), c.fourColor ? "warningText@30,15" : "") << "an option group shows";

        // An option edit is announced but lands in no record.
        const ProfileTable before = g_CustomProfiles;
        if (c.expectedType < 0) {
            panel->m_tempoButtons[0]->IsChecked = 1;
            EXPECT_EQ(std::memcmp(&before, &g_CustomProfiles, sizeof(ProfileTable)), 0);
        }
        host.Take();
        // The next choice writes a valid index.
        panel->m_effectButtons[1]->IsChecked = 1;
        EXPECT_EQ(c.fourColor ? g_CustomProfiles[c.profile].fourIndex : g_CustomProfiles[c.profile].allIndex, 1);
        EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTTYPE_CHANGED, c.fourColor ? 1u : 0u, 1}}));
    }
}

TEST(EffectPanelIndices, OptionValuesOutsideTheirGroupShowNoneAndAreKeptOnSave)
{
    PanelGlobals globals;
    // Profile 0 shows music 2 and tempo fast on effects 5 and 1; profile 2
    // holds values the panel has no button for.
    g_CustomProfiles[0].allData[5].MusicType = 2;
    g_CustomProfiles[0].allData[1].SpeedType = 1;
    g_CustomProfiles[0].fourData[3].DirectType = 1;
    g_CustomProfiles[2].allData[5].MusicType = 12;
    g_CustomProfiles[2].allData[1].SpeedType = 4;
    g_CustomProfiles[2].fourData[3].DirectType = 3;
    g_CustomProfiles[2].fourData[3].SpeedType = 0;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    auto show = [&](int profile, int zone, int effect) {
        panel->Profile = static_cast<Profile>(profile);
        ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETZONE, static_cast<WPARAM>(profile), zone);
        panel->SetEffectType(effect);
    };

    show(0, 0, 5);
    EXPECT_EQ(CheckedButtons(panel->m_musicButtons, 8), std::vector<int>{2});
    show(2, 0, 5);
    EXPECT_TRUE(CheckedButtons(panel->m_musicButtons, 8).empty());
    EXPECT_EQ(static_cast<int>(panel->Music.Get()), -1);
    panel->Color1 = Gdiplus::Color(0xFF010203);
    EXPECT_EQ(g_CustomProfiles[2].allData[5].MusicType, 12);
    panel->m_musicButtons[4]->IsChecked = 1;
    EXPECT_EQ(g_CustomProfiles[2].allData[5].MusicType, 4);

    show(0, 0, 1);
    EXPECT_EQ(CheckedButtons(panel->m_tempoButtons, 3), std::vector<int>{2});
    show(2, 0, 1);
    EXPECT_TRUE(CheckedButtons(panel->m_tempoButtons, 3).empty());
    panel->Color1 = Gdiplus::Color(0xFF040506);
    EXPECT_EQ(g_CustomProfiles[2].allData[1].SpeedType, 4);

    show(0, 1, 3);
    EXPECT_EQ(CheckedButtons(panel->m_directionButtons, 2), std::vector<int>{1});
    show(2, 1, 3);
    EXPECT_TRUE(CheckedButtons(panel->m_directionButtons, 2).empty());
    EXPECT_TRUE(CheckedButtons(panel->m_tempoButtons, 3).empty());
    panel->m_tempoButtons[1]->IsChecked = 1;
    EXPECT_EQ(g_CustomProfiles[2].fourData[3].DirectType, 3);
    EXPECT_EQ(g_CustomProfiles[2].fourData[3].SpeedType, 2);

    // Properties given values outside their group select nothing.
    panel->Tempo = static_cast<Tempo>(7);
    EXPECT_TRUE(CheckedButtons(panel->m_tempoButtons, 3).empty());
    panel->Music = static_cast<Music>(8);
    EXPECT_TRUE(CheckedButtons(panel->m_musicButtons, 8).empty());
    panel->Direction = static_cast<Direction>(2);
    EXPECT_TRUE(CheckedButtons(panel->m_directionButtons, 2).empty());
}

// --- Applied marker -----------------------------------------------------------------

TEST(EffectPanelMarker, StaysBesideTheAppliedEffectAndHidesElsewhere)
{
    PanelGlobals globals;
    g_CustomProfiles[0].allIndex = 4;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    panel->SnapshotSelection();
    const int strobingY = PlaceInPanel(*panel, *panel->m_effectButtons[4]).y;
    EXPECT_TRUE(Shown(panel->m_appliedMarker));
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_appliedMarker).y, strobingY + 2);

    panel->m_effectButtons[1]->IsChecked = 1;
    EXPECT_TRUE(Shown(panel->m_appliedMarker));
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_appliedMarker).y, strobingY + 2);

    ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETZONE, 0, 3);
    EXPECT_FALSE(Shown(panel->m_appliedMarker));
    ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETZONE, 0, 0);
    EXPECT_TRUE(Shown(panel->m_appliedMarker));

    panel->SetSnapshot(0, 0, 1);
    EXPECT_EQ(PlaceInPanel(*panel, panel->m_appliedMarker).y, PlaceInPanel(*panel, *panel->m_effectButtons[1]).y + 2);
    // An effect without a button, or outside the list, has no place for it.
    for (int effect : {3, 42, -1}) {
        panel->SetSnapshot(0, 0, effect);
        EXPECT_FALSE(Shown(panel->m_appliedMarker)) << effect;
        panel->Layout();
        EXPECT_FALSE(Shown(panel->m_appliedMarker)) << effect;
    }
}

// --- Random colours and the temperature bar -------------------------------------

TEST(EffectPanelOptions, RandomColoursGreyTheColourChoiceAndPostBothWays)
{
    PanelGlobals globals;
    g_CustomProfiles[0].allIndex = 4;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    host.Take();
    panel->m_randomBox.IsChecked = 1;
    EXPECT_EQ(panel->m_colorButton1.IsEnabled.Get(), 0);
    EXPECT_EQ(panel->m_colorTitle.IsEnabled.Get(), 0);
    EXPECT_FLOAT_EQ(panel->m_colorButton1.Opacity.Get(), 0.5f);
    EXPECT_LE(panel->m_colorTitle.Opacity.Get(), 0.5f);
    EXPECT_FALSE(::IsWindowEnabled(panel->m_colorButton1.Handle.Get()));
    EXPECT_EQ(g_CustomProfiles[0].allData[4].StrobingRandom, 1);
    panel->m_randomBox.IsChecked = 0;
    EXPECT_EQ(panel->m_colorButton1.IsEnabled.Get(), 1);
    EXPECT_FLOAT_EQ(panel->m_colorButton1.Opacity.Get(), 1.0f);
    EXPECT_FLOAT_EQ(panel->m_colorTitle.Opacity.Get(), 0.75f);
    EXPECT_EQ(g_CustomProfiles[0].allData[4].StrobingRandom, 0);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 8, 0}, {WM_EFFECTVALUE_CHANGED, 8, 0}}));
}

TEST(EffectPanelOptions, TemperatureBarShowsGreenYellowRedAtTheStoredValues)
{
    PanelGlobals globals;
    g_CustomProfiles[0].allData[6].TemperatureL = 30;
    g_CustomProfiles[0].allData[6].TemperatureH = 60;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    panel->SetEffectType(6);
    EXPECT_EQ(panel->m_lowBox.Value.Get(), 30);
    EXPECT_EQ(panel->m_highBox.Value.Get(), 60);
    // Neither value can pass the other.
    EXPECT_EQ(panel->m_highBox.Min.Get(), 30);
    EXPECT_EQ(panel->m_lowBox.Max.Get(), 60);
    HDC picture = panel->m_temperatureBar.PictureDC();
    ASSERT_NE(picture, nullptr);
    const testsupport::Pixels pixels = testsupport::ReadPixels(picture);
    ASSERT_EQ(pixels.width, 263);
    ASSERT_EQ(pixels.height, 10);
    EXPECT_EQ(pixels.Rgb(26, 5), 0x00FF00u);    // 0.10
    EXPECT_EQ(pixels.Rgb(118, 5), 0xFFFF00u);   // 0.45, between the blends
    EXPECT_EQ(pixels.Rgb(236, 5), 0xFF0000u);   // 0.90

    // Typed values redraw it with hard edges when they are close.
    host.Take();
    panel->m_highBox.Text = L"33";
    EXPECT_EQ(g_CustomProfiles[0].allData[6].TemperatureH, 33);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 7, 0}}));
    const testsupport::Pixels hard = testsupport::ReadPixels(panel->m_temperatureBar.PictureDC());
    ASSERT_EQ(hard.width, 263);
    EXPECT_EQ(hard.Rgb(77, 5), 0x00FF00u);   // just under 0.30
    EXPECT_EQ(hard.Rgb(90, 5), 0xFF0000u);   // just over 0.33
}

// --- The colour popup and the panel's lifetime ------------------------------------

TEST(EffectPanelPopup, ASwatchClickOpensThePopupAndItsColourIsWrittenAndPosted)
{
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    PickerPopup popup(host.Get());
    auto panel = MakePanel<LumoEffectPanelSevenColor>(host.Get(), popup.Get(), 1);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(testsupport::PumpUntilPainted(host.Get(), 5000));
    host.Take();
    const Gdiplus::ARGB swatch3 = panel->m_colorButton3.Color.Get().GetValue();
    ClickChild(panel->m_colorButton3);
    ASSERT_TRUE(popup.Shown()) << "the click did not reach swatch 3";
    EXPECT_EQ(popup.Get()->Color.Get().GetValue(), swatch3);
    EXPECT_TRUE(host.Take().empty()) << "opening the popup changed a colour";

    auto threads = std::make_shared<std::vector<DWORD>>();
    panel->m_colorButton3.ColorChanged.Subscribe(
        [threads](void*, Gdiplus::Color&) { threads->push_back(::GetCurrentThreadId()); });
    popup.Get()->Color = Gdiplus::Color(0xFF0A0B0C);
    EXPECT_TRUE(PumpUntil([&] { return panel->m_colorButton3.Color.Get().GetValue() == 0xFF0A0B0Cu; }, 5000));
    EXPECT_EQ(*threads, std::vector<DWORD>{::GetCurrentThreadId()}) << "the colour reached the panel off the UI thread";
    const EffectData& record = g_CustomProfiles[1].fourData[0];
    EXPECT_EQ(record.Color3R, 0x0A);
    EXPECT_EQ(record.Color3G, 0x0B);
    EXPECT_EQ(record.Color3B, 0x0C);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 3, RGB(0x0A, 0x0B, 0x0C)}}));
    popup.Hide();

    ClickChild(panel->m_colorButton5);
    ASSERT_TRUE(popup.Shown());
    popup.Get()->Color = Gdiplus::Color(0xFF00FF00);
    EXPECT_TRUE(PumpUntil([&] { return g_CustomProfiles[1].fourData[0].Color5G == 0xFF; }, 5000));
    EXPECT_EQ(panel->m_colorButton3.Color.Get().GetValue(), 0xFF0A0B0Cu) << "the popup edits the last swatch only";
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 9, RGB(0, 0xFF, 0)}}));
    popup.Hide();
}

TEST(EffectPanelPopup, DeletingThePanelWhileThePopupIsOpenLeavesNoHandlerBehind)
{
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    PickerPopup popup(host.Get());
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), popup.Get(), 0);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(testsupport::PumpUntilPainted(host.Get(), 5000));
    ClickChild(panel->m_colorButton1);
    ASSERT_TRUE(popup.Shown());
    // A change still queued for the panel's children when it goes.
    panel->m_lowBox.Text = L"40";
    panel.reset();
    const ProfileTable before = g_CustomProfiles;
    host.Take();
    auto reported = std::make_shared<bool>(false);
    popup.Get()->ColorChanged.Subscribe([reported](void*, Gdiplus::Color&) { *reported = true; });
    popup.Get()->Color = Gdiplus::Color(0xFF112233);
    // Told after every handler bound before it, the gone panel's among them.
    ASSERT_TRUE(PumpUntil([&] { return *reported; }, 5000));
    Pump(0);
    EXPECT_EQ(std::memcmp(&before, &g_CustomProfiles, sizeof(ProfileTable)), 0);
    EXPECT_TRUE(host.Take().empty());
    popup.Hide();

    // A new panel bound to the same popup hears it.
    auto next = MakePanel<LumoEffectPanel>(host.Get(), popup.Get(), 0);
    ASSERT_TRUE(next);
    ASSERT_TRUE(testsupport::PumpUntilPainted(host.Get(), 5000));
    ClickChild(next->m_colorButton1);
    ASSERT_TRUE(popup.Shown());
    popup.Get()->Color = Gdiplus::Color(0xFF445566);
    EXPECT_TRUE(PumpUntil([&] { return g_CustomProfiles[0].allData[0].ColorR == 0x44; }, 5000));
    popup.Hide();
}

// --- Real input --------------------------------------------------------------------

TEST(EffectPanelInput, ClicksOnEffectTempoAndDirectionButtonsEditAndPost)
{
    PanelGlobals globals;
    g_CustomProfiles[1].fourIndex = 0;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanelFourColor>(host.Get(), nullptr, 1);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(testsupport::PumpUntilPainted(host.Get(), 5000));
    host.Take();

    ClickChild(*panel->m_effectButtons[1]);  // breathing
    EXPECT_EQ(g_CustomProfiles[1].fourIndex, 1);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTTYPE_CHANGED, 1, 1}}));
    EXPECT_EQ(CheckedButtons(panel->m_effectButtons, 7), std::vector<int>{1});

    ClickChild(*panel->m_tempoButtons[0]);
    EXPECT_EQ(g_CustomProfiles[1].fourData[1].SpeedType, 3);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 2, 0}}));

    // A second click on the effect shown posts nothing.
    ClickChild(*panel->m_effectButtons[1]);
    EXPECT_TRUE(host.Take().empty());

    ClickChild(*panel->m_effectButtons[2]);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTTYPE_CHANGED, 1, 2}}));
    panel->SetEffectType(3);  // rainbow has no button but shows the direction group
    host.Take();
    ASSERT_TRUE(Shown(*panel->m_directionButtons[1]));
    ASSERT_EQ(CheckedButtons(panel->m_directionButtons, 2), std::vector<int>{1});  // loaded from the record
    ClickChild(*panel->m_directionButtons[0]);
    EXPECT_EQ(g_CustomProfiles[1].fourData[3].DirectType, 0);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 5, 0}}));
    ClickChild(*panel->m_directionButtons[1]);
    EXPECT_EQ(g_CustomProfiles[1].fourData[3].DirectType, 1);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 5, 1}}));
}

TEST(EffectPanelInput, BasePanelClicksChooseTheEffectAndItsSpeed)
{
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(testsupport::PumpUntilPainted(host.Get(), 5000));
    host.Take();
    ClickChild(*panel->m_effectButtons[1]);
    EXPECT_EQ(g_CustomProfiles[0].allIndex, 1);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTTYPE_CHANGED, 0, 1}}));
    ASSERT_TRUE(Shown(*panel->m_tempoButtons[2]));
    ClickChild(*panel->m_tempoButtons[2]);
    EXPECT_EQ(g_CustomProfiles[0].allData[1].SpeedType, 1);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTVALUE_CHANGED, 2, 0}}));
    ClickChild(*panel->m_effectButtons[4]);
    EXPECT_EQ(g_CustomProfiles[0].allIndex, 4);
    EXPECT_EQ(host.Take(), (std::vector<Posted>{{WM_EFFECTTYPE_CHANGED, 0, 4}}));
}

// --- Drawing over the panel's image ------------------------------------------------

namespace {

bool SameColour(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int x = static_cast<int>((a >> shift) & 0xFF), y = static_cast<int>((b >> shift) & 0xFF);
        if (x - y > 3 || y - x > 3) return false;
    }
    return true;
}

}  // namespace

TEST(EffectPanelDrawing, SwatchesShowTheirColourOverThePanelsImage)
{
    if (UseLayeredChildWindows()) GTEST_SKIP() << "layered swatches draw over what lies under their window";
    PanelGlobals globals;
    g_CustomProfiles[0].allData[0].ColorR = 0x20;
    g_CustomProfiles[0].allData[0].ColorG = 0x90;
    g_CustomProfiles[0].allData[0].ColorB = 0xE0;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    const testsupport::Pixels swatch = testsupport::ReadPixels(panel->m_colorButton1.RenderDC.Get());
    const testsupport::Pixels image = testsupport::ReadPixels(panel->RenderDC.Get());
    ASSERT_EQ(swatch.width, 37);
    EXPECT_EQ(swatch.At(18, 17), 0xFF2090E0u);
    // Outside the frame the panel's image at the swatch's place.
    const POINT at = PlaceInPanel(*panel, panel->m_colorButton1);
    EXPECT_TRUE(SameColour(swatch.At(36, 34), image.At(at.x + 36, at.y + 34)));
}

TEST(EffectPanelDrawing, MovedChildrenAreDrawnOverTheImageAtTheirNewPlace)
{
    if (UseLayeredChildWindows()) GTEST_SKIP() << "layered children draw over what lies under their window";
    PanelGlobals globals;
    RecordingHost host(kHostX, kHostY, 320, 540);
    auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    // The tempo group is built at the panel's corner and first shown by breathing.
    panel->m_effectButtons[1]->IsChecked = 1;
    const testsupport::Pixels image = testsupport::ReadPixels(panel->RenderDC.Get());
    for (const Control* child : std::vector<const Control*>{&panel->m_tempoTitle, panel->m_tempoButtons[2].get()}) {
        const POINT at = PlaceInPanel(*panel, *child);
        const testsupport::Pixels drawn = testsupport::ReadPixels(child->RenderDC.Get());
        ASSERT_GT(drawn.width, 0);
        const int x = drawn.width - 1, y = drawn.height - 1;  // a corner without text
        EXPECT_TRUE(SameColour(drawn.At(x, y), image.At(at.x + x, at.y + y)))
            << std::hex << drawn.At(x, y) << " vs " << image.At(at.x + x, at.y + y);
    }
}
