#pragma once
#include <windows.h>

namespace testsupport {

// Counts the GDI objects the test exe's own code makes and frees, by routing
// its gdi32/user32 imports through counting wrappers for its lifetime. Like
// Windows (and unlike Wine), it refuses to delete a bitmap still selected
// into a live DC; such a bitmap stays counted as live.
class GdiLedger {
public:
    GdiLedger();
    ~GdiLedger();
    GdiLedger(const GdiLedger&) = delete;
    GdiLedger& operator=(const GdiLedger&) = delete;

    bool Installed() const { return m_installed; }
    int LiveDcs() const;
    int LiveBitmaps() const;
    int RefusedDeletes() const;
    int HeldScreenDcs() const;

private:
    bool m_owner = false;
    bool m_installed = false;
};

}  // namespace testsupport
