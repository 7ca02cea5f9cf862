#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

namespace testsupport {

// The blur written the plain way: a 2-D convolution with a Gaussian cut at
// three standard deviations, pixels outside the source transparent black.
// Pictures are BGRA bytes, rows width * 4 apart.
inline std::vector<uint8_t> NaiveGaussianBlur(const std::vector<uint8_t>& source, int sourceWidth, int sourceHeight,
                                              int destWidth, int destHeight, double deviation)
{
    const int radius = deviation > 0 ? static_cast<int>(std::ceil(3.0 * deviation)) : 0;
    std::vector<double> kernel((2 * radius + 1) * (2 * radius + 1));
    double total = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            double g = radius ? std::exp(-(dx * dx + dy * dy) / (2.0 * deviation * deviation)) : 1.0;
            kernel[(dy + radius) * (2 * radius + 1) + dx + radius] = g;
            total += g;
        }
    }
    std::vector<uint8_t> dest(static_cast<size_t>(destWidth) * destHeight * 4);
    for (int y = 0; y < destHeight; ++y) {
        for (int x = 0; x < destWidth; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= sourceWidth || sy >= sourceHeight) continue;
                    double g = kernel[(dy + radius) * (2 * radius + 1) + dx + radius] / total;
                    const uint8_t* p = &source[(static_cast<size_t>(sy) * sourceWidth + sx) * 4];
                    for (int c = 0; c < 4; ++c) sum[c] += g * p[c];
                }
            }
            for (int c = 0; c < 4; ++c) {
                dest[(static_cast<size_t>(y) * destWidth + x) * 4 + c] = static_cast<uint8_t>(std::lround(sum[c]));
            }
        }
    }
    return dest;
}

}  // namespace testsupport
