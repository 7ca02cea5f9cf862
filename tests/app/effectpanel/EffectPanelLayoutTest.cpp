// The effect panels' layout tables, button packing and temperature stops,
// without windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/effectpanel/LumoEffectPanelLayout.h"

namespace {

// A plan written as text: "colors1@15,280 tempo@160,280"; nothing shown is "".
std::string Describe(const LumoEffectPanelLayoutPlan& plan)
{
    if (!plan.placeGroups) return "keep";
    std::string text;
    auto add = [&text](const char* name, const LumoEffectPanelGroupPlace& at) {
        if (!at.shown) return;
        if (!text.empty()) text += ' ';
        text += std::string(name) + "@" + std::to_string(at.x) + "," + std::to_string(at.y);
    };
    if (plan.colorCount > 0) add(("colors" + std::to_string(plan.colorCount)).c_str(), plan.colors);
    add("tempo", plan.tempo);
    add("direction", plan.direction);
    add("music", plan.music);
    add("temperature", plan.temperature);
    add("random", plan.random);
    return text;
}

}  // namespace

TEST(EffectPanelLayoutPlan, BasePanelShowsTheGroupsOfEachEffectType)
{
    struct Case {
        int effect;
        bool support;
        const char* shown;
    };
    const Case cases[] = {
        {0, true, "colors1@15,280"},
        {0, false, "colors1@15,157"},
        {1, true, "colors1@15,280 tempo@160,280"},
        {1, false, "colors1@15,280 tempo@160,280"},
        {2, true, "tempo@15,280"},
        {3, true, ""},
        {4, true, "colors1@15,280"},
        {5, true, "music@15,280"},
        {6, true, "temperature@13,288"},
        {-1, true, ""},
        {7, true, ""},
        {0x7FFFFFFF, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(BaseEffectPanelLayout(c.effect, c.support)), c.shown)
            << "effect " << c.effect << " support " << c.support;
}

TEST(EffectPanelLayoutPlan, MultiColorPanelsByZoneEffectSupportAndLanguage)
{
    struct Case {
        int zone;
        int effect;
        bool support;
        int lang;
        bool seven;
        const char* shown;
    };
    const Case cases[] = {
        // All keys and sync share one table.
        {0, 0, true, 1, false, "colors1@15,280"},
        {2, 0, false, 1, false, "colors1@15,157"},
        {0, 1, true, 1, false, "colors1@15,280"},
        {0, 1, false, 1, true, "colors2@15,157 tempo@160,157"},
        {2, 2, true, 1, false, ""},
        {0, 2, false, 1, false, "tempo@15,157"},
        {0, 3, true, 1, false, "tempo@15,280"},
        {0, 4, true, 1, true, "colors1@15,280 tempo@160,280 random@25,370"},
        {0, 5, true, 1, false, "music@15,280"},
        {2, 6, true, 1, false, "temperature@13,288"},
        {0, -1, true, 1, false, ""},
        // Four zones.
        {1, 0, true, 1, false, "colors4@15,280"},
        {1, 0, false, 1, true, "colors4@15,157"},
        {1, 1, true, 1, false, "colors4@15,280 tempo@15,360"},
        {1, 1, true, 1, true, "colors4@15,280 tempo@15,405"},
        {1, 1, false, 1, true, "colors4@15,157 tempo@15,240"},
        {1, 2, true, 1, false, "tempo@15,280"},
        {1, 2, false, 1, false, "tempo@15,157"},
        {1, 3, true, 1, false, "tempo@160,280 direction@15,280"},
        {1, 3, true, 2, false, "tempo@160,280 direction@35,280"},
        {1, 3, true, 3, true, "tempo@160,280 direction@35,280"},
        {1, 3, true, 4, false, "tempo@160,280 direction@15,280"},
        {1, 4, true, 1, false, "colors4@15,280"},
        // Effect indexes the four-zone list does not have show nothing.
        {1, 5, true, 1, false, ""},
        {1, 6, true, 1, true, ""},
        // Other zones leave the groups where they are.
        {3, 0, true, 1, false, "keep"},
        {-1, 1, true, 1, true, "keep"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(MultiColorEffectPanelLayout(c.zone, c.effect, c.support, c.lang, c.seven)), c.shown)
            << "zone " << c.zone << " effect " << c.effect << " support " << c.support << " lang " << c.lang
            << " seven " << c.seven;
}

TEST(EffectPanelLayoutPlan, EffectButtonsArePackedIntoSlots)
{
    const int withSupport[] = {0, 1, 2, -1, 3, -1, -1};
    const int withoutSupport[] = {0, 1, 2, -1, -1, -1, -1};
    for (int effect = 0; effect < 7; ++effect) {
        EXPECT_EQ(EffectButtonSlot(effect, true), withSupport[effect]) << effect;
        EXPECT_EQ(EffectButtonSlot(effect, false), withoutSupport[effect]) << effect;
    }
    for (int effect : {-1, 7, 100, -100}) {
        EXPECT_EQ(EffectButtonSlot(effect, true), -1) << effect;
        EXPECT_EQ(EffectButtonSlot(effect, false), -1) << effect;
    }
}

TEST(EffectPanelLayoutPlan, TemperatureStopsHaveHardEdgesUnderFiveApartAndBlendsOtherwise)
{
    struct Case {
        int low, high;
        float stops[4];
    };
    const Case cases[] = {
        {30, 33, {0.30f, 0.30f, 0.33f, 0.33f}},
        {30, 60, {0.24f, 0.36f, 0.54f, 0.66f}},
        {30, 35, {0.24f, 0.36f, 0.29f, 0.41f}},
        {30, 34, {0.30f, 0.30f, 0.34f, 0.34f}},
    };
    for (const Case& c : cases) {
        float stops[4] = {};
        TemperatureBarStops(c.low, c.high, stops);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(stops[i], c.stops[i], 1e-5f) << c.low << "/" << c.high << " stop " << i;
    }
    EXPECT_EQ(kTemperatureBarColors[0], RGB(0, 255, 0));
    EXPECT_EQ(kTemperatureBarColors[1], RGB(255, 255, 0));
    EXPECT_EQ(kTemperatureBarColors[2], RGB(255, 255, 0));
    EXPECT_EQ(kTemperatureBarColors[3], RGB(255, 0, 0));
}
