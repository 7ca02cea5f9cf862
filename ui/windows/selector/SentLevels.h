#pragma once
#include <cstddef>
#include <vector>

// The levels the selector sent to the hotkey service whose reports have not
// come back yet, oldest first. The service takes them in order and the
// watcher reports what the registry holds, so reports may skip some of them,
// but the last one sent is the last one reported.
class SentLevels {
public:
    // A dragging hand sends many; older ones only make earlier echoes stale.
    static constexpr size_t kMaxKept = 8;

    void Sent(int level);
    // True when the report is the keyboard's level to show: nothing is
    // awaited, or it is the echo of the last level sent. A report of an
    // earlier send, or of a level never sent (read before the service
    // acted), is stale while a send is awaited.
    bool TakeReport(int level);
    bool Awaiting() const { return !m_levels.empty(); }
    void Clear() { m_levels.clear(); }

private:
    std::vector<int> m_levels;
};
