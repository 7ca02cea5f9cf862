#pragma once
#include <windows.h>

namespace bench {

// Microseconds between two QueryPerformanceCounter readings.
inline double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    return Microseconds(from, to) / 1e3;
}

}  // namespace bench
