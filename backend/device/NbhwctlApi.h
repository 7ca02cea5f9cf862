#pragma once
#include <windows.h>

#include <cstdint>

// The maker's platform library as this program calls it: every entry point
// takes and returns 32-bit values with the stdcall convention, exported by
// its plain name.
#define NBHWCTL_CALL __stdcall

extern "C" {
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_Open)();
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_Close)();
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_CheckSupport)();
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_NB_RegisterEvent)();
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_NB_GetDeviceStatus)(uint32_t deviceId, uint32_t* status);
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_NB_GetDeviceStatus_MoreBYTE)(uint32_t deviceId, uint32_t* status,
                                                                   uint32_t* more);
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_NB_DeviceControl)(uint32_t deviceId, uint32_t argument);
typedef int32_t(NBHWCTL_CALL* PFN_VoWMI_NB_DeviceControl_2arg)(uint32_t deviceId, uint32_t argument1,
                                                              uint32_t argument2);
}

constexpr uint32_t WMI_DEVID_RGBKB_STATUS = 0x00100055;
constexpr uint32_t WMI_DEVID_RGBKB_EFFECT = 0x00100056;
constexpr uint32_t WMI_DEVID_RGBKB_POWER = 0x00100057;
constexpr uint32_t WMI_DEVID_KB_BACKLIGHT = 0x00050021;
