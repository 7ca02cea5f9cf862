// Each edit of each panel class: the field of g_CustomProfiles it writes, the
// records it leaves alone and the message it posts.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/effectpanel/LumoEffectPanelFourColor.h"
#include "app/effectpanel/LumoEffectPanelSevenColor.h"
#include "tests/app/effectpanel/EffectPanelTestSupport.h"

using namespace paneltest;

namespace {

enum class List { None, All, Four };

struct EditCase {
    const char* name;
    int profile;
    int zone;    // -1: the zone SetProfile chooses
    int effect;  // stored as the zone's index before the panel loads
    std::function<void(LumoEffectPanel&)> edit;
    Posted posted;
    List list;   // the record that may change
    std::function<bool(const EffectData&)> holds;
    int32_t CustomProfile::*indexField;  // the index that may change, or null
    int32_t indexValue;
};

constexpr Gdiplus::ARGB kPicked = 0xFF123456;
constexpr LPARAM kPickedRef = RGB(0x12, 0x34, 0x56);

void CheckRadio(std::unique_ptr<LumoEffectPanel::OptionButton>& button)
{
    button->IsChecked = 1;
}

int32_t* StoredIndex(CustomProfile& profile, int zone)
{
    switch (zone) {
    case 1:
        return &profile.fourIndex;
    case 2:
    case 3:
        return &profile.syncIndex;
    default:
        return &profile.allIndex;
    }
}

// Everything but the named record and index field is as it was.
void ExpectOnlyTheEditedPlaces(const ProfileTable& before, const ProfileTable& after, const EditCase& c,
                               int editedIndex)
{
    for (int p = 0; p < kProfileCount; ++p) {
        CustomProfile expected = before[p], actual = after[p];
        if (p == c.profile) {
            if (c.indexField) expected.*(c.indexField) = actual.*(c.indexField);
            if (c.list == List::All) expected.allData[editedIndex] = actual.allData[editedIndex];
            if (c.list == List::Four) expected.fourData[editedIndex] = actual.fourData[editedIndex];
        }
        EXPECT_EQ(std::memcmp(&expected, &actual, sizeof(CustomProfile)), 0)
            << c.name << ": profile " << p << " changed outside the edited record";
    }
}

template <typename P>
void RunEditCases(const std::vector<EditCase>& cases)
{
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGlobals globals;
        const int zone = c.zone < 0 ? (c.profile == 0 ? 0 : 1) : c.zone;
        *StoredIndex(g_CustomProfiles[c.profile], zone) = c.effect;
        RecordingHost host(40, 40, 320, 540);
        auto panel = MakePanel<P>(host.Get(), nullptr, c.profile);
        ASSERT_TRUE(panel);
        if (c.zone >= 0)
            ::SendMessageW(panel->Handle.Get(), WM_PANEL_SETZONE, static_cast<WPARAM>(c.profile), c.zone);
        ASSERT_EQ(static_cast<int>(panel->EffectType.Get()), c.effect);
        EXPECT_TRUE(host.Take().empty()) << "loading posted something";

        const ProfileTable before = g_CustomProfiles;
        c.edit(*panel);
        EXPECT_EQ(host.Take(), std::vector<Posted>{c.posted});

        const CustomProfile& edited = g_CustomProfiles[c.profile];
        if (c.indexField) {
            EXPECT_EQ(edited.*(c.indexField), c.indexValue);
        }
        const int recordIndex = c.list == List::Four ? edited.fourIndex : edited.allIndex;
        if (c.list == List::All) {
            EXPECT_TRUE(c.holds(edited.allData[recordIndex]));
        } else if (c.list == List::Four) {
            EXPECT_TRUE(c.holds(edited.fourData[recordIndex]));
        }
        ExpectOnlyTheEditedPlaces(before, g_CustomProfiles, c, recordIndex);
    }
}

Posted Type(int zone, int effect)
{
    return {WM_EFFECTTYPE_CHANGED, static_cast<WPARAM>(zone), effect};
}
Posted Value(int what, LPARAM value)
{
    return {WM_EFFECTVALUE_CHANGED, static_cast<WPARAM>(what), value};
}
bool Color(const int32_t* rgb, Gdiplus::ARGB argb)
{
    return rgb[0] == static_cast<int32_t>((argb >> 16) & 0xFF) && rgb[1] == static_cast<int32_t>((argb >> 8) & 0xFF) &&
           rgb[2] == static_cast<int32_t>(argb & 0xFF);
}
auto Anything = [](const EffectData&) { return true; };

}  // namespace

TEST(EffectPanelEdits, BasePanelWritesTheAllKeysRecordAndPostsPlainValues)
{
    RunEditCases<LumoEffectPanel>({
        {"effect button", 0, -1, 0, [](LumoEffectPanel& p) { CheckRadio(p.m_effectButtons[2]); }, Type(0, 2),
         List::None, Anything, &CustomProfile::allIndex, 2},
        {"colour 1", 0, -1, 0, [](LumoEffectPanel& p) { p.m_colorButton1.Color = Gdiplus::Color(kPicked); },
         Value(0, kPickedRef), List::All, [](const EffectData& r) { return Color(&r.ColorR, kPicked); }, nullptr, 0},
        // No temperature record was shown yet: the boxes hold no threshold to save.
        {"colour keeps the temperatures", 0, -1, 0,
         [](LumoEffectPanel& p) { p.m_colorButton1.Color = Gdiplus::Color(kPicked); }, Value(0, kPickedRef),
         List::All, [](const EffectData& r) { return r.TemperatureL == 20 && r.TemperatureH == 70; }, nullptr, 0},
        {"colour 2", 0, -1, 1, [](LumoEffectPanel& p) { p.Color2 = Gdiplus::Color(kPicked); }, Value(1, kPickedRef),
         List::All, [](const EffectData& r) { return Color(&r.Color2R, kPicked); }, nullptr, 0},
        {"tempo fast", 0, -1, 1, [](LumoEffectPanel& p) { CheckRadio(p.m_tempoButtons[2]); }, Value(2, 0), List::All,
         [](const EffectData& r) { return r.SpeedType == 1; }, nullptr, 0},
        {"tempo slow", 0, -1, 4, [](LumoEffectPanel& p) { CheckRadio(p.m_tempoButtons[0]); }, Value(2, 0), List::All,
         [](const EffectData& r) { return r.SpeedType == 3; }, nullptr, 0},
        {"music", 0, -1, 5, [](LumoEffectPanel& p) { CheckRadio(p.m_musicButtons[3]); }, Value(6, 0), List::All,
         [](const EffectData& r) { return r.MusicType == 3; }, nullptr, 0},
        {"random", 0, -1, 4, [](LumoEffectPanel& p) { p.m_randomBox.IsChecked = 1; }, Value(8, 0), List::All,
         [](const EffectData& r) { return r.StrobingRandom == 1; }, nullptr, 0},
        {"low temperature", 0, -1, 6, [](LumoEffectPanel& p) { p.m_lowBox.Text = L"25"; }, Value(7, 0), List::All,
         [](const EffectData& r) { return r.TemperatureL == 25 && r.TemperatureH == 76; }, nullptr, 0},
        // Sync: only its effect index is stored; option edits are posted but write nothing.
        {"sync effect", 0, 3, 1, [](LumoEffectPanel& p) { CheckRadio(p.m_effectButtons[4]); }, Type(3, 4),
         List::None, Anything, &CustomProfile::syncIndex, 4},
        {"sync tempo", 0, 3, 1, [](LumoEffectPanel& p) { CheckRadio(p.m_tempoButtons[0]); }, Value(2, 0),
         List::None, Anything, nullptr, 0},
        // Another profile's all-keys record, reached through WM_PANEL_SETZONE.
        {"profile 2 colour", 2, 0, 0, [](LumoEffectPanel& p) { p.m_colorButton1.Color = Gdiplus::Color(kPicked); },
         Value(0, kPickedRef), List::All, [](const EffectData& r) { return Color(&r.ColorR, kPicked); }, nullptr, 0},
    });
}

TEST(EffectPanelEdits, FourColorPanelWritesTheZoneRecordAndPostsTheNewValues)
{
    RunEditCases<LumoEffectPanelFourColor>({
        {"all-keys effect", 0, -1, 0, [](LumoEffectPanel& p) { CheckRadio(p.m_effectButtons[4]); }, Type(0, 4),
         List::None, Anything, &CustomProfile::allIndex, 4},
        {"four-zone effect", 1, -1, 0, [](LumoEffectPanel& p) { CheckRadio(p.m_effectButtons[1]); }, Type(1, 1),
         List::None, Anything, &CustomProfile::fourIndex, 1},
        {"sync effect", 1, 2, 0, [](LumoEffectPanel& p) { CheckRadio(p.m_effectButtons[2]); }, Type(2, 2),
         List::None, Anything, &CustomProfile::syncIndex, 2},
        {"swatch 1 in four zones", 1, -1, 0,
         [](LumoEffectPanel& p) { p.m_colorButton1.Color = Gdiplus::Color(kPicked); }, Value(0, kPickedRef),
         List::Four, [](const EffectData& r) { return Color(&r.ColorR, kPicked); }, nullptr, 0},
        {"swatch 3", 1, -1, 4,
         [](LumoEffectPanel& p) {
             static_cast<LumoEffectPanelFourColor&>(p).m_colorButton3.Color = Gdiplus::Color(kPicked);
         },
         Value(3, kPickedRef), List::Four, [](const EffectData& r) { return Color(&r.Color3R, kPicked); }, nullptr, 0},
        {"colour 4 property", 0, -1, 1,
         [](LumoEffectPanel& p) { static_cast<LumoEffectPanelFourColor&>(p).Color4 = Gdiplus::Color(kPicked); },
         Value(4, kPickedRef), List::All, [](const EffectData& r) { return Color(&r.Color4R, kPicked); }, nullptr, 0},
        {"tempo posts its value", 1, -1, 2, [](LumoEffectPanel& p) { CheckRadio(p.m_tempoButtons[2]); }, Value(2, 2),
         List::Four, [](const EffectData& r) { return r.SpeedType == 1; }, nullptr, 0},
        {"direction left", 1, -1, 3, [](LumoEffectPanel& p) { CheckRadio(p.m_directionButtons[0]); }, Value(5, 0),
         List::Four, [](const EffectData& r) { return r.DirectType == 0; }, nullptr, 0},
        {"music", 0, -1, 5, [](LumoEffectPanel& p) { CheckRadio(p.m_musicButtons[7]); }, Value(6, 7), List::All,
         [](const EffectData& r) { return r.MusicType == 7; }, nullptr, 0},
        {"sync swatch writes nothing", 1, 2, 0,
         [](LumoEffectPanel& p) { p.m_colorButton1.Color = Gdiplus::Color(kPicked); }, Value(0, kPickedRef),
         List::None, Anything, nullptr, 0},
    });
}

TEST(EffectPanelEdits, SevenColorPanelWritesSwatchesFiveToSeven)
{
    auto seven = [](LumoEffectPanel& p) -> LumoEffectPanelSevenColor& {
        return static_cast<LumoEffectPanelSevenColor&>(p);
    };
    RunEditCases<LumoEffectPanelSevenColor>({
        {"swatch 5", 1, -1, 0, [&](LumoEffectPanel& p) { seven(p).m_colorButton5.Color = Gdiplus::Color(kPicked); },
         Value(9, kPickedRef), List::Four, [](const EffectData& r) { return Color(&r.Color5R, kPicked); }, nullptr, 0},
        {"swatch 6", 1, -1, 1, [&](LumoEffectPanel& p) { seven(p).m_colorButton6.Color = Gdiplus::Color(kPicked); },
         Value(10, kPickedRef), List::Four, [](const EffectData& r) { return Color(&r.Color6R, kPicked); }, nullptr, 0},
        {"colour 7 property", 0, -1, 4, [&](LumoEffectPanel& p) { seven(p).Color7 = Gdiplus::Color(kPicked); },
         Value(11, kPickedRef), List::All, [](const EffectData& r) { return Color(&r.Color7R, kPicked); }, nullptr, 0},
        {"four-zone effect", 1, -1, 0, [](LumoEffectPanel& p) { CheckRadio(p.m_effectButtons[4]); }, Type(1, 4),
         List::None, Anything, &CustomProfile::fourIndex, 4},
        {"direction right", 1, -1, 2, [](LumoEffectPanel& p) { CheckRadio(p.m_directionButtons[1]); }, Value(5, 1),
         List::Four, [](const EffectData& r) { return r.DirectType == 1; }, nullptr, 0},
    });
}

TEST(EffectPanelEdits, LoadingARecordPostsAndWritesNothing)
{
    PanelGlobals globals;
    RecordingHost host(40, 40, 320, 540);
    auto panel = MakePanel<LumoEffectPanelSevenColor>(host.Get(), nullptr, 0);
    ASSERT_TRUE(panel);
    const ProfileTable before = g_CustomProfiles;
    for (int effect : {1, 4, 0, 2}) {
        panel->EffectType = static_cast<EffectType>(effect);
        EXPECT_EQ(host.Take(), std::vector<Posted>{Type(0, effect)});
    }
    ProfileTable expected = before;
    expected[0].allIndex = 2;
    EXPECT_EQ(std::memcmp(&expected, &g_CustomProfiles, sizeof(ProfileTable)), 0);
    // Choosing the effect already shown posts nothing.
    panel->EffectType = EffectType::ColorCycle;
    EXPECT_TRUE(host.Take().empty());
}

namespace {

// An edit of an effect shown after another: the controls still hold the
// values the first effect loaded for what the second one does not show.
struct ShownFieldsCase {
    const char* name;
    int shownFirst;
    int edited;
    std::function<void(LumoEffectPanel&)> edit;
    std::function<void(EffectData&, const EffectData&)> allowed;  // copies the fields that may change
};

template <typename P>
void RunShownFieldsCases(const std::vector<ShownFieldsCase>& cases)
{
    for (const ShownFieldsCase& c : cases) {
        SCOPED_TRACE(c.name);
        PanelGlobals globals;
        // Random colours stored where the effect has no random box.
        for (EffectData& record : g_CustomProfiles[0].allData) record.StrobingRandom = 1;
        RecordingHost host(40, 40, 320, 540);
        auto panel = MakePanel<P>(host.Get(), nullptr, 0);
        ASSERT_TRUE(panel);
        panel->EffectType = static_cast<EffectType>(c.shownFirst);
        panel->m_randomBox.IsChecked = 0;
        panel->EffectType = static_cast<EffectType>(c.edited);
        host.Take();
        const EffectData before = g_CustomProfiles[0].allData[c.edited];
        c.edit(*panel);
        EXPECT_FALSE(host.Take().empty()) << "the edit was posted";
        EffectData expected = before;
        const EffectData& after = g_CustomProfiles[0].allData[c.edited];
        c.allowed(expected, after);
        EXPECT_EQ(std::memcmp(&expected, &after, sizeof(EffectData)), 0) << "a field the effect does not show changed";
        EXPECT_NE(std::memcmp(&before, &after, sizeof(EffectData)), 0) << "the edit changed nothing";
    }
}

}  // namespace

TEST(EffectPanelEdits, AnEditChangesOnlyWhatTheEditedEffectShows)
{
    RunShownFieldsCases<LumoEffectPanel>({
        {"music after breathing", 1, 5, [](LumoEffectPanel& p) { CheckRadio(p.m_musicButtons[6]); },
         [](EffectData& e, const EffectData& a) { e.MusicType = a.MusicType; }},
        {"temperature after static", 0, 6, [](LumoEffectPanel& p) { p.m_lowBox.Text = L"25"; },
         [](EffectData& e, const EffectData& a) { e.TemperatureL = a.TemperatureL; }},
        {"tempo of colour cycle", 4, 2, [](LumoEffectPanel& p) { CheckRadio(p.m_tempoButtons[2]); },
         [](EffectData& e, const EffectData& a) { e.SpeedType = a.SpeedType; }},
        {"colour of static", 1, 0, [](LumoEffectPanel& p) { p.m_colorButton1.Color = Gdiplus::Color(kPicked); },
         [](EffectData& e, const EffectData& a) { e.ColorR = a.ColorR, e.ColorG = a.ColorG, e.ColorB = a.ColorB; }},
    });
    RunShownFieldsCases<LumoEffectPanelFourColor>({
        {"tempo of colour cycle keeps swatches 3 and 4", 0, 2,
         [](LumoEffectPanel& p) { CheckRadio(p.m_tempoButtons[2]); },
         [](EffectData& e, const EffectData& a) { e.SpeedType = a.SpeedType; }},
    });
}

// With the support flag profile 1 and 2 send their WASD and QWER records:
// the single-colour panel edits those, and the all-keys lists stay.
TEST(EffectPanelEdits, OnAZoneProfileThePanelEditsItsZoneList)
{
    struct Case {
        int profile;
        int32_t CustomProfile::*index;
    };
    const Case cases[] = {{1, &CustomProfile::wasdIndex}, {2, &CustomProfile::qwerIndex}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        PanelGlobals globals;
        CustomProfile& profile = g_CustomProfiles[static_cast<size_t>(c.profile)];
        profile.*c.index = 4;
        profile.allIndex = 0;
        RecordingHost host(40, 40, 320, 540);
        auto panel = MakePanel<LumoEffectPanel>(host.Get(), nullptr, c.profile);
        ASSERT_TRUE(panel);
        EXPECT_EQ(static_cast<int>(panel->EffectType.Get()), 4);
        const CustomProfile before = profile;
        panel->m_colorButton1.Color = Gdiplus::Color(kPicked);
        EXPECT_EQ(host.Take(), std::vector<Posted>{Value(0, kPickedRef)});
        EffectData* list = c.profile == 1 ? profile.wasdData : profile.qwerData;
        EXPECT_TRUE(Color(&list[4].ColorR, kPicked));
        CustomProfile expected = before;
        (c.profile == 1 ? expected.wasdData : expected.qwerData)[4] = list[4];
        EXPECT_EQ(std::memcmp(&expected, &profile, sizeof(CustomProfile)), 0) << "only the zone record changed";

        CheckRadio(panel->m_effectButtons[1]);
        EXPECT_EQ(host.Take(), std::vector<Posted>{Type(c.profile, 1)});
        EXPECT_EQ(profile.*c.index, 1);
        EXPECT_EQ(profile.allIndex, 0);
    }
}
