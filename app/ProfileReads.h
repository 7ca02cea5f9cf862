#pragma once
#include <array>

#include "backend/profiles/EffectModel.h"

// Which profiles the window holds as their files hold them. A file that
// exists but could not be read comes in as its defaults: the window reads it
// again before it writes it, and leaves it alone while it still cannot.
class ProfileReads {
public:
    // Reads profile n into g_CustomProfiles; false when it could not be read.
    bool Load(int n);
    void LoadAll();
    bool IsRead(int n) const;

private:
    std::array<bool, kProfileCount> m_read{};
};
