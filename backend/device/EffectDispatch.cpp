#include "backend/device/EffectDispatch.h"

#include "backend/device/RgbKeyboard.h"

namespace {

// The list a zone mode sends from, its length and the stored index into it;
// false for a zone mode or model type that has none.
bool ZoneList(const CustomProfile& p, int32_t zoneMode, uint32_t modelType, const EffectData*& list, int& length,
              int32_t& storedIndex)
{
    if (modelType < 1 || modelType > 6) return false;
    const bool small = modelType == 1;
    length = kZoneEffectCount;
    switch (zoneMode) {
    case 0:
        list = p.allData;
        length = kAllZoneEffectCount;
        storedIndex = p.allIndex;
        return true;
    case 1:
        list = small ? p.wasdData : p.fourData;
        storedIndex = small ? p.wasdIndex : p.fourIndex;
        return true;
    case 2:
        list = small ? p.qwerData : p.fourData;
        storedIndex = small ? p.qwerIndex : p.fourIndex;
        return true;
    default:
        return false;
    }
}

void Keep(SyncEffectSlots& slots, bool slotB, int32_t index, const EffectData& effect)
{
    EffectSlot& slot = slotB ? slots.slotB : slots.slotA;
    slot.effectIndex = index;
    slot.effect = effect;
    slots.lastFilled = slotB ? 1 : 0;
}

}  // namespace

const EffectData* DispatchRecord(const CustomProfile& p, int32_t zoneMode, uint32_t modelType, bool useSelection,
                                 int32_t snapshot, int32_t& index)
{
    const EffectData* list = nullptr;
    int length = 0;
    if (!ZoneList(p, zoneMode, modelType, list, length, index)) return nullptr;
    if (useSelection) index = snapshot;
    return RecordAt(list, length, index);
}

void ApplyEffect(EffectDispatchState& state, int32_t profile, uint32_t modelType, bool useSelection)
{
    if (profile < 0 || profile >= kProfileCount) return;
    const CustomProfile& p = state.profiles[profile];

    int32_t zoneMode = p.modeIndex;
    if (useSelection) state.currentTab = profile;
    if (state.support != 0) zoneMode = state.currentTab;

    int32_t index = 0;
    const EffectData* selected = DispatchRecord(p, zoneMode, modelType, useSelection, state.panelSnapshot, index);
    if (selected == nullptr) return;
    const EffectData record = *selected;
    const int32_t tab = state.currentTab;

    if (modelType == 1) {
        if (state.support == 0) {
            state.wmi.SetEffectByWMI(index, record, zoneMode);
            ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
        } else if (tab == 0) {
            state.wmi.SetEffectByWMI(index, record, state.appliedProfile);
        } else if (tab == 1 || tab == 2) {
            state.wmi.SetEffectByWMI(index, record, tab);
            ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
            Keep(state.slots, true, index, record);
        }
        return;
    }

    if (state.support == 0) {
        SetRGBKBEffect(index, zoneMode == 0, record, modelType);
        ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
    } else if (tab == 0) {
        SetRGBKBEffect(index, true, record, modelType);
        Keep(state.slots, false, index, record);
    } else if (tab == 1 || tab == 2) {
        SetRGBKBEffect(index, false, record, modelType);
        ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
        Keep(state.slots, true, index, record);
    }
}
