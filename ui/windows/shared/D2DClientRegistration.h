#pragma once
#include <windows.h>

// A window's registration as a client of the Direct2D module, removed
// exactly once: by Remove or by the destructor, whichever comes first.
class D2DClientRegistration {
public:
    D2DClientRegistration() = default;
    ~D2DClientRegistration() { Remove(); }
    D2DClientRegistration(const D2DClientRegistration&) = delete;
    D2DClientRegistration& operator=(const D2DClientRegistration&) = delete;

    // Registers key (dropping any earlier registration); false when the
    // module refused it.
    bool Add(HWND key);
    void Remove();

    HWND Key() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HWND m_key = nullptr;
};
