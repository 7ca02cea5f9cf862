#pragma once
#include <windows.h>

#include <cstdint>

#include "lumo_keyboard_keys.h"

// The keyboard picture's key tables (generated from the one key source that
// also cuts the picture's holes) and the lookups the preview draws with.

// Current colour of each key as 0xAARRGGBB; opaque black at start.
extern uint32_t g_KeyColors[kKeyboardKeyCount];

// Layout index of the picture; only layout 0 exists.
extern int g_nKeyboardLayout;

// A stored picture coordinate (twice its 100 % size) in pixels at
// g_fUIScale, rounded half away from zero.
int ScaleByHalfDpi(int value);

// Whether the key takes a colour.
inline bool KeyHasLamp(int key)
{
    return key >= 0 && key < kKeyboardKeyCount && g_KeyCodes[key] != kKeyNoLamp;
}

// The key's cap (which = 0) or lamp (which != 0) rectangle in stored units;
// false for a key outside the table or one that is not drawn.
bool GetKeyRect(int key, RECT* rect, int which);

constexpr int kMaxOutlineVertices = 24;
// Corner kinds of an outline vertex: 0..3 rounded (top-left, bottom-left,
// bottom-right, top-right), 4 sharp.
constexpr int kSharpCorner = 4;

struct KeyOutline {
    POINT points[kMaxOutlineVertices];
    int cornerKinds[kMaxOutlineVertices];
    int count;
};

// The key's cap (which = 0) or lamp (which != 0) outline in stored units;
// false when the key has none.
bool GetKeyOutline(int key, KeyOutline* outline, int which);
