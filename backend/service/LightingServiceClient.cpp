#include "backend/service/LightingServiceClient.h"

#include <objbase.h>

#include <cstring>
#include <iostream>

#include "backend/trace/Trace.h"

using tinyxml2::XMLElement;

namespace {

constexpr char kCapabilityFile[] = "Capability.XML";
constexpr char kStatusFile[] = "Status.XML";
constexpr char kProfileFile[] = "LumoDlgSetProfile.xml";

std::string AttributeOr(const XMLElement* element, const char* name, const char* fallback)
{
    const char* value = element->Attribute(name);
    return value != nullptr ? value : fallback;
}

}  // namespace

TalLumoService& LightingServiceClient::SharedService()
{
    static TalLumoService service = [] {
        if (FAILED(CoInitialize(nullptr))) OutputDebugStringA("CoInitialize Lighting Service FAIL\n");
        return TalLumoService();
    }();
    return service;
}

LightingServiceClient::LightingServiceClient() : m_pService(&SharedService()) {}

LightingServiceClient::LightingServiceClient(TalLumoService& service) : m_pService(&service) {}

void LightingServiceClient::Send(const std::string& document)
{
    m_pService->SetProfile(L"1", service::WidenBytes(document));
}

void LightingServiceClient::ReadReply(const std::wstring& reply, const char* fileName, tinyxml2::XMLDocument& document)
{
    if (reply.empty()) std::cout << "Get Status from Lighting Service FAIL" << std::endl;
    std::string narrow = service::NarrowUnits(reply);
    // A reply that does not parse leaves what the parser kept (nothing, with
    // this parser); the saved file shows the same.
    document.Parse(narrow.data(), narrow.size());
    document.SaveFile(fileName);
}

void LightingServiceClient::GetDeviceCap()
{
    LogMessage(L"Start", L"GetDeviceCap", true, 0);
    std::wstring reply;
    m_pService->QueryAllDeviceCap(&reply);
    tinyxml2::XMLDocument document;
    ReadReply(reply, kCapabilityFile, document);
    if (const XMLElement* first = document.FirstChildElement()) WalkCapability(first);
}

void LightingServiceClient::GetDeviceStatus()
{
    LogMessage(L"Start", L"GetDeviceStatus", true, 0);
    std::wstring reply;
    m_pService->QueryAllDeviceStatus(&reply);
    tinyxml2::XMLDocument document;
    ReadReply(reply, kStatusFile, document);
    if (const XMLElement* first = document.FirstChildElement()) WalkStatus(first);
}

void LightingServiceClient::WalkCapability(const XMLElement* element)
{
    if (element == nullptr) return;
    if (std::strcmp(element->Name(), "led") == 0) {
        LedRecord record;
        record.ledKey.key = AttributeOr(element, "key", "");
        if (const XMLElement* location = element->FirstChildElement("locationname")) {
            if (const char* text = location->GetText()) record.ledKey.locationname = text;
        }
        m_vecCapability.push_back(std::move(record));
    }
    // The parser caps nesting depth, which bounds this recursion.
    for (const XMLElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement())
        WalkCapability(child);
}

void LightingServiceClient::WalkStatus(const XMLElement* element)
{
    if (element == nullptr) return;
    const char* name = element->Name();
    if (std::strcmp(name, "connecteddevice") == 0) {
        DeviceEntry entry;
        entry.name = AttributeOr(element, "key", "NULL");
        m_vecStatus.push_back(std::move(entry));
    } else if (std::strcmp(name, "ingroupdevice") == 0) {
        if (const char* key = element->Attribute("key")) {
            for (DeviceEntry& entry : m_vecStatus) {
                if (entry.name == key) entry.inGroup = true;
            }
        }
    }
    for (const XMLElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement())
        WalkStatus(child);
}

void LightingServiceClient::doSync()
{
    LogMessage(L"Start", L"doSync", true, 0);
    Send(service::BuildSyncDocument(m_vecStatus));
    LogMessage(L"End", L"doSync", true, 0);
}

void LightingServiceClient::reScan()
{
    LogMessage(L"Start", L"reScan", true, 0);
    m_vecCapability.clear();
    m_vecStatus.clear();
    Send(service::kResetRequest);
    GetDeviceStatus();
    GetDeviceCap();
    LogMessage(L"End", L"reScan", true, 0);
}

void LightingServiceClient::ServiceStop()
{
    LogMessage(L"Start", L"ServiceStop", true, 0);
    Send(service::kStopRequest);
    LogMessage(L"End", L"ServiceStop", true, 0);
}

void LightingServiceClient::UpdateXmlToService(int effectIndex, EffectData effect)
{
    LogMessage(L"Start", L"UpdateXmlToService", true, 0);
    std::vector<LedRecord> lamps = service::BuildLampList(m_vecCapability, effectIndex, effect);
    tinyxml2::XMLDocument document;
    service::BuildProfileDocument(document, lamps, m_vecStatus, effectIndex, effect);
    document.SaveFile(kProfileFile);
    Send(service::PrintDocument(document));
    LogMessage(L"End", L"UpdateXmlToService", true, 0);
}
