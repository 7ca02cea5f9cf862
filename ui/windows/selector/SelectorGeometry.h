#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <algorithm>
#include <array>

// Where the backlight-level selector puts its track, pin, hit areas and
// percentage, from the image sizes and the track's place. All integer
// divisions truncate, as the skin art is drawn for them.
class SelectorGeometry {
public:
    static constexpr int kLevels = 4;
    // Track segments 0..3, pin areas 4..7, the pin span, the whole window.
    static constexpr int kAreaCount = 2 * kLevels + 2;
    static constexpr int kPinSpanArea = 2 * kLevels;
    static constexpr int kWindowArea = 2 * kLevels + 1;

    SelectorGeometry() = default;
    SelectorGeometry(int windowWidth, int windowHeight, int trackX, int trackY, int trackWidth, int trackHeight,
                     int pinWidth, int pinHeight);

    // The distance the pin travels from level 0 to the top level; none
    // without a track (its image missing).
    int Travel() const { return std::max(m_trackWidth - m_pinWidth / 2, 0); }
    int LevelOffset(int level) const;
    int PinBaseX() const { return m_trackX - m_pinWidth / 3; }
    int PinY() const { return m_trackY + m_trackHeight / 2 - m_pinHeight * 12 / 23; }
    // Percentage of the pin's offset along the track, rounded half up.
    int Percentage(int offset) const;

    static int TrackSegmentArea(int level) { return level; }
    static int PinArea(int level) { return kLevels + level; }
    const Gdiplus::RectF& Area(int index) const { return m_areas[static_cast<size_t>(index)]; }
    const Gdiplus::RectF* Areas() const { return m_areas.data(); }
    // True for the level's track segment or pin area.
    static bool IsLevelArea(int area, int level) { return area == TrackSegmentArea(level) || area == PinArea(level); }

    // The drag offset kept so that the pin stays between the first and the
    // last level, when dragged from a level.
    int ClampDragOffset(int level, int dragOffset) const;
    // The level whose pin area lies nearest the pin at this offset; a tie
    // goes to the lower level and, past the whole travel, to fallback.
    int NearestLevel(int offset, int fallback) const;

    int TrackX() const { return m_trackX; }
    int TrackY() const { return m_trackY; }
    int TrackWidth() const { return m_trackWidth; }
    int TrackHeight() const { return m_trackHeight; }
    int PinWidth() const { return m_pinWidth; }
    int PinHeight() const { return m_pinHeight; }

private:
    int m_trackX = 0, m_trackY = 0, m_trackWidth = 0, m_trackHeight = 0;
    int m_pinWidth = 0, m_pinHeight = 0;
    std::array<Gdiplus::RectF, kAreaCount> m_areas{};
};
