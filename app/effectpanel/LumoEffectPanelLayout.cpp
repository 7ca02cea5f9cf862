#include "app/effectpanel/LumoEffectPanelLayout.h"

namespace {

constexpr int kEffectStatic = 0;
constexpr int kEffectBreathing = 1;
constexpr int kEffectColorCycle = 2;
constexpr int kEffectRainbow = 3;
constexpr int kEffectStrobing = 4;
constexpr int kEffectMusic = 5;
constexpr int kEffectTemperature = 6;

LumoEffectPanelGroupPlace At(int x, int y)
{
    return LumoEffectPanelGroupPlace{true, x, y};
}

void ShowColors(LumoEffectPanelLayoutPlan& plan, int count, int x, int y)
{
    plan.colorCount = count;
    plan.colors = At(x, y);
}

}  // namespace

const COLORREF kTemperatureBarColors[4] = {RGB(0, 255, 0), RGB(255, 255, 0), RGB(255, 255, 0), RGB(255, 0, 0)};

LumoEffectPanelLayoutPlan BaseEffectPanelLayout(int effectType, bool support)
{
    LumoEffectPanelLayoutPlan plan;
    switch (effectType) {
    case kEffectStatic:
        ShowColors(plan, 1, 15, support ? 280 : 157);
        break;
    case kEffectBreathing:
        ShowColors(plan, 1, 15, 280);
        plan.tempo = At(160, 280);
        break;
    case kEffectColorCycle:
        plan.tempo = At(15, 280);
        break;
    case kEffectStrobing:
        ShowColors(plan, 1, 15, 280);
        break;
    case kEffectMusic:
        plan.music = At(15, 280);
        break;
    case kEffectTemperature:
        plan.temperature = At(13, 288);
        break;
    default:
        break;
    }
    return plan;
}

LumoEffectPanelLayoutPlan MultiColorEffectPanelLayout(int zone, int effectType, bool support, int langIndexUI,
                                                      bool sevenColor)
{
    LumoEffectPanelLayoutPlan plan;
    if (zone == 0 || zone == 2) {
        switch (effectType) {
        case kEffectStatic:
            ShowColors(plan, 1, 15, support ? 280 : 157);
            break;
        case kEffectBreathing:
            if (support) {
                ShowColors(plan, 1, 15, 280);
            } else {
                ShowColors(plan, 2, 15, 157);
                plan.tempo = At(160, 157);
            }
            break;
        case kEffectColorCycle:
            if (!support) plan.tempo = At(15, 157);
            break;
        case kEffectRainbow:
            plan.tempo = At(15, 280);
            break;
        case kEffectStrobing:
            ShowColors(plan, 1, 15, 280);
            plan.tempo = At(160, 280);
            plan.random = At(25, 370);
            break;
        case kEffectMusic:
            plan.music = At(15, 280);
            break;
        case kEffectTemperature:
            plan.temperature = At(13, 288);
            break;
        default:
            break;
        }
        return plan;
    }
    if (zone == 1) {
        const int top = support ? 280 : 157;
        switch (effectType) {
        case kEffectStatic:
            ShowColors(plan, 4, 15, top);
            break;
        case kEffectBreathing:
            ShowColors(plan, 4, 15, top);
            plan.tempo = support ? At(15, sevenColor ? 405 : 360) : At(15, 240);
            break;
        case kEffectColorCycle:
            plan.tempo = At(15, top);
            break;
        case kEffectRainbow:
            plan.tempo = At(160, 280);
            plan.direction = At(langIndexUI == 2 || langIndexUI == 3 ? 35 : 15, 280);
            break;
        case kEffectStrobing:
            ShowColors(plan, 4, 15, 280);
            break;
        default:
            break;
        }
        return plan;
    }
    plan.placeGroups = false;
    return plan;
}

int EffectButtonSlot(int effectType, bool support)
{
    if (effectType < 0 || effectType > kEffectTemperature) return -1;
    if (support) {
        if (effectType == kEffectRainbow || effectType == kEffectMusic || effectType == kEffectTemperature) return -1;
        return effectType == kEffectStrobing ? 3 : effectType;
    }
    return effectType <= kEffectColorCycle ? effectType : -1;
}

void TemperatureBarStops(int low, int high, float positions[4])
{
    const float blend = high - low >= 5 ? 0.06f : 0.0f;
    const float lowAt = low / 100.0f, highAt = high / 100.0f;
    positions[0] = lowAt - blend;
    positions[1] = lowAt + blend;
    positions[2] = highAt - blend;
    positions[3] = highAt + blend;
}
