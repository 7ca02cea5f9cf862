#pragma once
#include <windows.h>

#include "ui/framework/D2DModule.h"

// A window's Direct2D client for one drawing pass: registered on
// construction, removed exactly once when the scope ends.
class D2DClientScope {
public:
    explicit D2DClientScope(HWND key) : m_key(key), m_added(D2DAddClient(key) != 0) {}
    ~D2DClientScope()
    {
        if (m_added) D2DRemoveClient(m_key);
    }
    D2DClientScope(const D2DClientScope&) = delete;
    D2DClientScope& operator=(const D2DClientScope&) = delete;

    bool Added() const { return m_added; }

private:
    HWND m_key;
    bool m_added;
};
