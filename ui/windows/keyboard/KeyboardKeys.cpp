#include "ui/windows/keyboard/KeyboardKeys.h"

#include "ui/framework/scale/Scale.h"

uint32_t g_KeyColors[kKeyboardKeyCount] = {};
int g_nKeyboardLayout = 0;

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// Every colour starts opaque black.
struct KeyColorsInit {
    KeyColorsInit()
    {
        for (uint32_t& color : g_KeyColors) color = kOpaqueBlack;
    }
} g_keyColorsInit;

constexpr bool RectIsEmpty(const std::uint16_t* rect)
{
    return rect[0] == 0 && rect[1] == 0 && rect[2] == 0 && rect[3] == 0;
}

constexpr int CountLampless()
{
    int count = 0;
    for (int key = 0; key < kKeyboardKeyCount; ++key) count += g_KeyCodes[key] == kKeyNoLamp ? 1 : 0;
    return count;
}

constexpr int CountDrawn()
{
    int count = 0;
    for (int key = 0; key < kKeyboardKeyCount; ++key) count += RectIsEmpty(g_KeyRects[key]) ? 0 : 1;
    return count;
}

constexpr int kLamplessKeys[] = {0,   63,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  77,  78,  81,  82, 87,
                                 88,  94,  107, 109, 111, 125, 128, 130, 134, 135, 136, 137, 138, 139, 149, 151, 152};
constexpr int kLampKeysNotDrawn[] = {14,  42,  45,  56,  85,  86,  131, 132, 133,
                                     140, 141, 142, 143, 144, 145, 146, 147, 148};
constexpr std::uint8_t kExpectedPresentBits[20] = {0x4c, 0xc0, 0x37, 0xf9, 0x6f, 0xff, 0xff, 0xff, 0xff, 0xff,
                                                   0x9f, 0x7f, 0xec, 0x3f, 0x01, 0x80, 0xff, 0x0f, 0xf0, 0x01};

// Every listed key has (or lacks) a lamp and a rectangle as said.
template <size_t N>
constexpr bool ListedKeysAre(const int (&keys)[N], bool lamp, bool drawn)
{
    for (size_t i = 0; i < N; ++i) {
        const int key = keys[i];
        const bool hasLamp = g_KeyCodes[key] != kKeyNoLamp;
        const bool isDrawn = !RectIsEmpty(g_KeyRects[key]);
        if (hasLamp != lamp || (isDrawn != drawn && key != kLongKeyLowerEdge)) return false;
    }
    return true;
}

constexpr bool PresentBitsAsExpected()
{
    for (int i = 0; i < 20; ++i) {
        if (kKeyPresentBits[i] != kExpectedPresentBits[i]) return false;
    }
    return true;
}

// The numbering the rest of the program relies on: a table that drifted from
// it does not build.
static_assert(kKeyboardKeyCount == 153, "153 keys");
static_assert(CountLampless() == 35, "35 keys without a lamp");
static_assert(CountDrawn() == 101, "101 keys with rectangles");
static_assert(g_KeyCodes[kLongKeyLowerEdge] == kKeyNoLamp && !RectIsEmpty(g_KeyRects[kLongKeyLowerEdge]),
              "the long key's lower edge is drawn without a lamp");
static_assert(kLongKey == 61, "the long key");
// 35 distinct keys listed, all without a lamp: exactly the lamp-less ones.
static_assert(sizeof(kLamplessKeys) / sizeof(kLamplessKeys[0]) == 35 && ListedKeysAre(kLamplessKeys, false, false),
              "the listed keys are the lamp-less ones, drawn only for the long key's edge");
static_assert(ListedKeysAre(kLampKeysNotDrawn, true, false), "keys with a lamp that are never drawn");
static_assert(CountDrawn() == kKeyboardKeyCount - 35 + 1 - 18, "every other key is drawn");
static_assert(PresentBitsAsExpected(), "the music preview's key-present set");
static_assert(sizeof(kLongKeyCapOutline) / sizeof(kLongKeyCapOutline[0]) <= kMaxOutlineVertices &&
                  sizeof(kLongKeyLampOutline) / sizeof(kLongKeyLampOutline[0]) <= kMaxOutlineVertices,
              "outline fits");

template <size_t N>
void CopyOutline(const KeyOutlineVertex (&vertices)[N], KeyOutline* outline)
{
    for (size_t i = 0; i < N; ++i) {
        outline->points[i] = {vertices[i].x, vertices[i].y};
        outline->cornerKinds[i] = vertices[i].cornerKind;
    }
    outline->count = static_cast<int>(N);
}

}  // namespace

int ScaleByHalfDpi(int value)
{
    return ScaleValue(value, g_fUIScale * 0.5f);
}

bool GetKeyRect(int key, RECT* rect, int which)
{
    if (!rect || key < 0 || key >= kKeyboardKeyCount) return false;
    const std::uint16_t* stored = g_KeyRects[key] + (which ? 4 : 0);
    if (RectIsEmpty(stored)) return false;
    *rect = {stored[0], stored[1], stored[2], stored[3]};
    return true;
}

bool GetKeyOutline(int key, KeyOutline* outline, int which)
{
    if (!outline || key == kLongKeyLowerEdge || key == kKeyboardKeyCount - 1) return false;
    if (key == kLongKey) {
        if (which) {
            CopyOutline(kLongKeyLampOutline, outline);
        } else {
            CopyOutline(kLongKeyCapOutline, outline);
        }
        return true;
    }
    RECT rect;
    if (!GetKeyRect(key, &rect, which)) return false;
    const POINT corners[4] = {{rect.left, rect.top}, {rect.left, rect.bottom}, {rect.right, rect.bottom},
                              {rect.right, rect.top}};
    for (int i = 0; i < 4; ++i) {
        outline->points[i] = corners[i];
        outline->cornerKinds[i] = i;
    }
    outline->count = 4;
    return true;
}
