#include "ui/windows/selector/SelectorGeometry.h"

#include <algorithm>
#include <cmath>

SelectorGeometry::SelectorGeometry(int windowWidth, int windowHeight, int trackX, int trackY, int trackWidth,
                                   int trackHeight, int pinWidth, int pinHeight)
    : m_trackX(trackX),
      m_trackY(trackY),
      m_trackWidth(trackWidth),
      m_trackHeight(trackHeight),
      m_pinWidth(pinWidth),
      m_pinHeight(pinHeight)
{
    const float pinAreaY = static_cast<float>(PinY() + pinHeight * 7 / 23);
    const float pinAreaWidth = static_cast<float>(pinWidth + pinWidth) / 3.0f;
    const float pinAreaHeight = static_cast<float>(pinHeight * 8 / 23);
    for (int level = 0; level < kLevels; ++level) {
        const float x = static_cast<float>(PinBaseX() + pinWidth / 6 + LevelOffset(level));
        m_areas[static_cast<size_t>(PinArea(level))] = Gdiplus::RectF(x, pinAreaY, pinAreaWidth, pinAreaHeight);
    }
    const float trackTop = static_cast<float>(trackY);
    const float trackBottom = static_cast<float>(trackHeight);
    const Gdiplus::RectF& first = Area(PinArea(0));
    m_areas[0] = Gdiplus::RectF(static_cast<float>(trackX), trackTop,
                                first.X + first.Width - static_cast<float>(trackX), trackBottom);
    for (int level = 1; level < kLevels; ++level) {
        const Gdiplus::RectF& pin = Area(PinArea(level));
        m_areas[static_cast<size_t>(level)] = Gdiplus::RectF(pin.X, trackTop, pin.Width, trackBottom);
    }
    const Gdiplus::RectF& last = Area(PinArea(kLevels - 1));
    m_areas[kPinSpanArea] = Gdiplus::RectF(first.X, first.Y, last.X + last.Width - first.X, first.Height);
    m_areas[kWindowArea] =
        Gdiplus::RectF(0.0f, 0.0f, static_cast<float>(windowWidth), static_cast<float>(windowHeight));
}

int SelectorGeometry::LevelOffset(int level) const
{
    return Travel() * level / (kLevels - 1);
}

int SelectorGeometry::Percentage(int offset) const
{
    const int travel = Travel();
    if (travel <= 0) return 0;
    return static_cast<int>(static_cast<double>(offset) * 100.0 / travel + 0.5);
}

int SelectorGeometry::ClampDragOffset(int level, int dragOffset) const
{
    const int start = LevelOffset(level);
    return std::clamp(dragOffset, LevelOffset(0) - start, LevelOffset(kLevels - 1) - start);
}

int SelectorGeometry::NearestLevel(int offset, int fallback) const
{
    const float pinX = static_cast<float>(PinBaseX() + offset + m_pinWidth / 6);
    float best = static_cast<float>(Travel());
    int chosen = fallback;
    for (int level = 0; level < kLevels; ++level) {
        const float distance = std::fabs(pinX - Area(PinArea(level)).X);
        if (distance < best) {
            best = distance;
            chosen = level;
        }
    }
    return chosen;
}
