#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <tinyxml2.h>

#include "backend/profiles/EffectModel.h"

// One lamp's name as the lighting service gives it.
struct LedKey {
    std::string key;
    std::string locationname;
};

// One lamp of the capability list.
struct LedRecord {
    LedKey ledKey;
    int32_t color = 0xFFFFFF;
    float hue = 0.875f;
    float saturation = 1.0f;
    float lightness = 0.5f;
    // Set before each profile request.
    int32_t effectIndex = 0;
    int32_t speed = 0;
    int32_t direction = 0;
    // Kept with the record but never written into a document.
    std::string reservedId = "-1";
    std::string reservedMark = "\xFF";
    std::vector<int32_t> reservedListA = std::vector<int32_t>(2, 0);
    std::vector<int32_t> reservedListB = std::vector<int32_t>(2, 0);
    int32_t reservedValues[4] = {-1, -1, -1, -1};
};

// One device of the status list.
struct DeviceEntry {
    std::string name;
    bool inGroup = false;
};

// Channels are 0..255; values outside are clamped so that no document ever
// carries inf or nan. Hue is stored in [0, 1).
void RGBToHSL(float r, float g, float b, LedRecord& record);

namespace service {

extern const char kKeyboardDeviceName[];
extern const char kResetRequest[];
extern const char kStopRequest[];

// The documents are 8-bit text; the service speaks UTF-16 unit by unit.
std::string NarrowUnits(const std::wstring& text);
std::wstring WidenBytes(const std::string& text);

// The printer's default (indented) form.
std::string PrintDocument(const tinyxml2::XMLDocument& document);

// Service mode M of an effect index (static 1, breathing 2, colour cycle 4,
// rainbow 5, strobing 17, music 19, temperature 18).
long long ServiceModeFromEffectIndex(int effectIndex);
int MusicIndexFromMusicType(int32_t musicType);
int EffectSpeedFromSpeedType(int32_t speedType);

// The in-group request (funcid 7).
std::string BuildSyncDocument(const std::vector<DeviceEntry>& devices);

// The lamps of a profile request: same names, starting values, the colour
// and settings of the effect.
std::vector<LedRecord> BuildLampList(const std::vector<LedRecord>& capability, int effectIndex,
                                     const EffectData& effect);

// The profile request (funcid 4) into an empty document.
void BuildProfileDocument(tinyxml2::XMLDocument& document, const std::vector<LedRecord>& lamps,
                          const std::vector<DeviceEntry>& devices, int effectIndex, const EffectData& effect);

}  // namespace service
