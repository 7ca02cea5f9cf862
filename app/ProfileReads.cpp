#include "app/ProfileReads.h"

#include "backend/profiles/IniStore.h"

bool ProfileReads::Load(int n)
{
    if (n < 0 || n >= kProfileCount) return false;
    m_read[static_cast<size_t>(n)] = LoadCustomEffectsFromIni(n);
    return m_read[static_cast<size_t>(n)];
}

void ProfileReads::LoadAll()
{
    for (int n = 0; n < kProfileCount; ++n) Load(n);
}

bool ProfileReads::IsRead(int n) const
{
    return n >= 0 && n < kProfileCount && m_read[static_cast<size_t>(n)];
}
