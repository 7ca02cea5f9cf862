#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/windows/keyboard/KeyboardKeys.h"

// The coverage of each key's two glow rings, drawn once per picture size with
// DrawKey. The rings' shape does not depend on the colour, so a redraw only
// lays each key's colour through its coverage instead of filling every path
// again.
class KeyGlowMasks {
public:
    // Draws the rings of every key that has outlines at the current scale.
    bool Build(int pictureWidth, int pictureHeight);
    bool IsBuilt() const { return m_built; }
    int PictureWidth() const { return m_width; }
    int PictureHeight() const { return m_height; }

    // The rectangle that holds every ring (empty when none).
    RECT Bounds() const { return m_bounds; }
    bool HasKey(int key) const { return key >= 0 && key < kKeyboardKeyCount && !m_masks[key].coverage.empty(); }

    // Lays the key's rings over a premultiplied BGRA layer whose top-left
    // pixel is the picture's (originX, originY): in one colour, or in the
    // colours of a top-down picture-sized frame at the same places.
    void Compose(uint8_t* layer, int layerWidth, int layerHeight, int originX, int originY, int key,
                 uint32_t argb) const;
    void ComposeFromFrame(uint8_t* layer, int layerWidth, int layerHeight, int originX, int originY, int key,
                          const uint8_t* frame) const;

private:
    struct Mask {
        RECT box = {};  // in picture pixels
        std::vector<uint8_t> coverage;  // box-sized, top row first
    };
    template <typename ColourAt>
    void ComposeWith(uint8_t* layer, int layerWidth, int layerHeight, int originX, int originY, int key,
                     ColourAt colourAt) const;

    Mask m_masks[kKeyboardKeyCount];
    RECT m_bounds = {};
    int m_width = 0, m_height = 0;
    bool m_built = false;
};
