#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "backend/profiles/EffectModel.h"

// Byte layouts of the lighting controller's reports; plain functions so the
// protocol can be checked without a device.

constexpr uint8_t RGBKB_REPORT_ID = 0x5D;
constexpr uint8_t RGBKB_CMD_STATUS = 0x05;
constexpr uint8_t RGBKB_CMD_SET_EFFECT = 0xB3;
constexpr uint8_t RGBKB_CMD_COMMIT = 0xB4;
constexpr uint8_t RGBKB_CMD_APPLY = 0xB5;

constexpr size_t kCommandLength = 16;
using CommandBuffer = std::array<uint8_t, kCommandLength>;

// "VORN Tech.Inc." after the report id, zero padded to the feature length.
std::vector<uint8_t> BuildInitReport(size_t length);
// 5D 05 20 31 00 08, as many bytes as the length holds.
std::vector<uint8_t> BuildStatusRequest(size_t length);

struct StatusReply {
    uint32_t type;
    uint32_t subType;
    bool support;
};
// Valid only when at least 14 bytes long and echoing the request.
bool ParseStatusReply(const uint8_t* reply, size_t length, StatusReply& out);
bool IsStatusEcho(const uint8_t* reply, size_t length);

// True when an input report starts 5D EC 02.
bool IsSyncAnswer(const uint8_t* report, size_t length);

// Mode byte: the effect index, strobing as 0x0A.
uint8_t ModeCode(int32_t effectIndex);
uint8_t HidSpeedCode(uint32_t pidModel, int32_t speedType);

// The set-effect commands for one effect: one for the whole keyboard, or one
// per zone (four, or seven on model type 6).
std::vector<CommandBuffer> BuildSetEffectCommands(int32_t effectIndex, bool allZones, const EffectData& effect,
                                                  uint32_t pidModel, uint32_t modelType);

CommandBuffer BuildSimpleCommand(uint8_t command);

// A report of the given length: the command bytes, then zeros; a shorter
// report carries only the command's first bytes.
std::vector<uint8_t> PadReport(const CommandBuffer& command, size_t length);
