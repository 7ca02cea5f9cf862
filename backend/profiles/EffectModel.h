#pragma once
#include <array>
#include <cstdint>

// One effect's settings, in the order of the INI keys.
struct EffectData {
    int32_t ColorR, ColorG, ColorB;
    int32_t Color2R, Color2G, Color2B;
    int32_t Color3R, Color3G, Color3B;
    int32_t Color4R, Color4G, Color4B;
    int32_t Color5R, Color5G, Color5B;
    int32_t Color6R, Color6G, Color6B;
    int32_t Color7R, Color7G, Color7B;
    int32_t SpeedType;
    int32_t DirectType;
    int32_t MusicType;
    int32_t TemperatureH;
    int32_t TemperatureL;
    int32_t StrobingRandom;
};
static_assert(sizeof(EffectData) == 27 * sizeof(int32_t), "EffectData is 27 packed integers");

constexpr int kEffectFieldCount = 27;
constexpr int kAllZoneEffectCount = 7;
constexpr int kZoneEffectCount = 5;
constexpr int kProfileCount = 3;
constexpr int kColorCount = 7;

struct CustomProfile {
    int32_t modeIndex;
    int32_t allIndex;
    int32_t wasdIndex;
    int32_t qwerIndex;
    int32_t fourIndex;
    int32_t syncIndex;
    EffectData allData[kAllZoneEffectCount];
    EffectData wasdData[kZoneEffectCount];
    EffectData qwerData[kZoneEffectCount];
    EffectData fourData[kZoneEffectCount];
};

using ProfileTable = std::array<CustomProfile, kProfileCount>;

// The one shared profile table; zero until the first load.
extern ProfileTable g_CustomProfiles;

enum class EffectType : int32_t {
    None = -1,
    Static = 0,
    Breathing = 1,
    ColorCycle = 2,
    Rainbow = 3,
    Strobing = 4,
    Music = 5,
    Temperature = 6,
};

enum class Profile : int32_t { None = -1, Profile0 = 0, Profile1 = 1, Profile2 = 2 };
enum class Zone : int32_t { None = -1, AllKeys = 0, ZoneList1 = 1, ZoneList2 = 2, Sync = 3 };
enum class Tempo : int32_t { None = -1, Slow = 0, Medium = 1, Fast = 2 };
enum class Direction : int32_t { None = -1, Direction0 = 0, Direction1 = 1 };
enum class Music : int32_t { None = -1 };

// Tempo and SpeedType mirror each other: SpeedType = 3 - Tempo.
int32_t SpeedTypeFromTempo(Tempo tempo);
Tempo TempoFromSpeedType(int32_t speedType);

// The effect a missing INI key leaves: red everywhere, medium speed.
EffectData DefaultEffectData();

// Colour n (0..6) of a record as an (r, g, b) view.
struct RgbTriple {
    int32_t r, g, b;
};
RgbTriple EffectColor(const EffectData& effect, int colorIndex);
void SetEffectColor(EffectData& effect, int colorIndex, const RgbTriple& color);

// The record at an index of a list, or null when the index lies outside it;
// stored indices are never trusted.
const EffectData* RecordAt(const EffectData* list, int listLength, int32_t index);
EffectData* RecordAt(EffectData* list, int listLength, int32_t index);

// The index field and list a Zone selects (sync has an index but no list).
int32_t* ZoneIndexField(CustomProfile& profile, Zone zone, unsigned modelType);
EffectData* ZoneRecordList(CustomProfile& profile, Zone zone, unsigned modelType, int& listLength);
