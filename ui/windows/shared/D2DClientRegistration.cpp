#include "ui/windows/shared/D2DClientRegistration.h"

#include "ui/framework/drawing/D2DModule.h"

bool D2DClientRegistration::Add(HWND key)
{
    Remove();
    if (!D2DAddClient(key)) return false;
    m_key = key;
    return true;
}

void D2DClientRegistration::Remove()
{
    if (!m_key) return;
    D2DRemoveClient(m_key);
    m_key = nullptr;
}
