#pragma once
#include <array>
#include <optional>

#include "backend/profiles/EffectModel.h"

// Which profiles the window holds as their files hold them. A file that
// exists but cannot be read is never taken for its defaults: the window reads
// it again before it writes it, leaves it alone while it still cannot, and
// sends a profile only once it has come from its file.
class ProfileReads {
public:
    // Reads profile n into g_CustomProfiles; false when it could not be read.
    // The entry then goes back to the profile as last read or saved, or holds
    // the defaults when there was none.
    bool Load(int n);
    void LoadAll();
    // Writes entry n to its file; once written it is the stored profile.
    bool Save(int n);
    // The entry holds the profile as its file held it when last read or saved.
    bool IsRead(int n) const;
    // The entry came from its file, now or at an earlier read: it may be sent.
    bool IsKnown(int n) const;

private:
    static bool InTable(int n) { return n >= 0 && n < kProfileCount; }

    std::array<bool, kProfileCount> m_read{};
    std::array<std::optional<CustomProfile>, kProfileCount> m_stored;
};
