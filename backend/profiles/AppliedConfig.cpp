#include "backend/profiles/AppliedConfig.h"

#include "backend/profiles/IniStore.h"

namespace {

constexpr wchar_t kConfig[] = L"Config";
constexpr int32_t kUnset = -1;

}  // namespace

int32_t* AppliedEffectField(CustomProfile& profile, int32_t appliedProfile, bool support, uint32_t modelType)
{
    const int32_t zone = support ? appliedProfile : profile.modeIndex;
    switch (zone) {
    case 0:
        return &profile.allIndex;
    case 1:
        return modelType == 1 ? &profile.wasdIndex : &profile.fourIndex;
    case 2:
        // Without the support flag mode 2 is always the QWER group.
        return (modelType == 1 || !support) ? &profile.qwerIndex : &profile.fourIndex;
    default:
        return nullptr;
    }
}

int32_t AppliedZoneMode(const CustomProfile& profile, int32_t appliedProfile, bool support)
{
    return support ? appliedProfile : profile.modeIndex;
}

int32_t SettleAppliedProfile(int32_t storedApply)
{
    return (storedApply >= 0 && storedApply < kProfileCount) ? storedApply : 0;
}

AppliedConfig LoadAppliedConfig(const wchar_t* basicPath, ProfileTable& table, bool support, uint32_t modelType,
                                const AppliedConfigReads& reads)
{
    AppliedConfig state;
    state.appliedProfile = SettleAppliedProfile(ReadIniInt(basicPath, kConfig, L"Apply", L""));
    CustomProfile& profile = table[static_cast<size_t>(state.appliedProfile)];
    const bool profileRead = reads.profiles[static_cast<size_t>(state.appliedProfile)];
    // With the support flag the zone mode is the profile's number, not a value of its file.
    const bool writeMode = reads.basicIni && (support || profileRead);
    const bool writeEffect = reads.basicIni && profileRead;

    const int32_t mode = ReadIniInt(basicPath, kConfig, L"ApplyMode", L"-1");
    if (mode == kUnset) {
        if (writeMode) WriteIniInt(basicPath, kConfig, L"ApplyMode", AppliedZoneMode(profile, state.appliedProfile, support));
    } else if (!support) {
        profile.modeIndex = mode;
    }

    int32_t effect = ReadIniInt(basicPath, kConfig, L"ApplyEff", L"-1");
    if (int32_t* field = AppliedEffectField(profile, state.appliedProfile, support, modelType)) {
        if (effect != kUnset) {
            *field = effect;
        } else {
            effect = *field;
            if (writeEffect) WriteIniInt(basicPath, kConfig, L"ApplyEff", effect);
        }
    } else if (effect == kUnset && writeEffect) {
        WriteIniInt(basicPath, kConfig, L"ApplyEff", kUnset);
    }
    state.effect = effect;

    if (support) {
        state.syncMode = state.appliedProfile == 0 ? 0 : 1;
        state.zoneMode = effect == 0 ? 0 : 1;
    }
    return state;
}

bool SaveAppliedConfig(const wchar_t* basicPath, int32_t appliedProfile, int32_t zoneMode, int32_t effect)
{
    bool written = WriteIniInt(basicPath, kConfig, L"Apply", appliedProfile);
    written &= WriteIniInt(basicPath, kConfig, L"ApplyMode", zoneMode);
    written &= WriteIniInt(basicPath, kConfig, L"ApplyEff", effect);
    return written;
}
