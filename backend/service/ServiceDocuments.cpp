#include "backend/service/ServiceDocuments.h"

#include <cmath>

#include "platform/win/BoundedFormat.h"

using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

namespace {

float ClampChannel(float value)
{
    // Written so that nan lands on 0 as well.
    if (!(value >= 0.0f)) return 0.0f;
    if (value > 255.0f) return 255.0f;
    return value;
}

}  // namespace

void RGBToHSL(float r, float g, float b, LedRecord& record)
{
    r = ClampChannel(r) / 255.0f;
    g = ClampChannel(g) / 255.0f;
    b = ClampChannel(b) / 255.0f;
    float maxValue = std::fmax(r, std::fmax(g, b));
    float minValue = std::fmin(r, std::fmin(g, b));
    float lightness = (maxValue + minValue) / 2.0f;
    record.lightness = lightness;
    if (maxValue == minValue) {
        record.hue = 0.0f;
        record.saturation = 0.0f;
        return;
    }
    float delta = maxValue - minValue;
    record.saturation = lightness < 0.5f ? delta / (maxValue + minValue) : delta / (2.0f - maxValue - minValue);
    float sixths;
    if (r == maxValue)
        sixths = (g - b) / delta;
    else if (g == maxValue)
        sixths = (b - r) / delta + 2.0f;
    else
        sixths = (r - g) / delta + 4.0f;
    float degrees = sixths * 60.0f;
    if (degrees < 0.0f) degrees += 360.0f;
    float hue = degrees / 360.0f;
    // A hair below zero rounds up to a full turn.
    if (hue >= 1.0f) hue -= 1.0f;
    record.hue = hue;
}

namespace service {

const char kKeyboardDeviceName[] = "NB_Keyboard_LED";
const char kResetRequest[] =
    "<root><header>VORN_LUMO</header><version>1.0</version><funcid>8</funcid><device "
    "key=\"Mainboard\"><resetall /></device></root>";
const char kStopRequest[] = "<root><header>VORN_LUMO</header><version>1.0</version><funcid>14</funcid></root>";

namespace {

// Every element gets a text (possibly empty) and a key only when one is given.
XMLElement* AddElement(XMLNode* parent, const char* name, const char* text, const std::string& key = std::string())
{
    XMLElement* element = parent->GetDocument()->NewElement(name);
    parent->InsertEndChild(element);
    element->SetText(text);
    if (!key.empty()) element->SetAttribute("key", key.c_str());
    return element;
}

XMLElement* AddElement(XMLNode* parent, const char* name, const std::string& text, const std::string& key = std::string())
{
    return AddElement(parent, name, text.c_str(), key);
}

std::string Decimal(long long value)
{
    return std::to_string(value);
}

std::string FixedSix(float value)
{
    char buffer[64];
    platform::FormatBoundedA(buffer, sizeof(buffer), "%f", static_cast<double>(value));
    return buffer;
}

XMLElement* AddHeader(tinyxml2::XMLDocument& document, const char* funcId)
{
    XMLElement* root = AddElement(&document, "root", "");
    AddElement(root, "header", "VORN_LUMO");
    AddElement(root, "version", "1.1");
    AddElement(root, "funcid", funcId);
    return root;
}

}  // namespace

std::string NarrowUnits(const std::wstring& text)
{
    std::string narrow(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) narrow[i] = static_cast<char>(static_cast<unsigned>(text[i]) & 0xFFu);
    return narrow;
}

std::wstring WidenBytes(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    return wide;
}

std::string PrintDocument(const tinyxml2::XMLDocument& document)
{
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    int size = printer.CStrSize();
    return size > 1 ? std::string(printer.CStr(), static_cast<size_t>(size - 1)) : std::string();
}

long long ServiceModeFromEffectIndex(int effectIndex)
{
    // Computed wide: an index read from a file may be INT_MAX.
    long long mode = static_cast<long long>(effectIndex) + 1;
    switch (mode) {
    case 3: return 4;
    case 4: return 5;
    case 5: return 17;
    case 6: return 19;
    case 7: return 18;
    default: return mode;
    }
}

int MusicIndexFromMusicType(int32_t musicType)
{
    static const int kMusicIndex[8] = {3, 6, 5, 1, 7, 4, 2, 0};
    if (musicType < 0 || musicType > 7) return 0;
    return kMusicIndex[musicType];
}

int EffectSpeedFromSpeedType(int32_t speedType)
{
    switch (speedType) {
    case 1: return -2;
    case 2: return 0;
    case 3: return 2;
    default: return 0;
    }
}

std::string BuildSyncDocument(const std::vector<DeviceEntry>& devices)
{
    tinyxml2::XMLDocument document;
    XMLElement* root = AddHeader(document, "7");
    XMLElement* list = AddElement(root, "devicelist", "");
    for (const DeviceEntry& entry : devices) {
        XMLElement* device = AddElement(list, "device", "", entry.name);
        AddElement(device, "ingroup", entry.inGroup ? "1" : "0");
    }
    return PrintDocument(document);
}

std::vector<LedRecord> BuildLampList(const std::vector<LedRecord>& capability, int effectIndex,
                                     const EffectData& effect)
{
    std::vector<LedRecord> lamps;
    lamps.reserve(capability.size());
    for (const LedRecord& source : capability) {
        LedRecord lamp;
        lamp.ledKey = source.ledKey;
        RGBToHSL(static_cast<float>(effect.ColorR), static_cast<float>(effect.ColorG),
                 static_cast<float>(effect.ColorB), lamp);
        lamp.effectIndex = effectIndex;
        lamp.speed = effect.SpeedType;
        lamp.direction = effect.DirectType;
        lamps.push_back(std::move(lamp));
    }
    return lamps;
}

void BuildProfileDocument(tinyxml2::XMLDocument& document, const std::vector<LedRecord>& lamps,
                          const std::vector<DeviceEntry>& devices, int effectIndex, const EffectData& effect)
{
    const long long mode = ServiceModeFromEffectIndex(effectIndex);
    XMLElement* root = AddHeader(document, "4");
    XMLElement* device = AddElement(root, "device", "", "Group");
    XMLElement* scene = AddElement(device, "scene", "");
    AddElement(scene, "state", "S0");
    XMLElement* modeElement = AddElement(scene, "mode", Decimal(mode));
    AddElement(modeElement, "iscolorsynced", "0");
    AddElement(modeElement, "singlecolor", "1");
    AddElement(modeElement, "color_type", effect.StrobingRandom != 0 ? "Gradient" : "Plain");
    AddElement(modeElement, "start_end_color_cycle_start", "0.000000");
    AddElement(modeElement, "start_end_color_cycle_end", "1.000000");
    AddElement(modeElement, "start_end_color_cycle_range", "1.000000");
    AddElement(modeElement, "start_to_end_or_end_to_start", "1");

    XMLElement* order = AddElement(modeElement, "effect_path_order", "");
    AddElement(order, "order", "0", kKeyboardDeviceName);
    long long position = 0;
    for (const DeviceEntry& entry : devices) {
        if (entry.name == kKeyboardDeviceName) continue;
        AddElement(order, "order", Decimal(++position), entry.name);
    }

    for (const LedRecord& lamp : lamps) {
        XMLElement* led = AddElement(modeElement, "led", "", lamp.ledKey.key);
        AddElement(led, "color", Decimal(lamp.color));
        AddElement(led, "hue", FixedSix(lamp.hue));
        AddElement(led, "saturation", FixedSix(lamp.saturation));
        AddElement(led, "lightness", FixedSix(lamp.lightness));
        AddElement(led, "speed", Decimal(lamp.speed));
        AddElement(led, "direction", Decimal(lamp.direction));
        AddElement(led, "hashue2", "0");
        AddElement(led, "hue2", "0.0");
    }

    if (mode == 17 || mode == 5) {
        AddElement(modeElement, "effect_speed", Decimal(EffectSpeedFromSpeedType(effect.SpeedType)));
    } else if (mode == 18) {
        AddElement(modeElement, "thermal_threshold_one", Decimal(effect.TemperatureL));
        AddElement(modeElement, "thermal_threshold_two", Decimal(effect.TemperatureH));
        AddElement(modeElement, "thermal_value_type", "Thermal");
    } else if (mode == 19) {
        AddElement(modeElement, "music_index", Decimal(MusicIndexFromMusicType(effect.MusicType)));
    }
}

}  // namespace service
