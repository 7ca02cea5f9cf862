#include "ui/windows/sync/PowerStates.h"

#include "backend/profiles/IniStore.h"

const wchar_t* const kPowerStateKeys[kPowerStateCount] = {L"BOOTUP", L"AWAKE", L"SLEEPING", L"SHUTDOWN"};

uint32_t PowerStateMask(const std::array<int32_t, kPowerStateCount>& values)
{
    uint32_t mask = 0;
    for (int key = 0; key < kPowerStateCount; ++key)
        if (values[static_cast<size_t>(key)] != 0) mask |= 3u << (2 * key);
    return mask;
}

std::array<int32_t, kPowerStateCount> ReadPowerStates(const wchar_t* basicIniPath)
{
    std::array<int32_t, kPowerStateCount> values{};
    if (!basicIniPath || !*basicIniPath) return values;
    for (int key = 0; key < kPowerStateCount; ++key)
        values[static_cast<size_t>(key)] = ReadIniInt(basicIniPath, kPowerSettingSection, kPowerStateKeys[key], L"");
    return values;
}

bool WritePowerStates(const wchar_t* basicIniPath, const std::array<int32_t, kPowerStateCount>& values)
{
    if (!basicIniPath || !*basicIniPath) return false;
    bool written = true;
    for (int key = 0; key < kPowerStateCount; ++key)
        written &= WriteIniInt(basicIniPath, kPowerSettingSection, kPowerStateKeys[key], values[static_cast<size_t>(key)]);
    return written;
}
