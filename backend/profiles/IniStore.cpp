#include "backend/profiles/IniStore.h"

#include <cwchar>
#include <iterator>
#include <limits>
#include <type_traits>

#include "backend/profiles/IniSection.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/UniqueHandle.h"

// The key tables come from the one list of profile-file keys.
const wchar_t* const kEffectKeyNames[kEffectFieldCount] = {
#define EFFECT_KEY(field, defaultText) L"" #field,
#include "backend/profiles/ProfileKeys.def"
};

const wchar_t* const kEffectKeyDefaults[kEffectFieldCount] = {
#define EFFECT_KEY(field, defaultText) L"" defaultText,
#include "backend/profiles/ProfileKeys.def"
};

const wchar_t* const kProfileIndexKeys[kProfileIndexKeyCount] = {
#define PROFILE_INDEX_KEY(field) L"" #field,
#include "backend/profiles/ProfileKeys.def"
};

namespace {

constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();

// Numbers are ASCII only; the runtime's readers would also take full-width
// digits and blanks, which only a hand-edited file holds.
bool IsAsciiBlank(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Digits of the given base after blanks and a sign; the magnitude stops
// growing once it passes the 32-bit range, so no input can overflow.
int32_t ParseClamped(const wchar_t* text, int base)
{
    if (text == nullptr) return 0;
    const wchar_t* p = text;
    while (IsAsciiBlank(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    if (base == 16 && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && HexDigitValue(p[2]) >= 0) p += 2;
    int64_t magnitude = 0;
    for (;; ++p) {
        int digit = base == 16 ? HexDigitValue(*p) : (*p >= L'0' && *p <= L'9' ? *p - L'0' : -1);
        if (digit < 0) break;
        if (magnitude <= kIntMax + 1) magnitude = magnitude * base + digit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > kIntMax) return static_cast<int32_t>(kIntMax);
    if (value < kIntMin) return static_cast<int32_t>(kIntMin);
    return static_cast<int32_t>(value);
}

// The record lists in file order (all, four, WASD, QWER), which differs from
// the order of the lists in CustomProfile.
template <typename ProfileT, typename Visit>
void ForEachRecordSection(ProfileT& profile, Visit visit)
{
    struct Entry {
        const wchar_t* format;
        decltype(&profile.allData[0]) list;
        int length;
    };
    const Entry lists[] = {
#define RECORD_LIST(field, count) {L"" #field L"%d", profile.field, count},
#include "backend/profiles/ProfileKeys.def"
    };
    for (const Entry& entry : lists) {
        for (int k = 0; k < entry.length; ++k) {
            wchar_t section[32];
            platform::FormatBounded(section, ARRAYSIZE(section), entry.format, k);
            visit(section, entry.list[k]);
        }
    }
}

// The key names above are field names: these tables make the compiler
// check them, and loads and saves go field by field through them.
constexpr int32_t CustomProfile::*kIndexFields[] = {
#define PROFILE_INDEX_KEY(field) &CustomProfile::field,
#include "backend/profiles/ProfileKeys.def"
};
static_assert(std::size(kIndexFields) == kProfileIndexKeyCount, "one key per index field");

constexpr int32_t EffectData::*kEffectFields[] = {
#define EFFECT_KEY(field, defaultText) &EffectData::field,
#include "backend/profiles/ProfileKeys.def"
};
static_assert(std::size(kEffectFields) == kEffectFieldCount, "one key per EffectData field");

#define RECORD_LIST(field, count) \
    static_assert(std::extent<decltype(CustomProfile::field)>::value == (count), #field " has one section per record");
#include "backend/profiles/ProfileKeys.def"

}  // namespace

int32_t ParseIniInt(const wchar_t* text)
{
    return ParseClamped(text, 10);
}

int32_t ParseIniHex(const wchar_t* text)
{
    return ParseClamped(text, 16);
}

uint32_t RecentColorFromText(const wchar_t* text)
{
    uint32_t value = static_cast<uint32_t>(ParseIniHex(text));
    return 0xFF000000u | (value & 0x00FFFFFFu);
}

bool ParseRecentColorText(const wchar_t* text, uint32_t& argb)
{
    if (text == nullptr) return false;
    const wchar_t* p = text;
    while (*p == L' ' || *p == L'\t') ++p;
    const wchar_t* digits = p;
    while (HexDigitValue(*p) >= 0) ++p;
    const size_t digitCount = static_cast<size_t>(p - digits);
    while (*p == L' ' || *p == L'\t') ++p;
    if (digitCount == 0 || digitCount > 8 || *p != L'\0') return false;
    argb = RecentColorFromText(digits);
    return true;
}

bool RecentColorText(uint32_t argb, wchar_t* buffer, size_t capacity)
{
    return platform::FormatBounded(buffer, capacity, L"%02X%02X%02X", (argb >> 16) & 0xFF, (argb >> 8) & 0xFF,
                                   argb & 0xFF);
}

bool BuildBasicIniPath(const wchar_t* folder, wchar_t* path, size_t capacity)
{
    if (path == nullptr || capacity == 0) return false;
    path[0] = L'\0';
    if (folder == nullptr || folder[0] == L'\0') {
        LogMessage(L"no profile folder", L"tszPath @ BuildBasicIniPath", false, ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (!platform::FormatBounded(path, capacity, L"%ls\\Basic.ini", folder)) {
        path[0] = L'\0';
        LogMessage(folder, L"path too long @ BuildBasicIniPath", false, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return true;
}

bool BuildCustomIniPath(const wchar_t* folder, int n, wchar_t* path, size_t capacity)
{
    if (path == nullptr || capacity == 0) return false;
    path[0] = L'\0';
    if (n < 0 || n >= kProfileCount) {
        LogMessage(L"profile number out of bound !", L"BuildCustomIniPath", false, static_cast<uint32_t>(n));
        return false;
    }
    if (folder == nullptr || folder[0] == L'\0') {
        LogMessage(L"no profile folder", L"tszPath @ BuildCustomIniPath", false, ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (!platform::FormatBounded(path, capacity, L"%ls\\Custom%d.Ini", folder, n)) {
        path[0] = L'\0';
        LogMessage(folder, L"path too long @ BuildCustomIniPath", false, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return true;
}

bool IniFileUnreadable(const wchar_t* path, DWORD* error)
{
    if (error) *error = ERROR_SUCCESS;
    if (path == nullptr || path[0] == L'\0') return false;
    platform::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsValid()) return false;
    const DWORD reason = GetLastError();
    if (reason == ERROR_FILE_NOT_FOUND || reason == ERROR_PATH_NOT_FOUND) return false;
    if (error) *error = reason;
    return true;
}

int32_t ReadIniInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, const wchar_t* defaultText)
{
    wchar_t value[kIniValueCapacity] = {};
    GetPrivateProfileStringW(section, key, defaultText != nullptr ? defaultText : L"", value, ARRAYSIZE(value), path);
    return ParseIniInt(value);
}

bool WriteIniInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int32_t value)
{
    wchar_t text[16];
    platform::FormatBounded(text, ARRAYSIZE(text), L"%d", static_cast<int>(value));
    return WritePrivateProfileStringW(section, key, text, path) != FALSE;
}

void LoadEffectRecord(const wchar_t* path, const wchar_t* section, EffectData& out)
{
    IniSection values;
    if (!values.Load(path, section)) {
        for (int i = 0; i < kEffectFieldCount; ++i)
            out.*kEffectFields[i] = ReadIniInt(path, section, kEffectKeyNames[i], kEffectKeyDefaults[i]);
        return;
    }
    for (int i = 0; i < kEffectFieldCount; ++i) {
        out.*kEffectFields[i] =
            ParseIniInt(values.Value(kEffectKeyNames[i], kEffectKeyDefaults[i], kIniValueCapacity).c_str());
    }
}

bool SaveEffectRecord(const wchar_t* path, const wchar_t* section, const EffectData& record)
{
    bool allWritten = true;
    for (int i = 0; i < kEffectFieldCount; ++i)
        allWritten &= WriteIniInt(path, section, kEffectKeyNames[i], record.*kEffectFields[i]);
    return allWritten;
}

bool LoadProfile(const wchar_t* folder, int n, CustomProfile& out)
{
    wchar_t path[kIniPathCapacity];
    if (!BuildCustomIniPath(folder, n, path, ARRAYSIZE(path))) return false;
    // Read into a copy so a caller's table changes in one step.
    CustomProfile loaded{};
    IniSection config;
    const bool whole = config.Load(path, L"Config");
    for (int i = 0; i < kProfileIndexKeyCount; ++i) {
        loaded.*kIndexFields[i] = whole ? ParseIniInt(config.Value(kProfileIndexKeys[i], L"", kIniValueCapacity).c_str())
                                        : ReadIniInt(path, L"Config", kProfileIndexKeys[i], L"");
    }
    ForEachRecordSection(loaded, [&](const wchar_t* section, EffectData& record) {
        LoadEffectRecord(path, section, record);
    });
    out = loaded;
    return true;
}

bool SaveProfile(const wchar_t* folder, int n, const CustomProfile& profile)
{
    wchar_t path[kIniPathCapacity];
    if (!BuildCustomIniPath(folder, n, path, ARRAYSIZE(path))) return false;
    bool allWritten = true;
    for (int i = 0; i < kProfileIndexKeyCount; ++i)
        allWritten &= WriteIniInt(path, L"Config", kProfileIndexKeys[i], profile.*kIndexFields[i]);
    ForEachRecordSection(profile, [&](const wchar_t* section, const EffectData& record) {
        allWritten &= SaveEffectRecord(path, section, record);
    });
    if (!allWritten) LogMessage(path, L"WritePrivateProfileString failed @ SaveProfile", false, 0);
    return allWritten;
}

std::vector<uint32_t> LoadRecentColors(const wchar_t* basicPath, const RecentColorEntryFn& onEntry)
{
    std::vector<uint32_t> colors;
    int32_t count = ReadIniInt(basicPath, L"RecentColor", L"Count", L"");
    if (count <= 0) return colors;
    int32_t first = count > kMaxRecentColors ? count - kMaxRecentColors : 0;
    for (int32_t i = first; i < count; ++i) {
        wchar_t key[32];
        platform::FormatBounded(key, ARRAYSIZE(key), L"Color%d", static_cast<int>(i));
        wchar_t value[kIniValueCapacity] = {};
        GetPrivateProfileStringW(L"RecentColor", key, L"", value, ARRAYSIZE(value), basicPath);
        uint32_t color = 0;
        const bool read = ParseRecentColorText(value, color);
        if (read) colors.push_back(color);
        if (onEntry) onEntry(key, value, read ? &color : nullptr);
    }
    return colors;
}

bool SaveRecentColors(const wchar_t* basicPath, const std::vector<uint32_t>& newestFirst)
{
    int32_t count = static_cast<int32_t>(newestFirst.size());
    bool allWritten = WriteIniInt(basicPath, L"RecentColor", L"Count", count);
    for (int32_t i = 0; i < count; ++i) {
        wchar_t key[32];
        wchar_t value[16];
        platform::FormatBounded(key, ARRAYSIZE(key), L"Color%d", static_cast<int>(i));
        RecentColorText(newestFirst[static_cast<size_t>(count - 1 - i)], value, ARRAYSIZE(value));
        allWritten &= WritePrivateProfileStringW(L"RecentColor", key, value, basicPath) != FALSE;
    }
    return allWritten;
}

bool LoadSingleEffectDataFromIni(int n, EffectData* out, const wchar_t* section)
{
    wchar_t path[kIniPathCapacity];
    if (out == nullptr || section == nullptr || !BuildCustomIniPath(m_tszIniDir, n, path, ARRAYSIZE(path))) return false;
    LogMessage(path, L"tszPath @ LoadSingleEffectDataFromIni", true, 0);
    LoadEffectRecord(path, section, *out);
    return true;
}

bool LoadCustomEffectsFromIni(int n)
{
    wchar_t path[kIniPathCapacity];
    if (!BuildCustomIniPath(m_tszIniDir, n, path, ARRAYSIZE(path))) return false;
    LogMessage(path, L"tszPath @ LoadCustomEffectsFromIni", true, 0);
    DWORD error = 0;
    const bool unreadable = IniFileUnreadable(path, &error);
    if (unreadable) LogMessage(path, L"file cannot be read @ LoadCustomEffectsFromIni", false, error);
    return LoadProfile(m_tszIniDir, n, g_CustomProfiles[static_cast<size_t>(n)]) && !unreadable;
}

bool SaveSingleEffectData2Ini(int n, const wchar_t* section, EffectData record)
{
    wchar_t path[kIniPathCapacity];
    if (section == nullptr || !BuildCustomIniPath(m_tszIniDir, n, path, ARRAYSIZE(path))) return false;
    LogMessage(path, L"tszPath @ SaveSingleEffectData2Ini", true, 0);
    return SaveEffectRecord(path, section, record);
}

bool SaveCustomEffect2Ini(int n)
{
    wchar_t path[kIniPathCapacity];
    if (!BuildCustomIniPath(m_tszIniDir, n, path, ARRAYSIZE(path))) return false;
    LogMessage(path, L"tszPath @ SaveCustomEffect2Ini", true, 0);
    return SaveProfile(m_tszIniDir, n, g_CustomProfiles[static_cast<size_t>(n)]);
}
