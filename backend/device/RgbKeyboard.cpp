#include "backend/device/RgbKeyboard.h"

#include <algorithm>
#include <cstring>

#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"

HidDeviceInfo g_HidDevice = {};
DWORD g_dwSupport = 1;
DWORD g_dwPidModel = 0;
CommandBuffer g_byCommandData = {};

// {3C7A19E2-5D40-4B8E-A1F3-6E2D9B04C715}
const GUID kRgbKeyboardInterfaceClass = {0x3C7A19E2, 0x5D40, 0x4B8E, {0xA1, 0xF3, 0x6E, 0x2D, 0x9B, 0x04, 0xC7, 0x15}};

namespace {

const USHORT kProductIds[] = {0x2201, 0x2202, 0x2203, 0x2204};

// " 0x%02X" (or another per-byte format) for the bytes that exist, up to max.
void AppendBytes(wchar_t* text, size_t capacity, const uint8_t* bytes, size_t count, const wchar_t* format)
{
    size_t used = wcslen(text);
    for (size_t i = 0; i < count && used + 1 < capacity; ++i) {
        platform::FormatBounded(text + used, capacity - used, format, bytes[i]);
        used = wcslen(text);
    }
}

void TraceLengths(const wchar_t* place, const HidDevice& device)
{
    wchar_t text[128];
    platform::FormatBounded(text, ARRAYSIZE(text), L"FeatureReportByteLength: %d, InputReportByteLength: %d",
                            device.Caps.FeatureReportByteLength, device.Caps.InputReportByteLength);
    LogMessage(text, place, true, 0);
}

bool HasDevice()
{
    return g_HidDevice.FeatureReportByteLength != 0 && g_HidDevice.InputReportByteLength != 0;
}

std::unique_ptr<HidConnection> OpenKeptDevice()
{
    return ActiveHidPort().Open(g_HidDevice.szPath, HidAccess::ReadWrite);
}

}  // namespace

bool EnumHidDevicePaths(std::vector<std::wstring>& paths)
{
    paths.clear();
    return ActiveHidPort().EnumInterfacePaths(kRgbKeyboardInterfaceClass, paths);
}

bool OpenHidDevice(const wchar_t* path, HidDevice& device)
{
    device = HidDevice{};
    platform::CopyBounded(device.szPath, MAX_PATH, path);
    std::unique_ptr<HidConnection> connection = ActiveHidPort().Open(path, HidAccess::QueryOnly);
    if (!connection) return false;
    return connection->GetAttributesAndCaps(device.Attributes, device.Caps);
}

bool IsRGBKBDevice(const HidDevice& device)
{
    if (device.Caps.Usage != kRgbKeyboardUsage || device.Caps.UsagePage != kRgbKeyboardUsagePage) return false;
    if (device.Attributes.VendorID != kRgbKeyboardVendorId) return false;
    for (DWORD model = 0; model < ARRAYSIZE(kProductIds); ++model) {
        if (device.Attributes.ProductID == kProductIds[model]) {
            g_dwPidModel = model;
            return true;
        }
    }
    return false;
}

void GetHidDeviceHandle()
{
    std::vector<std::wstring> paths;
    if (!EnumHidDevicePaths(paths)) return;
    for (const std::wstring& path : paths) {
        HidDevice device;
        if (!OpenHidDevice(path.c_str(), device)) continue;
        LogMessage(device.szPath, L"pdp->szPath @ GetHidDeviceHandle", true, 0);
        if (!IsRGBKBDevice(device)) continue;
        LogMessage(device.szPath, L"Pass check ! @ GetHidDeviceHandle", true, 0);
        TraceLengths(L"report byte length info @ GetHidDeviceHandle", device);
        if (device.Caps.FeatureReportByteLength == 0 || device.Caps.InputReportByteLength == 0) {
            TraceLengths(L"report byte length is 0 !! @ GetHidDeviceHandle", device);
            LogMessage(device.szPath, L"report byte length is 0 !! @ GetHidDeviceHandle", true, 0);
            continue;
        }
        LogMessage(device.szPath, L"HidDevice.szPath @ GetHidDeviceHandle", true, 0);
        platform::CopyBounded(g_HidDevice.szPath, MAX_PATH, device.szPath);
        g_HidDevice.OutputReportByteLength = device.Caps.OutputReportByteLength;
        g_HidDevice.InputReportByteLength = device.Caps.InputReportByteLength;
        g_HidDevice.FeatureReportByteLength = device.Caps.FeatureReportByteLength;
        return;
    }
}

void InitRGBKBDevice()
{
    g_HidDevice = HidDeviceInfo{};
    GetHidDeviceHandle();
    if (!HasDevice()) {
        LogMessage(L"Not found device !!", L"InitRGBKBDevice", true, 0);
        return;
    }
    std::unique_ptr<HidConnection> device = OpenKeptDevice();
    if (!device) {
        LogMessage(L"CreateFile return INVALID_HANDLE_VALUE !!", L"InitRGBKBDevice", true, 0);
        return;
    }
    wchar_t text[64];
    platform::FormatBounded(text, ARRAYSIZE(text), L"ReportLength : %d", g_HidDevice.FeatureReportByteLength);
    LogMessage(text, L"FeatureReportByteLength @ InitRGBKBDevice", true, 0);

    std::vector<uint8_t> report = BuildInitReport(g_HidDevice.FeatureReportByteLength);
    bool sent = device->SetFeature(report.data(), static_cast<uint32_t>(report.size()));
    uint8_t first = report.size() > 1 ? report[1] : 0;
    platform::FormatBounded(text, ARRAYSIZE(text), sent ? L"SetFeature (0x%X 0x%X) succeed." : L"SetFeature (0x%X 0x%X) failed !!!",
                            RGBKB_REPORT_ID, first);
    LogMessage(text, L"InitRGBKBDevice", sent, 0);

    FetchECSync(*device);
    device.reset();
    LogMessage(L"Prepare to exit !!!", L"InitRGBKBDevice", true, 0);
}

bool FetchECSync(HidConnection& device)
{
    std::vector<uint8_t> report(g_HidDevice.InputReportByteLength, 0);
    LogMessage(L"before read file !!", L"FetchECSync", true, 0);
    bool read = !report.empty() &&
                device.ReadInputReport(report.data(), static_cast<uint32_t>(report.size()), kSyncReadTimeoutMs);
    LogMessage(L"after read file !!", L"FetchECSync", true, 0);
    if (!read) std::fill(report.begin(), report.end(), 0);

    wchar_t text[128] = L"InputReport:";
    AppendBytes(text, ARRAYSIZE(text), report.data(), std::min<size_t>(report.size(), 6), L" 0x%02X");
    LogMessage(text, L"FetchECSync", true, 0);
    return read && IsSyncAnswer(report.data(), report.size());
}

bool GetRGBKBStatus(DWORD& dwType, DWORD& dwSubType)
{
    const wchar_t* place = L"GetRGBKBStatus";
    std::unique_ptr<HidConnection> device = OpenKeptDevice();
    if (!device) {
        LogMessage(L"CreateFile return INVALID_HANDLE_VALUE !!", place, true, 0);
        return false;
    }
    const uint32_t length = g_HidDevice.FeatureReportByteLength;
    std::vector<uint8_t> request = BuildStatusRequest(length);
    if (!device->SetFeature(request.data(), length)) {
        LogMessage(L"SetFeature (0x5D 0x5) failed !!!", place, false, 0);
        return true;
    }
    LogMessage(L"SetFeature (0x5D 0x5) succeed.", place, true, 0);

    std::vector<uint8_t> reply(length, 0);
    if (!reply.empty()) reply[0] = RGBKB_REPORT_ID;
    if (reply.empty() || !device->GetFeature(reply.data(), length)) {
        LogMessage(L"GetFeature (0x5D) failed !!!", place, false, 0);
        return true;
    }
    wchar_t text[160] = L"HidD_GetFeature -";
    AppendBytes(text, ARRAYSIZE(text), reply.data(), std::min<size_t>(reply.size(), 16), L" 0x%02X");
    LogMessage(text, place, true, 0);

    StatusReply status{};
    if (length < 14) {
        LogMessage(L"FeatureReportByteLength is too small adter GetFeature (0x5D) !!!", place, true, 0);
        return true;
    }
    if (!ParseStatusReply(reply.data(), reply.size(), status)) {
        LogMessage(L"GetFeature Byte 0~5 is not equal  !!!", place, true, 0);
        return true;
    }
    dwType = status.type;
    dwSubType = status.subType;
    if (status.support) g_dwSupport = 1;
    platform::FormatBounded(text, ARRAYSIZE(text), L"Support = %d", static_cast<int>(g_dwSupport));
    LogMessage(text, place, true, 0);
    return true;
}

void ExecCmd2RGBKB()
{
    const wchar_t* place = L"ExecCmd2RGBKB";
    if (!HasDevice()) {
        LogMessage(L"Not found device !!", place, true, 0);
        return;
    }
    std::unique_ptr<HidConnection> device = OpenKeptDevice();
    if (!device) {
        LogMessage(L"CreateFile return INVALID_HANDLE_VALUE !!", place, true, 0);
        return;
    }
    const bool useOutput = g_HidDevice.OutputReportByteLength != 0;
    const uint32_t length = useOutput ? g_HidDevice.OutputReportByteLength : g_HidDevice.FeatureReportByteLength;
    std::vector<uint8_t> report = PadReport(g_byCommandData, length);

    wchar_t text[128] = L"";
    AppendBytes(text, ARRAYSIZE(text), g_byCommandData.data(), g_byCommandData.size(), L"0x%02x ");
    LogMessage(text, L"command data !!! @ ExecCmd2RGBKB", true, 0);

    bool sent = useOutput ? device->WriteReport(report.data(), length) : device->SetFeature(report.data(), length);
    LogMessage(sent ? L"SetFeature succeed." : L"SetFeature failed !!!", place, sent, 0);
    device.reset();
    LogMessage(L"Prepare to exit !!!", place, true, 0);
}

void ExecSimpleCmd2RGBKB(uint8_t command)
{
    g_byCommandData = BuildSimpleCommand(command);
    ExecCmd2RGBKB();
}

void SetRGBKBEffect(int32_t effectIndex, bool allZones, EffectData effect, uint32_t modelType)
{
    for (const CommandBuffer& command : BuildSetEffectCommands(effectIndex, allZones, effect, g_dwPidModel, modelType)) {
        g_byCommandData = command;
        ExecCmd2RGBKB();
    }
}
