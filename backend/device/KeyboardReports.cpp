#include "backend/device/KeyboardReports.h"

#include <algorithm>
#include <cstring>

namespace {

const uint8_t kStatusRequest[] = {RGBKB_REPORT_ID, RGBKB_CMD_STATUS, 0x20, 0x31, 0x00, 0x08};
const uint8_t kSyncAnswer[] = {RGBKB_REPORT_ID, 0xEC, 0x02};
const char kHandshake[] = "VORN Tech.Inc.";
constexpr size_t kMinStatusReply = 14;

uint8_t Byte(int32_t value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

void PutColor(CommandBuffer& command, size_t at, const RgbTriple& color)
{
    command[at] = Byte(color.r);
    command[at + 1] = Byte(color.g);
    command[at + 2] = Byte(color.b);
}

}  // namespace

std::vector<uint8_t> BuildInitReport(size_t length)
{
    std::vector<uint8_t> report(length, 0);
    if (length > 0) report[0] = RGBKB_REPORT_ID;
    for (size_t i = 0; i < sizeof(kHandshake) - 1 && i + 1 < length; ++i) report[i + 1] = static_cast<uint8_t>(kHandshake[i]);
    return report;
}

std::vector<uint8_t> BuildStatusRequest(size_t length)
{
    std::vector<uint8_t> report(length, 0);
    std::memcpy(report.data(), kStatusRequest, std::min(length, sizeof(kStatusRequest)));
    return report;
}

bool IsStatusEcho(const uint8_t* reply, size_t length)
{
    return reply != nullptr && length >= sizeof(kStatusRequest) &&
           std::memcmp(reply, kStatusRequest, sizeof(kStatusRequest)) == 0;
}

bool ParseStatusReply(const uint8_t* reply, size_t length, StatusReply& out)
{
    if (length < kMinStatusReply || !IsStatusEcho(reply, length)) return false;
    out.type = reply[9];
    out.subType = reply[11];
    out.support = (reply[6] & 0x10) != 0;
    return true;
}

bool IsSyncAnswer(const uint8_t* report, size_t length)
{
    return report != nullptr && length >= sizeof(kSyncAnswer) &&
           std::memcmp(report, kSyncAnswer, sizeof(kSyncAnswer)) == 0;
}

uint8_t ModeCode(int32_t effectIndex)
{
    return effectIndex == static_cast<int32_t>(EffectType::Strobing) ? 0x0A : Byte(effectIndex);
}

uint8_t HidSpeedCode(uint32_t pidModel, int32_t speedType)
{
    static const uint8_t kCodes[3][3] = {{0, 0, 0}, {0xFF, 0xFE, 0xFD}, {0xF5, 0xEB, 0xE1}};
    if (speedType < 1 || speedType > 3) return 0;
    size_t row = pidModel == 0 ? 0 : (pidModel == 1 ? 1 : (pidModel <= 3 ? 2 : 0));
    return kCodes[row][speedType - 1];
}

CommandBuffer BuildSimpleCommand(uint8_t command)
{
    CommandBuffer buffer{};
    buffer[0] = RGBKB_REPORT_ID;
    buffer[1] = command;
    return buffer;
}

std::vector<CommandBuffer> BuildSetEffectCommands(int32_t effectIndex, bool allZones, const EffectData& effect,
                                                  uint32_t pidModel, uint32_t modelType)
{
    CommandBuffer base = BuildSimpleCommand(RGBKB_CMD_SET_EFFECT);
    base[8] = (effect.DirectType >= 0 && effect.DirectType <= 3) ? Byte(effect.DirectType) : 0;
    base[3] = ModeCode(effectIndex);
    PutColor(base, 4, EffectColor(effect, 0));

    std::vector<CommandBuffer> commands;
    if (allZones) {
        base[2] = 0;
        if (base[3] == 1 || base[3] == 2) base[7] = HidSpeedCode(pidModel, effect.SpeedType);
        if (base[3] == 1) {
            base[9] = 1;
            PutColor(base, 10, EffectColor(effect, 1));
        }
        commands.push_back(base);
        return commands;
    }

    base[7] = HidSpeedCode(pidModel, effect.SpeedType);
    int zones = modelType == 6 ? 7 : 4;
    for (int zone = 1; zone <= zones; ++zone) {
        CommandBuffer command = base;
        command[2] = static_cast<uint8_t>(zone);
        PutColor(command, 4, EffectColor(effect, zone - 1));
        commands.push_back(command);
    }
    return commands;
}

std::vector<uint8_t> PadReport(const CommandBuffer& command, size_t length)
{
    std::vector<uint8_t> report(length, 0);
    std::memcpy(report.data(), command.data(), std::min(length, command.size()));
    return report;
}
