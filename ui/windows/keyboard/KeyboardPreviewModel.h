#pragma once
#include <windows.h>

#include <cstdint>

#include "backend/profiles/EffectModel.h"

// What the keyboard picture previews, worked out from the profile table:
// the effect index, the record, the key colours and the effect frame's
// gradient. Plain functions of their arguments, so tests give their own table.

// Model types 0, 1 and 7 have the WASD and QWER groups; 2 to 6 four zones.
bool IsSmallKeyboardModel(unsigned modelType);
bool IsZonedKeyboardModel(unsigned modelType);

struct PreviewSource {
    const ProfileTable& profiles;
    DWORD support;       // g_dwSupport: the profile number doubles as the zone mode
    unsigned modelType;
};

struct PreviewRecord {
    int zoneMode = 0;
    int effectIndex = 0;
    const EffectData* record = nullptr;  // none for an unknown mode or index
};

int PreviewEffectIndex(const PreviewSource& source, int profile);

// The zone mode, effect index and record previewed for profile 0..2.
PreviewRecord SelectPreviewRecord(const PreviewSource& source, int profile);

// Colour of keys whose record is missing (COLORREF red 255, green 16, blue 46).
constexpr COLORREF kMissingRecordColor = 0x2E10FF;

// Writes the lamps' colours (0xAARRGGBB, opaque) for the record; keys without
// a lamp keep theirs except the long key's lower edge, which follows it.
void FillPreviewKeyColors(const PreviewRecord& preview, unsigned modelType, uint32_t* colors);

// Keys lit in colour 1 in the small models' zone modes 1 and 2.
constexpr int kWasdKeys[] = {18, 31, 32, 33};
constexpr int kQwerKeys[] = {17, 18, 19, 20};

// Style word of the zone-colour frame.
constexpr DWORD kFrameStyleFourStop = 0x10000;
constexpr DWORD kFrameStyleSixStop = 0x20000;
constexpr DWORD kFrameStyleBands = 0x40000;
constexpr DWORD kDefaultFrameStyle = 0x20004;

constexpr int kEffectColorCycle = 2;
constexpr int kEffectRainbow = 3;
constexpr int kEffectMusic = 5;
constexpr int kEffectTemperature = 6;

// Whether the preview puts a multi-colour frame behind the keys.
bool WantsEffectFrame(const PreviewSource& source, int profile, int zoneMode, int effectIndex);

struct EffectFrameLayout {
    enum class Kind { None, Gradient, Bands };
    Kind kind = Kind::None;
    bool vertical = false;
    int count = 0;
    float positions[6] = {};
    COLORREF colors[6] = {};  // red in the low byte
};

// The keys whose lamps bound the vertical gradients: the top of the one, the
// bottom of the other.
constexpr int kGradientTopKey = 110;
constexpr int kGradientBottomKey = 84;

// Geometry the frame depends on: picture height and the keys' vertical span
// (kGradientTopKey's lamp top to kGradientBottomKey's lamp bottom, in pixels).
struct FrameGeometry {
    int height;
    int top;
    int bottom;
};

EffectFrameLayout DescribeEffectFrame(int effectIndex, const EffectData* record, unsigned modelType, DWORD style,
                                    const FrameGeometry& geometry);
