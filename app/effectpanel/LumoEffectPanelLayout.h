#pragma once
#include <windows.h>

// Where the effect panels put their option groups, at 100 % scale, as plain
// tables: Layout scales and applies them.

struct LumoEffectPanelGroupPlace {
    bool shown = false;
    int x = 0;
    int y = 0;
};

struct LumoEffectPanelLayoutPlan {
    // false: leave every group as it stands (only the applied marker moves).
    bool placeGroups = true;
    // Swatches shown in the colour row (0 hides the row), anchored at colors.
    int colorCount = 0;
    LumoEffectPanelGroupPlace colors;
    LumoEffectPanelGroupPlace tempo;
    LumoEffectPanelGroupPlace direction;
    LumoEffectPanelGroupPlace music;
    LumoEffectPanelGroupPlace temperature;
    LumoEffectPanelGroupPlace random;
};

// The single-colour panel: by effect type, with or without the support flag.
LumoEffectPanelLayoutPlan BaseEffectPanelLayout(int effectType, bool support);

// The four- and seven-colour panels: by zone (0 all keys, 1 four zones,
// 2 sync; others leave the groups) and effect type; the interface language
// moves the direction group.
LumoEffectPanelLayoutPlan MultiColorEffectPanelLayout(int zone, int effectType, bool support, int langIndexUI,
                                                      bool sevenColor);

// The effect buttons are packed: the slot an effect's button takes, or -1
// when that effect gets no button.
int EffectButtonSlot(int effectType, bool support);

// The temperature bar's four gradient stops for a low and high value:
// hard edges when they are under 5 apart, else blends of +-0.06.
void TemperatureBarStops(int low, int high, float positions[4]);
extern const COLORREF kTemperatureBarColors[4];
