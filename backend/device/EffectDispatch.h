#pragma once
#include <cstdint>

#include "backend/device/WmiLibrary.h"
#include "backend/profiles/EffectModel.h"

// One remembered send: the effect index and a copy of its record.
struct EffectSlot {
    int32_t effectIndex;
    EffectData effect;
};

// What the sync page keeps of the last sends: A the all-keys HID send, B the
// last zone-tab send, and which of them was filled last (0 A, 1 B).
struct SyncEffectSlots {
    EffectSlot slotA;
    EffectSlot slotB;
    int32_t lastFilled;
};

// The state one dispatch reads and writes; the dialog owns all of it.
struct EffectDispatchState {
    ProfileTable& profiles;
    DWORD support;
    int32_t appliedProfile;
    int32_t& currentTab;
    int32_t panelSnapshot;
    SyncEffectSlots& slots;
    WmiLibrary& wmi;
};

// The record that a zone mode of a profile sends and its effect index: the
// stored index, or the panel's snapshot with useSelection. Null when the zone
// mode, model type or index selects none; stored indices are never trusted.
const EffectData* DispatchRecord(const CustomProfile& profile, int32_t zoneMode, uint32_t modelType, bool useSelection,
                                 int32_t snapshot, int32_t& index);

// Sends a profile's effect by the transport, record and zone mode that the
// model type, support flag and tab select.
void ApplyEffect(EffectDispatchState& state, int32_t profile, uint32_t modelType, bool useSelection);
