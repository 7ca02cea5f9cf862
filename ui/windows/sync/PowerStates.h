#pragma once
#include <windows.h>

#include <array>
#include <cstdint>

// The four power states in which the keyboard may be lit, as stored in
// Basic.ini [Setting] and sent to the controller as a mask.
constexpr int kPowerStateCount = 4;
constexpr wchar_t kPowerSettingSection[] = L"Setting";
// Indexed by power-state key: boot, awake, sleeping, shut-down.
extern const wchar_t* const kPowerStateKeys[kPowerStateCount];

// Key k lights bits 2k and 2k + 1 when its value is non-zero.
uint32_t PowerStateMask(const std::array<int32_t, kPowerStateCount>& values);

// Basic.ini [Setting] of the profile folder: each key read as a number, a
// missing one as 0; values are kept as read.
std::array<int32_t, kPowerStateCount> ReadPowerStates(const wchar_t* basicIniPath);
// Each value written with "%d", in key order; false when a write failed.
bool WritePowerStates(const wchar_t* basicIniPath, const std::array<int32_t, kPowerStateCount>& values);
