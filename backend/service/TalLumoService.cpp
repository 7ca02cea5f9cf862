#include "backend/service/TalLumoService.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <climits>
#include <utility>

using Microsoft::WRL::ComPtr;

const wchar_t kServiceProgId[] = L"VoTalLumoService.ServiceMediator";

namespace {

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(BSTR text) : m_text(text) {}
    ~UniqueBstr() { SysFreeString(m_text); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR Get() const { return m_text; }
    BSTR* Put()
    {
        SysFreeString(std::exchange(m_text, nullptr));
        return &m_text;
    }

private:
    BSTR m_text = nullptr;
};

// Null when the text is too long for a BSTR or memory runs out.
BSTR AllocBstr(const std::wstring& text)
{
    if (text.size() > UINT_MAX / sizeof(wchar_t)) return nullptr;
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

ComPtr<IServiceMediator> CreateMediator(const MediatorFactory& factory)
{
    ComPtr<IServiceMediator> mediator;
    if (!factory || FAILED(factory(mediator.GetAddressOf()))) mediator.Reset();
    return mediator;
}

using QueryMethod = HRESULT (STDMETHODCALLTYPE IServiceMediator::*)(BSTR*);

struct QueryTexts {
    const char* enter;
    const char* returned;
    const char* got;
    const char* leave;
};

void Query(const MediatorFactory& factory, QueryMethod method, const QueryTexts& texts, std::wstring* out)
{
    OutputDebugStringA(texts.enter);
    if (out != nullptr) out->clear();
    ComPtr<IServiceMediator> mediator = CreateMediator(factory);
    if (mediator) {
        UniqueBstr reply;
        HRESULT hr = (mediator.Get()->*method)(reply.Put());
        OutputDebugStringA(texts.returned);
        // Out-arguments mean nothing after a failed call.
        if (SUCCEEDED(hr) && reply.Get() != nullptr && out != nullptr)
            out->assign(reply.Get(), SysStringLen(reply.Get()));
        if (out != nullptr && !out->empty()) OutputDebugStringA(texts.got);
    }
    OutputDebugStringA(texts.leave);
}

}  // namespace

HRESULT CreateServiceMediator(IServiceMediator** mediator)
{
    if (mediator == nullptr) return E_POINTER;
    *mediator = nullptr;
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(kServiceProgId, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IServiceMediator,
                            reinterpret_cast<void**>(mediator));
}

TalLumoService::TalLumoService() : m_factory(CreateServiceMediator) {}

TalLumoService::TalLumoService(MediatorFactory factory) : m_factory(std::move(factory)) {}

void TalLumoService::SetProfile(const std::wstring& first, const std::wstring& second)
{
    OutputDebugStringA("In TalLumoService::SetProfile().\n");
    ComPtr<IServiceMediator> mediator = CreateMediator(m_factory);
    if (mediator) {
        UniqueBstr a(AllocBstr(first));
        UniqueBstr b(AllocBstr(second));
        // A null BSTR reads as an empty text: never send that for a document.
        if (a.Get() != nullptr && b.Get() != nullptr) mediator->SetProfile(a.Get(), b.Get());
    }
    OutputDebugStringA("Out TalLumoService::SetProfile().\n");
}

void TalLumoService::QueryAllDeviceCap(std::wstring* out)
{
    static const QueryTexts kTexts = {
        "In TalLumoService::QueryAllDeviceCap().\n",
        "[TalLumoService::QueryAllDeviceCap()] return from iServiceMediator->get_QueryAllDeviceCap().\n",
        "[TalLumoService::QueryAllDeviceCap()] Got cap xml.\n",
        "Out TalLumoService::QueryAllDeviceCap().\n",
    };
    Query(m_factory, &IServiceMediator::get_QueryAllDeviceCap, kTexts, out);
}

void TalLumoService::QueryAllDeviceStatus(std::wstring* out)
{
    static const QueryTexts kTexts = {
        "In TalLumoService::QueryAllDeviceStatus().\n",
        "[TalLumoService::QueryAllDeviceStatus()] return from iServiceMediator->get_QueryAllDeviceStatus().\n",
        "[TalLumoService::QueryAllDeviceStatus()] Got status xml.\n",
        "Out TalLumoService::QueryAllDeviceStatus().\n",
    };
    Query(m_factory, &IServiceMediator::get_QueryAllDeviceStatus, kTexts, out);
}
