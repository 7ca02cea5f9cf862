#include "backend/profiles/EffectModel.h"

ProfileTable g_CustomProfiles = {};

int32_t SpeedTypeFromTempo(Tempo tempo)
{
    return 3 - static_cast<int32_t>(tempo);
}

Tempo TempoFromSpeedType(int32_t speedType)
{
    if (speedType < 1 || speedType > 3) return Tempo::None;
    return static_cast<Tempo>(3 - speedType);
}

EffectData DefaultEffectData()
{
    EffectData effect{};
    int32_t* fields = &effect.ColorR;
    for (int color = 0; color < kColorCount; ++color) fields[color * 3] = 255;
    effect.SpeedType = 2;
    effect.DirectType = 0;
    effect.MusicType = 0;
    effect.TemperatureH = 60;
    effect.TemperatureL = 30;
    effect.StrobingRandom = 0;
    return effect;
}

RgbTriple EffectColor(const EffectData& effect, int colorIndex)
{
    if (colorIndex < 0 || colorIndex >= kColorCount) return {0, 0, 0};
    const int32_t* fields = &effect.ColorR + colorIndex * 3;
    return {fields[0], fields[1], fields[2]};
}

void SetEffectColor(EffectData& effect, int colorIndex, const RgbTriple& color)
{
    if (colorIndex < 0 || colorIndex >= kColorCount) return;
    int32_t* fields = &effect.ColorR + colorIndex * 3;
    fields[0] = color.r;
    fields[1] = color.g;
    fields[2] = color.b;
}

const EffectData* RecordAt(const EffectData* list, int listLength, int32_t index)
{
    if (list == nullptr || index < 0 || index >= listLength) return nullptr;
    return &list[index];
}

EffectData* RecordAt(EffectData* list, int listLength, int32_t index)
{
    if (list == nullptr || index < 0 || index >= listLength) return nullptr;
    return &list[index];
}

int32_t* ZoneIndexField(CustomProfile& profile, Zone zone, unsigned modelType)
{
    switch (zone) {
    case Zone::AllKeys: return &profile.allIndex;
    case Zone::ZoneList1: return modelType == 1 ? &profile.wasdIndex : &profile.fourIndex;
    case Zone::ZoneList2: return modelType == 1 ? &profile.qwerIndex : &profile.fourIndex;
    case Zone::Sync: return &profile.syncIndex;
    default: return nullptr;
    }
}

EffectData* ZoneRecordList(CustomProfile& profile, Zone zone, unsigned modelType, int& listLength)
{
    listLength = kZoneEffectCount;
    switch (zone) {
    case Zone::AllKeys: listLength = kAllZoneEffectCount; return profile.allData;
    case Zone::ZoneList1: return modelType == 1 ? profile.wasdData : profile.fourData;
    case Zone::ZoneList2: return modelType == 1 ? profile.qwerData : profile.fourData;
    default: listLength = 0; return nullptr;
    }
}
