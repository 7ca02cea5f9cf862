#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "backend/service/IServiceMediator.h"

// Makes one mediator for one call. On success *mediator holds a reference
// the caller owns.
using MediatorFactory = std::function<HRESULT(IServiceMediator** mediator)>;

extern const wchar_t kServiceProgId[];

// The real path: the service's out-of-process server from its ProgID.
HRESULT CreateServiceMediator(IServiceMediator** mediator);

// Stateless transport to the lighting service; every call creates the
// service anew and does nothing when it cannot be created.
class TalLumoService {
public:
    TalLumoService();
    explicit TalLumoService(MediatorFactory factory);

    void SetProfile(const std::wstring& first, const std::wstring& second);
    // out is emptied first and stays empty when the service is missing.
    void QueryAllDeviceCap(std::wstring* out);
    void QueryAllDeviceStatus(std::wstring* out);

private:
    MediatorFactory m_factory;
};
