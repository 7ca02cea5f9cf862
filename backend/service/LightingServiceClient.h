#pragma once
#include <string>
#include <vector>

#include <tinyxml2.h>

#include "backend/profiles/EffectModel.h"
#include "backend/service/ServiceDocuments.h"
#include "backend/service/TalLumoService.h"

// Talks to the lighting service and keeps its last replies. UI thread only.
class LightingServiceClient {
public:
    // Shares the process's one transport; the first such client initialises
    // COM on its thread.
    LightingServiceClient();
    // Uses the given transport, which must outlive the client.
    explicit LightingServiceClient(TalLumoService& service);

    void GetDeviceCap();
    void GetDeviceStatus();
    void doSync();
    void reScan();
    void ServiceStop();
    void UpdateXmlToService(int effectIndex, EffectData effect);

    // Depth first: every "led" element at any depth becomes a lamp.
    void WalkCapability(const tinyxml2::XMLElement* element);
    // Depth first: "connecteddevice" adds a device, "ingroupdevice" marks
    // the devices added before it.
    void WalkStatus(const tinyxml2::XMLElement* element);

    // In reply order.
    std::vector<LedRecord> m_vecCapability;
    std::vector<DeviceEntry> m_vecStatus;

private:
    static TalLumoService& SharedService();
    void Send(const std::string& document);
    void ReadReply(const std::wstring& reply, const char* fileName, tinyxml2::XMLDocument& document);

    TalLumoService* m_pService;
};
