#include "backend/device/EffectDispatch.h"

#include "backend/device/RgbKeyboard.h"

namespace {

// The record a zone mode shows, or null when the mode, model type or index
// selects none.
const EffectData* SelectRecord(const CustomProfile& p, int32_t zoneMode, uint32_t modelType, bool useSelection,
                               int32_t snapshot, int32_t& index)
{
    if (modelType < 1 || modelType > 6) return nullptr;
    const EffectData* list = nullptr;
    int length = kZoneEffectCount;
    switch (zoneMode) {
    case 0:
        index = p.allIndex;
        list = p.allData;
        length = kAllZoneEffectCount;
        break;
    case 1:
        index = modelType == 1 ? p.wasdIndex : p.fourIndex;
        list = modelType == 1 ? p.wasdData : p.fourData;
        break;
    case 2:
        index = modelType == 1 ? p.qwerIndex : p.fourIndex;
        list = modelType == 1 ? p.qwerData : p.fourData;
        break;
    default: return nullptr;
    }
    if (useSelection) index = snapshot;
    return RecordAt(list, length, index);
}

void Keep(SyncEffectSlots& slots, bool slotB, int32_t index, const EffectData& effect)
{
    EffectSlot& slot = slotB ? slots.slotB : slots.slotA;
    slot.effectIndex = index;
    slot.effect = effect;
    slots.lastFilled = slotB ? 1 : 0;
}

}  // namespace

void ApplyEffect(EffectDispatchState& state, int32_t profile, uint32_t modelType, bool useSelection)
{
    if (profile < 0 || profile >= kProfileCount) return;
    const CustomProfile& p = state.profiles[profile];

    int32_t zoneMode = p.modeIndex;
    if (useSelection) state.currentTab = profile;
    if (state.support != 0) zoneMode = state.currentTab;

    int32_t index = 0;
    const EffectData* selected = SelectRecord(p, zoneMode, modelType, useSelection, state.panelSnapshot, index);
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
