#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "backend/profiles/IniStore.h"
#include "tests/backend/profiles/ProfileTestSupport.h"

using testsupport::TempDir;

namespace {

constexpr uint32_t kSeed = 20261210;
// Every run reads the same files, however long they take: a failure names
// an input that the next run meets again.
constexpr int kFiles = 3000;
constexpr int kParserInputs = 200000;

// The reference for a sign and ASCII digits: anything past ten significant
// digits is out of range whatever follows.
int32_t ExpectedNumber(const std::string& token)
{
    size_t at = 0;
    bool negative = false;
    if (at < token.size() && (token[at] == '-' || token[at] == '+')) negative = token[at++] == '-';
    while (at + 1 < token.size() && token[at] == '0') ++at;
    std::string digits = token.substr(at);
    if (digits.empty()) return 0;
    if (digits.size() > 10) return negative ? INT32_MIN : INT32_MAX;
    long long value = std::stoll(digits) * (negative ? -1 : 1);
    return static_cast<int32_t>(std::min<long long>(INT32_MAX, std::max<long long>(INT32_MIN, value)));
}

struct Guarded {
    uint32_t before[8];
    CustomProfile profile;
    uint32_t after[8];
};
constexpr uint32_t kCanary = 0xA5C3E187u;

class FileGenerator {
public:
    explicit FileGenerator(std::mt19937& rng, std::string validFile) : m_rng(rng), m_valid(std::move(validFile)) {}

    std::string RandomBytes()
    {
        std::string bytes;
        int bom = Pick(4);
        if (bom == 1) bytes = "\xFF\xFE";
        if (bom == 2) bytes = "\xEF\xBB\xBF";
        if (bom == 3) bytes = "\xFE\xFF";
        size_t length = Pick(2048);
        for (size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(Pick(256)));
        return bytes;
    }

    // Lines of INI-like pieces: real and unknown names, long lines, stray
    // brackets, equals signs, control bytes and oversized numbers.
    std::string TokenSoup()
    {
        std::string text;
        int lines = 1 + Pick(80);
        for (int i = 0; i < lines; ++i) {
            switch (Pick(9)) {
            case 0: text += "[" + SectionName() + "]"; break;
            case 1: text += "[" + SectionName(); break;
            case 2: text += KeyName() + "=" + Value(); break;
            case 3: text += KeyName() + " = " + Value() + " ; note"; break;
            case 4: text += std::string(260 + Pick(3000), static_cast<char>('0' + Pick(10))); break;
            case 5: text += "=" + Value(); break;
            case 6: text += KeyName() + "=" + std::string(Pick(600), '9'); break;
            case 7: text += std::string(1, static_cast<char>(Pick(32))) + KeyName() + std::string("\0x", 2); break;
            default: text += "\xC3\xA9\xE2\x82\xAC[" + Value() + "]]=="; break;
            }
            text += Pick(5) == 0 ? "\r" : "\r\n";
        }
        return text;
    }

    std::string Mutated()
    {
        std::string bytes = m_valid;
        int mutations = 1 + Pick(8);
        for (int m = 0; m < mutations && !bytes.empty(); ++m) {
            size_t at = Pick(bytes.size());
            size_t span = 1 + Pick(std::min<size_t>(64, bytes.size() - at));
            switch (Pick(6)) {
            case 0: bytes[at] = static_cast<char>(bytes[at] ^ (1 << Pick(8))); break;
            case 1: bytes.erase(at, span); break;
            case 2: bytes.insert(at, RandomText(span)); break;
            case 3: bytes.insert(at, bytes.substr(at, span)); break;
            case 4: bytes.resize(at); break;
            default: bytes.insert(at, std::string(1 + Pick(40), static_cast<char>('0' + Pick(10)))); break;
            }
        }
        return bytes;
    }

    // Each key of a profile file at most once, in shuffled sections, with
    // numbers of any size; what the loader must produce is known.
    std::string Structured(CustomProfile& expected)
    {
        expected = CustomProfile{};
        for (EffectData& e : expected.allData) e = DefaultEffectData();
        for (EffectData& e : expected.wasdData) e = DefaultEffectData();
        for (EffectData& e : expected.qwerData) e = DefaultEffectData();
        for (EffectData& e : expected.fourData) e = DefaultEffectData();

        struct Section {
            std::string name;
            int32_t* fields;
            const wchar_t* const* keys;
            int count;
        };
        static const wchar_t* const* const kRecordKeys = kEffectKeyNames;
        std::vector<Section> sections;
        sections.push_back({"Config", &expected.modeIndex, kProfileIndexKeys, kProfileIndexKeyCount});
        for (int k = 0; k < 7; ++k)
            sections.push_back({"allData" + std::to_string(k), &expected.allData[k].ColorR, kRecordKeys, 27});
        for (int k = 0; k < 5; ++k) {
            sections.push_back({"fourData" + std::to_string(k), &expected.fourData[k].ColorR, kRecordKeys, 27});
            sections.push_back({"wasdData" + std::to_string(k), &expected.wasdData[k].ColorR, kRecordKeys, 27});
            sections.push_back({"qwerData" + std::to_string(k), &expected.qwerData[k].ColorR, kRecordKeys, 27});
        }
        std::shuffle(sections.begin(), sections.end(), m_rng);

        std::string text;
        for (const Section& section : sections) {
            if (Pick(3) == 0) continue;
            text += "[" + section.name + "]\r\n";
            std::vector<int> order(static_cast<size_t>(section.count));
            for (int i = 0; i < section.count; ++i) order[static_cast<size_t>(i)] = i;
            std::shuffle(order.begin(), order.end(), m_rng);
            for (int i : order) {
                if (Pick(2) == 0) continue;
                std::string token = NumberToken();
                const wchar_t* key = section.keys[i];
                text += std::string(key, key + wcslen(key)) + "=" + token + "\r\n";
                section.fields[i] = ExpectedNumber(token);
                if (Pick(8) == 0) text += "Unknown" + std::to_string(Pick(99)) + "=" + NumberToken() + "\r\n";
            }
            if (Pick(6) == 0) text += "[Extra" + std::to_string(Pick(9)) + "]\r\nColorR=" + NumberToken() + "\r\n";
        }
        return text;
    }

    size_t Pick(size_t bound) { return bound == 0 ? 0 : std::uniform_int_distribution<size_t>(0, bound - 1)(m_rng); }

private:
    std::string SectionName()
    {
        static const char* const kNames[] = {"Config", "allData", "fourData", "wasdData", "qwerData", "", "x"};
        std::string name = kNames[Pick(7)];
        if (Pick(2)) name += std::to_string(static_cast<int>(Pick(12)) - 2);
        return name;
    }
    std::string KeyName()
    {
        const wchar_t* key = Pick(4) == 0 ? kProfileIndexKeys[Pick(kProfileIndexKeyCount)]
                                          : kEffectKeyNames[Pick(kEffectFieldCount)];
        std::string name(key, key + wcslen(key));
        if (Pick(6) == 0) name += "x";
        return name;
    }
    std::string Value()
    {
        switch (Pick(4)) {
        case 0: return NumberToken();
        case 1: return "\"" + NumberToken() + "\"";
        case 2: return " " + NumberToken() + "abc";
        default: return RandomText(Pick(20));
        }
    }
    std::string NumberToken()
    {
        std::string token;
        int sign = static_cast<int>(Pick(3));
        if (sign == 1) token = "-";
        if (sign == 2) token = "+";
        size_t digits = 1 + Pick(Pick(4) == 0 ? 25 : 10);
        for (size_t i = 0; i < digits; ++i) token.push_back(static_cast<char>('0' + Pick(10)));
        return token;
    }
    std::string RandomText(size_t length)
    {
        std::string text;
        for (size_t i = 0; i < length; ++i) text.push_back(static_cast<char>(32 + Pick(95)));
        return text;
    }

    std::mt19937& m_rng;
    std::string m_valid;
};

}  // namespace

TEST(IniFuzz, LoaderSurvivesRandomAndMutatedFiles)
{
    std::mt19937 rng(kSeed);
    TempDir dir;
    CustomProfile sample{};
    int32_t* words = reinterpret_cast<int32_t*>(&sample);
    for (size_t i = 0; i < sizeof(sample) / sizeof(int32_t); ++i) words[i] = static_cast<int32_t>(i * 7919) - 9000;
    ASSERT_TRUE(SaveProfile(dir.Path().c_str(), 0, sample));
    FileGenerator generator(rng, testsupport::ReadFileBytes(dir.File(L"Custom0.Ini")));

    // Each input gets a folder not used in the last sixteen and its own
    // write time, so the platform's INI cache never serves an older file.
    std::vector<std::wstring> folders;
    for (int i = 0; i < 16; ++i) {
        folders.push_back(dir.File(L"f" + std::to_wstring(i)));
        CreateDirectoryW(folders.back().c_str(), nullptr);
    }

    // Most inputs are read as the loader reads one section (the index keys
    // and one record, one platform call per key); every 50th is loaded whole.
    std::vector<std::wstring> sections = {L"Config"};
    for (int k = 0; k < 7; ++k) sections.push_back(L"allData" + std::to_wstring(k));
    for (const wchar_t* list : {L"fourData", L"wasdData", L"qwerData"})
        for (int k = 0; k < 5; ++k) sections.push_back(list + std::to_wstring(k));

    const ULONGLONG start = GetTickCount64();
    int files = 0;
    int checked = 0;
    int whole = 0;
    for (; files < kFiles; ++files) {
        CustomProfile expected{};
        int kind = files % 4;
        std::string bytes = kind == 0   ? generator.RandomBytes()
                            : kind == 1 ? generator.TokenSoup()
                            : kind == 2 ? generator.Mutated()
                                        : generator.Structured(expected);
        const std::wstring& folder = folders[static_cast<size_t>(files) % folders.size()];
        std::wstring path = folder + L"\\Custom1.Ini";
        testsupport::WriteFileBytes(path, bytes);
        profiletest::SetWriteTime(path, profiletest::kJan2020 + static_cast<ULONGLONG>(files) * 10000000ULL);

        Guarded guarded;
        std::fill(std::begin(guarded.before), std::end(guarded.before), kCanary);
        std::fill(std::begin(guarded.after), std::end(guarded.after), kCanary);
        if (files % 50 == 0) {
            ++whole;
            ASSERT_TRUE(LoadProfile(folder.c_str(), 1, guarded.profile)) << "input " << files;
            if (kind == 3) {
                ASSERT_EQ(std::memcmp(&guarded.profile, &expected, sizeof(CustomProfile)), 0) << "input " << files;
                ++checked;
            }
        } else {
            size_t pick = generator.Pick(sections.size());
            int32_t indices[kProfileIndexKeyCount];
            for (int i = 0; i < kProfileIndexKeyCount; ++i)
                indices[i] = ReadIniInt(path.c_str(), L"Config", kProfileIndexKeys[i], L"");
            EffectData& record = guarded.profile.allData[0];
            LoadEffectRecord(path.c_str(), sections[pick].c_str(), record);
            if (kind == 3) {
                ASSERT_EQ(std::memcmp(indices, &expected.modeIndex, sizeof(indices)), 0) << "input " << files;
                const EffectData* wanted = nullptr;
                std::wstring name = sections[pick];
                int k = name.back() - L'0';
                if (name.rfind(L"allData", 0) == 0) wanted = &expected.allData[k];
                if (name.rfind(L"fourData", 0) == 0) wanted = &expected.fourData[k];
                if (name.rfind(L"wasdData", 0) == 0) wanted = &expected.wasdData[k];
                if (name.rfind(L"qwerData", 0) == 0) wanted = &expected.qwerData[k];
                // "Config" holds no record keys: the record reads as defaults.
                EffectData defaults = DefaultEffectData();
                if (wanted == nullptr) wanted = &defaults;
                ASSERT_EQ(std::memcmp(&record, wanted, sizeof(EffectData)), 0) << "input " << files;
                ++checked;
            }
        }
        for (uint32_t word : guarded.before) ASSERT_EQ(word, kCanary) << "input " << files;
        for (uint32_t word : guarded.after) ASSERT_EQ(word, kCanary) << "input " << files;
    }
    std::printf("[   FUZZ   ] %d INI files read (%d loaded whole, %d checked key by key) in %llu ms, seed %u\n",
                files, whole, checked, static_cast<unsigned long long>(GetTickCount64() - start), kSeed);
    RecordProperty("ini_files", files);
}

TEST(IniFuzz, NumberParsersNeverReadPastTheEndMark)
{
    // Each text ends exactly at the last character of a readable page, in
    // front of a page that faults when touched.
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    auto* block = static_cast<char*>(VirtualAlloc(nullptr, page * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
    wchar_t* pageEnd = reinterpret_cast<wchar_t*>(block + page);

    std::mt19937 rng(kSeed);
    static const wchar_t kAscii[] = L" \t+-0123456789abcdefABCDEFxX.z";
    int mismatches = 0;
    for (int n = 0; n < kParserInputs; ++n) {
        size_t length = std::uniform_int_distribution<size_t>(0, 40)(rng);
        bool ascii = n % 2 == 0;
        wchar_t* text = pageEnd - (length + 1);
        for (size_t i = 0; i < length; ++i)
            text[i] = ascii ? kAscii[std::uniform_int_distribution<size_t>(0, ARRAYSIZE(kAscii) - 2)(rng)]
                            : static_cast<wchar_t>(std::uniform_int_distribution<int>(1, 0xFFFF)(rng));
        text[length] = L'\0';
        int32_t decimal = ParseIniInt(text);
        ParseIniHex(text);
        RecentColorFromText(text);
        if (ascii) {
            // Against the C runtime's 64-bit reading, clamped.
            long long wide = wcstoll(text, nullptr, 10);
            int32_t reference = static_cast<int32_t>(std::min<long long>(INT32_MAX, std::max<long long>(INT32_MIN, wide)));
            if (decimal != reference && ++mismatches <= 5) ADD_FAILURE() << "decimal mismatch for input " << n;
        }
    }
    VirtualFree(block, 0, MEM_RELEASE);
    std::printf("[   FUZZ   ] %d texts through the number parsers\n", kParserInputs);
    EXPECT_EQ(mismatches, 0);
}
