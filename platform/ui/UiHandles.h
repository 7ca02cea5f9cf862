#pragma once
#include <windows.h>
#include <objbase.h>

#include "platform/win/UniqueHandle.h"

namespace platform {

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconTraits>;

// One COM initialisation of the calling thread, undone when it goes out of
// scope (only when it succeeded, as COM requires).
class ComApartment {
public:
    explicit ComApartment(DWORD coinit) : m_hr(::CoInitializeEx(nullptr, coinit)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const { return m_hr; }
    bool Succeeded() const { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};

}  // namespace platform
