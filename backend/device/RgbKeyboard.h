#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backend/device/HidPort.h"
#include "backend/device/KeyboardReports.h"
#include "backend/profiles/EffectModel.h"

// The keyboard interface kept by discovery; lengths stay 0 until one is taken.
struct HidDeviceInfo {
    uint32_t OutputReportByteLength;
    uint32_t InputReportByteLength;
    uint32_t FeatureReportByteLength;
    wchar_t szPath[MAX_PATH];
};

// One candidate examined during discovery.
struct HidDevice {
    wchar_t szPath[MAX_PATH];
    HIDP_CAPS Caps;
    HIDD_ATTRIBUTES Attributes;
};

extern HidDeviceInfo g_HidDevice;
extern DWORD g_dwSupport;
extern DWORD g_dwPidModel;
extern CommandBuffer g_byCommandData;

extern const GUID kRgbKeyboardInterfaceClass;
constexpr USHORT kRgbKeyboardUsagePage = 0xFF31;
constexpr USHORT kRgbKeyboardUsage = 0x79;
constexpr USHORT kRgbKeyboardVendorId = 0x7A6B;
// A controller answering its sync read must do so within this time.
constexpr uint32_t kSyncReadTimeoutMs = 5000;

void InitRGBKBDevice();
void GetHidDeviceHandle();
bool EnumHidDevicePaths(std::vector<std::wstring>& paths);
bool OpenHidDevice(const wchar_t* path, HidDevice& device);
bool IsRGBKBDevice(const HidDevice& device);
bool GetRGBKBStatus(DWORD& dwType, DWORD& dwSubType);
bool FetchECSync(HidConnection& device);
void ExecCmd2RGBKB();
void ExecSimpleCmd2RGBKB(uint8_t command);
// Builds and sends the set-effect reports; model type 6 has seven zones.
void SetRGBKBEffect(int32_t effectIndex, bool allZones, EffectData effect, uint32_t modelType);
