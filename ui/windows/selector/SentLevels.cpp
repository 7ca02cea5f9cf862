#include "ui/windows/selector/SentLevels.h"

#include <algorithm>

void SentLevels::Sent(int level)
{
    if (m_levels.size() == kMaxKept) m_levels.erase(m_levels.begin());
    m_levels.push_back(level);
}

bool SentLevels::TakeReport(int level)
{
    if (m_levels.empty()) return true;
    const auto echoed = std::find(m_levels.begin(), m_levels.end(), level);
    if (echoed == m_levels.end()) return false;
    // The service has taken every send up to this one.
    m_levels.erase(m_levels.begin(), echoed + 1);
    return m_levels.empty();
}
