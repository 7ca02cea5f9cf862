#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "backend/service/TalLumoService.h"

namespace servicetest {

// An in-process stand-in for the lighting service: records every call with
// its arguments and answers the scripted replies.
class FakeMediator : public IServiceMediator {
public:
    struct Call {
        std::string method;
        std::wstring first;
        std::wstring second;
    };

    std::vector<Call> calls;
    // Scripted replies; a "null" reply hands back no BSTR at all.
    std::wstring capabilityReply;
    std::wstring statusReply;
    bool nullReplies = false;
    HRESULT queryResult = S_OK;

    ULONG References() const { return m_references; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IServiceMediator) {
            *object = static_cast<IServiceMediator*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    // Lives on the test's stack: the count only shows balance.
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE SetProfile(BSTR first, BSTR second) override
    {
        // Read by the BSTR's own length, as a marshaller would.
        calls.push_back({"SetProfile", std::wstring(first, SysStringLen(first)),
                         std::wstring(second, SysStringLen(second))});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved() override
    {
        calls.push_back({"Reserved", {}, {}});
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_QueryAllDeviceStatus(BSTR* status) override
    {
        calls.push_back({"get_QueryAllDeviceStatus", {}, {}});
        return Answer(statusReply, status);
    }
    HRESULT STDMETHODCALLTYPE get_QueryAllDeviceCap(BSTR* capability) override
    {
        calls.push_back({"get_QueryAllDeviceCap", {}, {}});
        return Answer(capabilityReply, capability);
    }

    std::vector<std::string> MethodOrder() const
    {
        std::vector<std::string> names;
        for (const Call& call : calls) names.push_back(call.method);
        return names;
    }

private:
    HRESULT Answer(const std::wstring& reply, BSTR* out)
    {
        *out = nullptr;
        if (FAILED(queryResult)) return queryResult;
        if (!nullReplies) *out = SysAllocStringLen(reply.data(), static_cast<UINT>(reply.size()));
        return S_OK;
    }

    ULONG m_references = 1;
};

// A transport whose every call is served by one fake.
struct FakeService {
    FakeMediator mediator;
    int creations = 0;
    HRESULT creationResult = S_OK;
    TalLumoService transport{[this](IServiceMediator** out) {
        ++creations;
        *out = nullptr;
        if (FAILED(creationResult)) return creationResult;
        mediator.AddRef();
        *out = &mediator;
        return S_OK;
    }};
};

}  // namespace servicetest
