#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "backend/profiles/EffectModel.h"

// Profile files: "Basic.ini" and "Custom%d.Ini" in the profile folder, read
// and written through the platform's profile-string functions only.

constexpr size_t kIniPathCapacity = MAX_PATH;
constexpr size_t kIniValueCapacity = 260;
constexpr int kProfileIndexKeyCount = 6;
constexpr int kMaxRecentColors = 10;

// The 27 record keys in field order, with the text a missing key reads as.
extern const wchar_t* const kEffectKeyNames[kEffectFieldCount];
extern const wchar_t* const kEffectKeyDefaults[kEffectFieldCount];
// The "Config" keys of a profile file, in the order written.
extern const wchar_t* const kProfileIndexKeys[kProfileIndexKeyCount];

// Decimal the way _wtoi reads ASCII text (blanks, sign, digits, anything else
// ends it), but saturating at the 32-bit limits instead of overflowing. Only
// ASCII blanks and digits count: a full-width digit ends the number, where
// _wtoi would read it.
int32_t ParseIniInt(const wchar_t* text);
// Hexadecimal the way wcstol(base 16) reads ASCII text, saturating the same way.
int32_t ParseIniHex(const wchar_t* text);

// Recent colours: "%02X%02X%02X" of red, green, blue; read back opaque.
uint32_t RecentColorFromText(const wchar_t* text);
// The same for a stored value: false for one that is not ASCII hexadecimal
// digits alone (blanks around them allowed), so it is skipped, not read as black.
bool ParseRecentColorText(const wchar_t* text, uint32_t& argb);
bool RecentColorText(uint32_t argb, wchar_t* buffer, size_t capacity);

// "%s\\Basic.ini" and "%s\\Custom%d.Ini" of a folder. A path that does not
// fit, an empty folder or a profile number outside 0..2 is a traced failure
// and leaves an empty path, never a cut one that names another file.
bool BuildBasicIniPath(const wchar_t* folder, wchar_t* path, size_t capacity);
bool BuildCustomIniPath(const wchar_t* folder, int n, wchar_t* path, size_t capacity);

// A file that exists but cannot be opened for reading: another process holds
// it without sharing, or an access rule keeps us out. The profile-string
// functions read such a file as its defaults, so what was read from it must
// never be written back. error, when given, receives the reason.
bool IniFileUnreadable(const wchar_t* path, DWORD* error = nullptr);

int32_t ReadIniInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, const wchar_t* defaultText);
bool WriteIniInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int32_t value);

// One record section of a file, each key with its default.
void LoadEffectRecord(const wchar_t* path, const wchar_t* section, EffectData& out);
bool SaveEffectRecord(const wchar_t* path, const wchar_t* section, const EffectData& record);

// Profile n (0..2) of a folder. The load fills out only when the path could
// be built; the save writes all 6 + 22 x 27 keys, one call per key.
bool LoadProfile(const wchar_t* folder, int n, CustomProfile& out);
bool SaveProfile(const wchar_t* folder, int n, const CustomProfile& profile);

// Basic.ini [RecentColor]: colours in file order (Color0, the oldest, first).
// Count is trusted only within 0..10; a larger count reads its last ten keys,
// which is what adding each in turn to a ten-entry list would keep. A
// malformed or missing value is skipped. onEntry, when given, sees each key
// in turn with its value as stored and the colour read (null when skipped).
using RecentColorEntryFn = std::function<void(const wchar_t* key, const wchar_t* value, const uint32_t* color)>;
std::vector<uint32_t> LoadRecentColors(const wchar_t* basicPath, const RecentColorEntryFn& onEntry = nullptr);
// newestFirst as the picker holds it; Color0 is written from the last entry.
bool SaveRecentColors(const wchar_t* basicPath, const std::vector<uint32_t>& newestFirst);

// The entry points the program calls: the profile folder m_tszIniDir and the
// shared table g_CustomProfiles. LoadCustomEffectsFromIni is false when entry
// n does not hold what its file holds: no path, or a file that exists but
// could not be read (traced; the entry then holds the defaults).
bool LoadSingleEffectDataFromIni(int n, EffectData* out, const wchar_t* section);
bool LoadCustomEffectsFromIni(int n);
bool SaveSingleEffectData2Ini(int n, const wchar_t* section, EffectData record);
bool SaveCustomEffect2Ini(int n);
