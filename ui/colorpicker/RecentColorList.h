#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The colours last confirmed in the picker, most recent first, without
// duplicates and at most kMaxRecentColors of them.
class RecentColorList {
public:
    static constexpr size_t kMaxRecentColors = 10;

    // Moves an equal entry to the front, or inserts the colour there and
    // drops the oldest when the list is full.
    void Add(uint32_t argb);

    const std::vector<uint32_t>& Colors() const { return m_colors; }
    size_t Size() const { return m_colors.size(); }

private:
    std::vector<uint32_t> m_colors;
};
