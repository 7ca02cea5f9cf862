#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "ui/framework/core/MemoryDC.h"

// Metrics and face caches of the zone combo box, shared by its three pieces.
// The caches are process globals: one combo box per process, at most four
// items.
constexpr int kComboMaxItems = 4;
constexpr int kComboNoItem = kComboMaxItems;  // the slot of "no item" / "no row hovered"
constexpr int kComboBoxStates = 4;            // normal, hover, pressed, focused
constexpr int kComboTextChars = 260;          // texts hold at most 259 characters

// A rectangle as position and size.
struct ComboRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ComboMetrics {
    int boxWidth = 287;
    int boxHeight = 36;
    int boxTextLeft = 15;
    int listTextLeft = 15;
    int textRight = 0;
    int listOffsetX = 0, listOffsetY = 0, listOffsetWidth = 0, listOffsetItemHeight = 0;
    int rowEdge = 5;

    int ListWidth() const { return boxWidth - listOffsetWidth; }
    int ItemHeight() const { return boxHeight - listOffsetItemHeight; }
};
extern ComboMetrics g_ComboMetrics;

// The metrics at the current g_fUIScale; the right padding follows g_nLangIndex.
ComboMetrics ComputeComboMetrics(float uiScale, int langIndex);

struct ComboFaceCache {
    // Box faces by item slot (0..3, 4 = no item) and state.
    std::array<std::array<std::unique_ptr<CMemoryDC>, kComboBoxStates>, kComboMaxItems + 1> box;
    // List faces by hovered row (0..3, 4 = none).
    std::array<std::unique_ptr<CMemoryDC>, kComboMaxItems + 1> list;

    void Clear()
    {
        for (auto& row : box)
            for (auto& face : row) face.reset();
        for (auto& face : list) face.reset();
    }
};
extern ComboFaceCache g_ComboFaces;
