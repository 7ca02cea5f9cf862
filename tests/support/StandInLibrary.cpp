#include "tests/support/StandInLibrary.h"

#include <cstdio>
#include <cwchar>
#include <sstream>

#include "backend/device/WmiLibrary.h"

namespace testsupport {

namespace {

constexpr char kEffectWordsCall[] = "VoWMI_NB_DeviceControl_2arg 0x00100056";

}  // namespace

StandInLibraryScript::StandInLibraryScript() : m_log(m_dir.File(L"nbhwctl-calls.log"))
{
    Set(L"LUMO_NBHWCTL_LOG", m_log);
}

StandInLibraryScript::~StandInLibraryScript()
{
    for (const std::wstring& name : m_names) SetEnvironmentVariableW(name.c_str(), nullptr);
}

void StandInLibraryScript::Set(const std::wstring& name, const std::wstring& value)
{
    SetEnvironmentVariableW(name.c_str(), value.c_str());
    m_names.push_back(name);
}

void StandInLibraryScript::SetStatus(unsigned deviceId, unsigned value)
{
    wchar_t name[64];
    swprintf(name, 64, L"LUMO_NBHWCTL_STATUS_%08X", deviceId);
    Set(name, std::to_wstring(value));
}

std::vector<std::string> StandInLibraryScript::Calls() const
{
    std::vector<std::string> calls;
    std::istringstream lines(ReadFileBytes(m_log));
    for (std::string line; std::getline(lines, line);) calls.push_back(line);
    return calls;
}

std::vector<std::string> StandInLibraryScript::CallsOf(const std::string& entryPoint) const
{
    std::vector<std::string> found;
    for (const std::string& call : Calls())
        if (call == entryPoint || call.rfind(entryPoint + " ", 0) == 0) found.push_back(call);
    return found;
}

void StandInLibraryScript::ClearCalls()
{
    DeleteFileW(m_log.c_str());
}

std::string EffectControlCall(uint32_t firstWord, uint32_t secondWord)
{
    char text[96];
    std::snprintf(text, sizeof(text), "%s 0x%08X 0x%08X", kEffectWordsCall, static_cast<unsigned>(firstWord),
                  static_cast<unsigned>(secondWord));
    return text;
}

std::string PowerStateCall(uint32_t argument)
{
    char text[64];
    std::snprintf(text, sizeof(text), "VoWMI_NB_DeviceControl 0x00100057 0x%08X", static_cast<unsigned>(argument));
    return text;
}

std::string EffectCall(uint8_t subCommand, int32_t effectIndex, const EffectData& record)
{
    const WmiEffectWords words = BuildWmiEffectWords(subCommand, effectIndex, record);
    return EffectControlCall(words.first, words.second);
}

std::vector<std::string> EffectCalls(const StandInLibraryScript& library)
{
    std::vector<std::string> calls;
    for (const std::string& call : library.Calls())
        if (call.rfind(kEffectWordsCall, 0) == 0) calls.push_back(call);
    return calls;
}

}  // namespace testsupport
