#pragma once
#include <windows.h>
#include <oaidl.h>

// The lighting service's dual interface. Only the vtable order matters to
// us: SetProfile, one method we never call, then the two queries.
constexpr IID IID_IServiceMediator = {0x9E41B7D3, 0x2A6C, 0x4F05, {0x8B, 0x19, 0xD7, 0xC3, 0xE5, 0xA0, 0x2F, 0x68}};

struct IServiceMediator : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SetProfile(BSTR first, BSTR second) = 0;
    // Holds the vtable slot; this program never calls it.
    virtual HRESULT STDMETHODCALLTYPE Reserved() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_QueryAllDeviceStatus(BSTR* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_QueryAllDeviceCap(BSTR* capability) = 0;
};

__CRT_UUID_DECL(IServiceMediator, 0x9E41B7D3, 0x2A6C, 0x4F05, 0x8B, 0x19, 0xD7, 0xC3, 0xE5, 0xA0, 0x2F, 0x68)
