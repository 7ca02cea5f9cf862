// The CPU Gaussian blur (used where the Direct2D effect is missing) at the
// sizes of a full-screen backdrop and a half-size one: the first call (which
// also starts the worker threads), then best and median of repeated runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "ui/framework/drawing/GaussianBlur.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1e3 / frequency.QuadPart;
}

}  // namespace

int main()
{
    struct Case {
        int width, height;
        double targetMs;
    } cases[] = {{1920, 1080, 20.0}, {960, 540, 6.0}};
    const int rounds = 15;
    int failed = 0;
    std::mt19937 random(1);
    for (const Case& c : cases) {
        const size_t bytes = static_cast<size_t>(c.width) * c.height * 4;
        std::vector<uint8_t> source(bytes), dest(bytes);
        for (size_t i = 0; i < bytes; ++i) source[i] = (i % 4 == 3) ? 255 : static_cast<uint8_t>(random());
        auto once = [&] {
            return GaussianBlurBgra(source.data(), c.width, c.height, c.width * 4, dest.data(), c.width, c.height,
                                    c.width * 4, kGaussianBlurDefaultDeviation);
        };
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const bool ok = once();
        QueryPerformanceCounter(&end);
        if (!ok) {
            std::printf("blur %dx%d: failed\n", c.width, c.height);
            ++failed;
            continue;
        }
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i) {
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            once();
            QueryPerformanceCounter(&t1);
            times.push_back(Milliseconds(t0, t1));
        }
        std::sort(times.begin(), times.end());
        std::printf("blur %dx%d (deviation %.0f, %d bands): first %.2f ms, best %.2f ms, median %.2f ms (target %.0f ms)\n",
                    c.width, c.height, kGaussianBlurDefaultDeviation, GaussianBlurBandCount(c.width, c.height),
                    Milliseconds(start, end), times.front(), times[times.size() / 2], c.targetMs);
    }
    return failed ? 1 : 0;
}
