#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// What the screen shows in a rectangle of screen coordinates: 0x00RRGGBB
// values, top row first; empty when it could not be read.
std::vector<uint32_t> ReadScreenPixels(const RECT& rect);
// The one pixel at a screen point, as ReadScreenPixels gives it; 0xFFFFFFFF,
// which is no colour it gives, when it could not be read.
uint32_t ReadScreenPixel(int x, int y);

// The rectangle's picture once it has stopped changing: read until it has
// been the same for a settled span, so fades and glides are over. Empty when
// it kept changing for the whole patience.
std::vector<uint32_t> ReadSettledScreenPixels(const RECT& rect, DWORD patienceMs);

// Where two pictures of one width differ: how many pixels and the box around
// them; empty when they are the same.
std::string PixelDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width);

}  // namespace testsupport
