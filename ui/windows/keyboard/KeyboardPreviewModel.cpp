#include "ui/windows/keyboard/KeyboardPreviewModel.h"

#include <algorithm>

#include "lumo_keyboard_keys.h"

namespace {

uint8_t ColorByte(int32_t value)
{
    // Stored values come from profile files: keep them inside a byte.
    return static_cast<uint8_t>(std::clamp<int32_t>(value, 0, 255));
}

uint32_t OpaqueArgb(const RgbTriple& rgb)
{
    return 0xFF000000u | (uint32_t(ColorByte(rgb.r)) << 16) | (uint32_t(ColorByte(rgb.g)) << 8) | ColorByte(rgb.b);
}

uint32_t OpaqueArgb(COLORREF color)
{
    return 0xFF000000u | (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
}

COLORREF RecordColor(const EffectData& record, int index)
{
    const RgbTriple rgb = EffectColor(record, index);
    return RGB(ColorByte(rgb.r), ColorByte(rgb.g), ColorByte(rgb.b));
}

bool Contains(const int (&keys)[4], int key)
{
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

// Index field and list for a zone mode of one profile; false for a mode the
// model does not have.
bool ZoneChoice(const CustomProfile& profile, int zoneMode, unsigned modelType, int32_t& index,
                const EffectData*& list, int& length)
{
    const bool small = IsSmallKeyboardModel(modelType);
    const bool zoned = IsZonedKeyboardModel(modelType);
    if (zoneMode == 0) {
        index = profile.allIndex;
        list = profile.allData;
        length = kAllZoneEffectCount;
    } else if (zoneMode == 1 && small) {
        index = profile.wasdIndex;
        list = profile.wasdData;
        length = kZoneEffectCount;
    } else if (zoneMode == 2 && small) {
        index = profile.qwerIndex;
        list = profile.qwerData;
        length = kZoneEffectCount;
    } else if (zoneMode == 1 && zoned) {
        index = profile.fourIndex;
        list = profile.fourData;
        length = kZoneEffectCount;
    } else {
        return false;
    }
    return true;
}

// With the support flag profile 2 of a zoned model previews its four zones.
int SupportedZoneChoice(int profile, unsigned modelType)
{
    return profile == 2 && IsZonedKeyboardModel(modelType) ? 1 : profile;
}

}  // namespace

bool IsSmallKeyboardModel(unsigned modelType)
{
    return modelType == 0 || modelType == 1 || modelType == 7;
}

bool IsZonedKeyboardModel(unsigned modelType)
{
    return modelType >= 2 && modelType <= 6;
}

PreviewRecord SelectPreviewRecord(const PreviewSource& source, int profile)
{
    PreviewRecord preview;
    if (profile < 0 || profile >= kProfileCount) return preview;
    const CustomProfile& chosen = source.profiles[static_cast<size_t>(profile)];
    int choice = 0;
    if (source.support) {
        preview.zoneMode = profile;
        choice = SupportedZoneChoice(profile, source.modelType);
    } else {
        preview.zoneMode = chosen.modeIndex;
        choice = chosen.modeIndex;
    }
    int32_t index = 0;
    const EffectData* list = nullptr;
    int length = 0;
    if (!ZoneChoice(chosen, choice, source.modelType, index, list, length)) return preview;
    preview.effectIndex = index;
    preview.record = RecordAt(list, length, index);
    return preview;
}

int PreviewEffectIndex(const PreviewSource& source, int profile)
{
    return SelectPreviewRecord(source, profile).effectIndex;
}

void FillPreviewKeyColors(const PreviewRecord& preview, unsigned modelType, uint32_t* colors)
{
    uint32_t colorA = OpaqueArgb(kMissingRecordColor);
    uint32_t colorB = colorA;
    const bool small = IsSmallKeyboardModel(modelType);
    const bool grouped = small && (preview.zoneMode == 1 || preview.zoneMode == 2);
    if (preview.record) {
        colorA = OpaqueArgb(EffectColor(*preview.record, 0));
        colorB = grouped ? OpaqueArgb(EffectColor(*preview.record, 1)) : colorA;
    }
    for (int key = 0; key < kKeyboardKeyCount; ++key) {
        if (g_KeyCodes[key] == kKeyNoLamp) {
            if (key == kLongKeyLowerEdge) colors[key] = colors[kLongKey];
            continue;
        }
        if (grouped) {
            const bool inGroup = preview.zoneMode == 1 ? Contains(kWasdKeys, key) : Contains(kQwerKeys, key);
            colors[key] = inGroup ? colorA : colorB;
        } else {
            colors[key] = colorA;
        }
    }
}

bool WantsEffectFrame(const PreviewSource& source, int profile, int zoneMode, int effectIndex)
{
    const bool multiColour =
        effectIndex == kEffectRainbow || effectIndex == kEffectMusic || effectIndex == kEffectTemperature;
    if (!source.support) return IsZonedKeyboardModel(source.modelType) && zoneMode == 1 && (effectIndex == 0 || effectIndex == 1);
    if (IsZonedKeyboardModel(source.modelType) && (profile == 1 || profile == 2)) {
        return effectIndex != kEffectColorCycle;
    }
    return (IsSmallKeyboardModel(source.modelType) || IsZonedKeyboardModel(source.modelType)) && multiColour;
}

EffectFrameLayout DescribeEffectFrame(int effectIndex, const EffectData* record, unsigned modelType, DWORD style,
                                    const FrameGeometry& geometry)
{
    EffectFrameLayout layout;
    const float h = static_cast<float>(geometry.height > 0 ? geometry.height : 1);
    const float top = static_cast<float>(geometry.top);
    const float bottom = static_cast<float>(geometry.bottom);
    const float span = bottom - top;
    auto set = [&layout](int count, bool vertical, std::initializer_list<float> positions,
                       std::initializer_list<COLORREF> colors) {
        layout.kind = EffectFrameLayout::Kind::Gradient;
        layout.vertical = vertical;
        layout.count = count;
        std::copy(positions.begin(), positions.end(), layout.positions);
        std::copy(colors.begin(), colors.end(), layout.colors);
    };
    if (effectIndex == kEffectMusic) {
        set(2, true, {(top + span / 3.0f) / h, (top + 2.0f * span / 3.0f) / h}, {RGB(255, 0, 255), RGB(119, 0, 255)});
        return layout;
    }
    if (effectIndex == kEffectRainbow) {
        set(6, false, {0.1f, 0.3f, 0.55f, 0.7f, 0.8f, 0.9f},
            {RGB(255, 0, 255), RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 255), RGB(0, 0, 255)});
        return layout;
    }
    if (effectIndex == kEffectTemperature) {
        set(3, true, {(top + span / 6.0f) / h, (top + bottom) / (2.0f * h), (top + 5.0f * span / 6.0f) / h},
            {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0)});
        return layout;
    }
    if (!record) return layout;

    float a = 0.327f, b = 0.602f, c = 0.81f;
    if (modelType == 3) {
        a = 0.408f, b = 0.536f, c = 0.83f;
    } else if (modelType == 4) {
        a = 0.383f, b = 0.513f, c = 0.774f;
    }
    const float centres[4] = {a / 2.0f, (a + b) / 2.0f, (b + c) / 2.0f, (c + 1.0f) / 2.0f};
    const COLORREF c1 = RecordColor(*record, 0), c2 = RecordColor(*record, 1), c3 = RecordColor(*record, 2),
                   c4 = RecordColor(*record, 3);
    const bool narrowModel = modelType == 3 || modelType == 4;
    if ((style & kFrameStyleFourStop) || ((style & kFrameStyleSixStop) && narrowModel)) {
        set(4, false, {centres[0], centres[1], centres[2], centres[3]}, {c1, c2, c3, c4});
    } else if (style & kFrameStyleSixStop) {
        set(6, false, {a - 0.06f, a + 0.06f, b - 0.06f, b + 0.06f, c - 0.06f, c + 0.06f}, {c1, c2, c2, c3, c3, c4});
    } else if (style & kFrameStyleBands) {
        layout.kind = EffectFrameLayout::Kind::Bands;
        layout.count = 4;
        std::copy(std::begin(centres), std::end(centres), layout.positions);
        layout.colors[0] = c1, layout.colors[1] = c2, layout.colors[2] = c3, layout.colors[3] = c4;
    }
    return layout;
}
