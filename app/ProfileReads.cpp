#include "app/ProfileReads.h"

#include "backend/profiles/IniStore.h"

bool ProfileReads::Load(int n)
{
    if (!InTable(n)) return false;
    const size_t i = static_cast<size_t>(n);
    m_read[i] = LoadCustomEffectsFromIni(n);
    if (m_read[i])
        m_stored[i] = g_CustomProfiles[i];
    else if (m_stored[i])
        g_CustomProfiles[i] = *m_stored[i];
    return m_read[i];
}

void ProfileReads::LoadAll()
{
    for (int n = 0; n < kProfileCount; ++n) Load(n);
}

bool ProfileReads::Save(int n)
{
    if (!InTable(n) || !SaveCustomEffect2Ini(n)) return false;
    const size_t i = static_cast<size_t>(n);
    m_read[i] = true;
    m_stored[i] = g_CustomProfiles[i];
    return true;
}

bool ProfileReads::IsRead(int n) const
{
    return InTable(n) && m_read[static_cast<size_t>(n)];
}

bool ProfileReads::IsKnown(int n) const
{
    return InTable(n) && m_stored[static_cast<size_t>(n)].has_value();
}
