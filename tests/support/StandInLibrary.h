#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backend/profiles/EffectModel.h"
#include "tests/support/TempDir.h"

namespace testsupport {

// Scripts the maker's library stand-in through its environment variables and
// reads back the calls it recorded; everything is undone at scope end.
class StandInLibraryScript {
public:
    StandInLibraryScript();
    ~StandInLibraryScript();
    StandInLibraryScript(const StandInLibraryScript&) = delete;
    StandInLibraryScript& operator=(const StandInLibraryScript&) = delete;

    void Set(const std::wstring& name, const std::wstring& value);
    void SetStatus(unsigned deviceId, unsigned value);
    std::vector<std::string> Calls() const;
    // Only the calls that start with the given entry point's name and a blank.
    std::vector<std::string> CallsOf(const std::string& entryPoint) const;
    void ClearCalls();
    const std::wstring& LogPath() const { return m_log; }

private:
    TempDir m_dir;
    std::wstring m_log;
    std::vector<std::wstring> m_names;
};

// The lines the stand-in records for the effect words (device 0x00100056)
// and for a power-state argument (device 0x00100057).
std::string EffectControlCall(uint32_t firstWord, uint32_t secondWord);
std::string PowerStateCall(uint32_t argument);
// The line the stand-in records for an effect sent with a sub-command.
std::string EffectCall(uint8_t subCommand, int32_t effectIndex, const EffectData& record);
// Only the effect-word lines of the calls recorded so far, in order.
std::vector<std::string> EffectCalls(const StandInLibraryScript& library);

}  // namespace testsupport
