#include "ui/colorpicker/RecentColorList.h"

#include <algorithm>

void RecentColorList::Add(uint32_t argb)
{
    m_colors.erase(std::remove(m_colors.begin(), m_colors.end(), argb), m_colors.end());
    if (m_colors.size() >= kMaxRecentColors) m_colors.resize(kMaxRecentColors - 1);
    m_colors.insert(m_colors.begin(), argb);
}
