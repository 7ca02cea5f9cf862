#pragma once
#include <array>
#include <cstdint>

#include "backend/profiles/EffectModel.h"

// Basic.ini [Config]: which profile is applied, with its zone mode and effect.
// "Apply", "ApplyMode" and "ApplyEff" are read by the window at start and
// after another process changed them, and written by Apply and "-apply".
struct AppliedConfig {
    int32_t appliedProfile = 0;  // 0..2
    int32_t effect = -1;         // the applied effect index, -1 when none
    int32_t syncMode = 0;        // the power-state page's device-sync mode
    int32_t zoneMode = 0;        // the zone mode shown
};

// The index field of a profile that holds its applied effect: with the
// support flag the applied profile decides, without it the profile's mode.
// Null when the mode names no zone (above 2).
int32_t* AppliedEffectField(CustomProfile& profile, int32_t appliedProfile, bool support, uint32_t modelType);

// "ApplyMode", the zone mode of the applied profile: with the support flag a
// profile's number is its zone mode (its tab), without it its modeIndex.
int32_t AppliedZoneMode(const CustomProfile& profile, int32_t appliedProfile, bool support);

// An "Apply" outside the three profiles would index past the table and name a
// tab that does not exist: it counts as profile 0.
int32_t SettleAppliedProfile(int32_t storedApply);

// What the start could read: Basic.ini itself and each profile's file. A
// value is written back only from files that were read: one that could not be
// read gives the defaults, which are not known to be what it holds.
struct AppliedConfigReads {
    bool basicIni = true;
    std::array<bool, kProfileCount> profiles{{true, true, true}};
};

// Reads [Config] into the applied profile of the table and the returned
// state. Without the support flag "ApplyMode" is the profile's modeIndex;
// with it the zone mode is the tab, so the profile keeps the modeIndex its
// file holds. "ApplyMode" and "ApplyEff" that are missing (-1) are written
// back from the profile when the files they come from were read.
AppliedConfig LoadAppliedConfig(const wchar_t* basicPath, ProfileTable& table, bool support, uint32_t modelType,
                                const AppliedConfigReads& reads = AppliedConfigReads{});

// Apply's record of the applied profile, zone mode and effect.
bool SaveAppliedConfig(const wchar_t* basicPath, int32_t appliedProfile, int32_t zoneMode, int32_t effect);
