#include "backend/device/WmiLibrary.h"

#include "backend/device/KeyboardReports.h"
#include "platform/win/BoundedFormat.h"

#include <utility>

namespace {

template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn& target)
{
    target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Colour and code fields are bytes: a stored -1 or 256 must not spill into
// the neighbouring field.
uint32_t Field(int32_t value, int shift)
{
    return (static_cast<uint32_t>(value) & 0xFFu) << shift;
}

}  // namespace

uint8_t WmiSpeedCode(uint8_t modeCode, int32_t speedType)
{
    if (modeCode != 1 && modeCode != 2) return 0;
    switch (speedType) {
    case 1: return 0xF5;
    case 2: return 0xEB;
    case 3: return 0xE1;
    default: return 0;
    }
}

WmiEffectWords BuildWmiEffectWords(uint8_t subCommand, int32_t effectIndex, const EffectData& effect)
{
    const uint8_t mode = ModeCode(effectIndex);
    WmiEffectWords words;
    words.first = Field(subCommand, 0) | Field(mode, 8) | Field(effect.ColorR, 16) | Field(effect.ColorG, 24);
    words.second = Field(effect.ColorB, 0) | Field(WmiSpeedCode(mode, effect.SpeedType), 8);
    return words;
}

uint32_t BuildWmiPowerStateWord(uint8_t mask, uint8_t flagByte)
{
    return Field(WMI_SUBCMD_POWER_STATE, 0) | Field(flagByte, 8) | Field(mask, 16);
}

WmiLibrary::WmiLibrary(std::wstring libraryPath) : m_libraryPath(std::move(libraryPath)) {}

void WmiLibrary::InitWMILibrary()
{
    if (m_module != nullptr) return;
    m_module = LoadLibraryW(m_libraryPath.c_str());
    if (m_module == nullptr) return;

    Resolve(m_module, "VoWMI_Open", m_pfnOpen);
    Resolve(m_module, "VoWMI_Close", m_pfnClose);
    Resolve(m_module, "VoWMI_CheckSupport", m_pfnCheckSupport);
    Resolve(m_module, "VoWMI_NB_RegisterEvent", m_pfnRegisterEvent);
    Resolve(m_module, "VoWMI_NB_GetDeviceStatus", m_pfnGetDeviceStatus);
    Resolve(m_module, "VoWMI_NB_GetDeviceStatus_MoreBYTE", m_pfnGetDeviceStatusMoreByte);
    Resolve(m_module, "VoWMI_NB_DeviceControl", m_pfnDeviceControl);
    Resolve(m_module, "VoWMI_NB_DeviceControl_2arg", m_pfnDeviceControl2Arg);

    if (m_pfnCheckSupport != nullptr && !m_pfnCheckSupport()) OutputDebugStringW(L"not DT/AIO/MBWMI");
    if (m_pfnOpen == nullptr || !m_pfnOpen()) return;

    if (m_pfnRegisterEvent != nullptr) m_pfnRegisterEvent();
    RegisterWindowMessageW(L"WM_VORN_BROADCAST_MESSAGE");

    uint32_t status = 0;
    if (GetDeviceStatus(WMI_DEVID_RGBKB_STATUS, status)) {
        char text[MAX_PATH];
        platform::FormatBoundedA(text, sizeof(text), "Device Status = 0x%x", status);
        OutputDebugStringA(text);
    }
}

bool WmiLibrary::GetDeviceStatus(uint32_t deviceId, uint32_t& status)
{
    return m_pfnGetDeviceStatus != nullptr && m_pfnGetDeviceStatus(deviceId, &status) != 0;
}

void WmiLibrary::DeviceControl(uint32_t deviceId, uint32_t argument)
{
    if (m_pfnDeviceControl != nullptr) m_pfnDeviceControl(deviceId, argument);
}

void WmiLibrary::SetEffectByWMI(int32_t effectIndex, EffectData effect, int32_t gate)
{
    if (gate != 0 || m_pfnDeviceControl2Arg == nullptr) return;
    WmiEffectWords words = BuildWmiEffectWords(WMI_SUBCMD_SET_EFFECT, effectIndex, effect);
    m_pfnDeviceControl2Arg(WMI_DEVID_RGBKB_EFFECT, words.first, words.second);
}

void WmiLibrary::CommitEffectByWMI(const ProfileTable& profiles, int32_t appliedProfile)
{
    if (appliedProfile != 0 || m_pfnDeviceControl2Arg == nullptr) return;
    const CustomProfile& profile = profiles[0];
    const EffectData* record = RecordAt(profile.allData, kAllZoneEffectCount, profile.allIndex);
    if (record == nullptr) return;
    WmiEffectWords words = BuildWmiEffectWords(WMI_SUBCMD_COMMIT_EFFECT, profile.allIndex, *record);
    m_pfnDeviceControl2Arg(WMI_DEVID_RGBKB_EFFECT, words.first, words.second);
}

void WmiLibrary::SetPowerStateByWMI(uint8_t mask, uint8_t secondByte)
{
    DeviceControl(WMI_DEVID_RGBKB_POWER, BuildWmiPowerStateWord(mask, secondByte));
}
