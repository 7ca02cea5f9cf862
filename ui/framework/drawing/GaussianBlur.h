#pragma once
#include <cstddef>
#include <cstdint>

// A CPU Gaussian blur that gives what the platform's Gaussian blur effect
// gives with its defaults, for systems where the effect is missing.

// The effect's default standard deviation, in pixels of a 96-DPI target.
constexpr float kGaussianBlurDefaultDeviation = 3.0f;

// Taps on each side of the centre: three deviations, rounded up (0 for a
// deviation of 0 or less, which leaves the picture as it is).
int GaussianBlurRadius(float deviation);

// How many bands (threads) a destination of this size is split into.
int GaussianBlurBandCount(int width, int height);

// Blurs a premultiplied 32bpp BGRA picture into dest; both start at (0, 0)
// and may differ in size. Pixels outside the source count as transparent
// black (the effect's soft border), so edges fade out in all four channels.
// Strides are bytes from one row to the next. Results are within one unit of
// the exact convolution. False (dest untouched) for null pictures, empty
// sizes, strides shorter than a row, or no memory.
bool GaussianBlurBgra(const uint8_t* source, int sourceWidth, int sourceHeight, ptrdiff_t sourceStride,
                      uint8_t* dest, int destWidth, int destHeight, ptrdiff_t destStride, float deviation);
