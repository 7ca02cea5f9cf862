#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "backend/device/NbhwctlApi.h"
#include "backend/profiles/EffectModel.h"

struct WmiEffectWords {
    uint32_t first;
    uint32_t second;
};

// The two device-control words of an effect (sub-command 0xB3 set, 0xB4 commit).
WmiEffectWords BuildWmiEffectWords(uint8_t subCommand, int32_t effectIndex, const EffectData& effect);
uint8_t WmiSpeedCode(uint8_t modeCode, int32_t speedType);
// Sub-command 0xBD, the flag byte and the power-state mask.
uint32_t BuildWmiPowerStateWord(uint8_t mask, uint8_t flagByte);

constexpr uint8_t WMI_SUBCMD_SET_EFFECT = 0xB3;
constexpr uint8_t WMI_SUBCMD_COMMIT_EFFECT = 0xB4;
constexpr uint8_t WMI_SUBCMD_POWER_STATE = 0xBD;

// The maker's library, loaded once and kept until the process ends. Every
// call is a no-op while the library or the entry point is missing.
class WmiLibrary {
public:
    explicit WmiLibrary(std::wstring libraryPath = L"NBHWCTL.dll");

    void InitWMILibrary();
    bool IsLoaded() const { return m_module != nullptr; }

    void SetEffectByWMI(int32_t effectIndex, EffectData effect, int32_t gate);
    void CommitEffectByWMI(const ProfileTable& profiles, int32_t appliedProfile);
    void SetPowerStateByWMI(uint8_t mask, uint8_t secondByte);
    // Raw device control, for callers that build their own word.
    void DeviceControl(uint32_t deviceId, uint32_t argument);
    // False when the library or entry point is missing or the read fails.
    bool GetDeviceStatus(uint32_t deviceId, uint32_t& status);

    PFN_VoWMI_Open m_pfnOpen = nullptr;
    PFN_VoWMI_Close m_pfnClose = nullptr;
    PFN_VoWMI_CheckSupport m_pfnCheckSupport = nullptr;
    PFN_VoWMI_NB_RegisterEvent m_pfnRegisterEvent = nullptr;
    PFN_VoWMI_NB_GetDeviceStatus m_pfnGetDeviceStatus = nullptr;
    PFN_VoWMI_NB_GetDeviceStatus_MoreBYTE m_pfnGetDeviceStatusMoreByte = nullptr;
    PFN_VoWMI_NB_DeviceControl m_pfnDeviceControl = nullptr;
    PFN_VoWMI_NB_DeviceControl_2arg m_pfnDeviceControl2Arg = nullptr;

private:
    std::wstring m_libraryPath;
    // Never freed on purpose: the library stays loaded for the process.
    HMODULE m_module = nullptr;
};
