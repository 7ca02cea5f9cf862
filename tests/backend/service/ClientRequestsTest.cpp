#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "backend/service/LightingServiceClient.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "tests/backend/service/FakeMediator.h"
#include "tests/backend/service/ServiceTestSupport.h"

namespace {

using servicetest::ChildNames;
using servicetest::FakeService;
using servicetest::KeyOf;
using servicetest::ScopedWorkingDirectory;
using servicetest::TextOf;
using tinyxml2::XMLElement;

using Names = std::vector<std::string>;

class ServiceClientRequests : public testing::Test {
protected:
    // The one document sent, after checking the call carried "1".
    std::string SentDocument(size_t index = 0)
    {
        std::vector<servicetest::FakeMediator::Call> sets;
        for (const auto& call : fake.mediator.calls)
            if (call.method == "SetProfile") sets.push_back(call);
        if (index >= sets.size()) {
            ADD_FAILURE() << "no request " << index;
            return std::string();
        }
        EXPECT_EQ(sets[index].first, L"1");
        return servicetest::Ascii(sets[index].second);
    }

    const XMLElement* ParseRoot(const std::string& text)
    {
        EXPECT_EQ(parsed.Parse(text.c_str()), tinyxml2::XML_SUCCESS) << text;
        const XMLElement* root = parsed.RootElement();
        EXPECT_NE(root, nullptr);
        if (root == nullptr) return nullptr;
        EXPECT_STREQ(root->Name(), "root");
        return root;
    }

    void LoadLists()
    {
        fake.mediator.capabilityReply = L"<root><led key=\"K1\"><locationname>L1</locationname></led>"
                                        L"<led key=\"K2\"/></root>";
        fake.mediator.statusReply = L"<root><connecteddevice key=\"NB_Keyboard_LED\"/><connecteddevice key=\"Mouse\"/>"
                                    L"<connecteddevice key=\"Strip\"/><ingroupdevice key=\"Strip\"/></root>";
        client.GetDeviceStatus();
        client.GetDeviceCap();
        fake.mediator.calls.clear();
    }

    ScopedWorkingDirectory cwd;
    FakeService fake;
    LightingServiceClient client{fake.transport};
    tinyxml2::XMLDocument parsed;
};

TEST_F(ServiceClientRequests, FixedRequestsAreSentByteForByte)
{
    ASSERT_TRUE(cwd.Ok());
    client.ServiceStop();
    client.reScan();
    EXPECT_EQ(SentDocument(0), "<root><header>VORN_LUMO</header><version>1.0</version><funcid>14</funcid></root>");
    EXPECT_EQ(SentDocument(1),
              "<root><header>VORN_LUMO</header><version>1.0</version><funcid>8</funcid><device key=\"Mainboard\">"
              "<resetall /></device></root>");
}

TEST_F(ServiceClientRequests, ReScanEmptiesResetsThenAsksStatusBeforeCapability)
{
    ASSERT_TRUE(cwd.Ok());
    LoadLists();
    client.m_vecCapability.push_back(LedRecord{});
    fake.mediator.capabilityReply = L"<root><led key=\"New\"/></root>";
    fake.mediator.statusReply = L"<root><connecteddevice key=\"Pad\"/></root>";

    client.reScan();

    EXPECT_EQ(fake.mediator.MethodOrder(), (Names{"SetProfile", "get_QueryAllDeviceStatus", "get_QueryAllDeviceCap"}));
    ASSERT_EQ(client.m_vecCapability.size(), 1u);
    EXPECT_EQ(client.m_vecCapability[0].ledKey.key, "New");
    ASSERT_EQ(client.m_vecStatus.size(), 1u);
    EXPECT_EQ(client.m_vecStatus[0].name, "Pad");
}

TEST_F(ServiceClientRequests, SyncSendsEveryDeviceWithItsGroupFlag)
{
    ASSERT_TRUE(cwd.Ok());
    fake.mediator.statusReply =
        L"<root><connecteddevice key=\"Mouse\"/><connecteddevice key=\"Strip\"/><ingroupdevice key=\"Strip\"/></root>";
    client.GetDeviceStatus();
    client.m_vecStatus.push_back({"", true});
    fake.mediator.calls.clear();

    client.doSync();

    ASSERT_EQ(fake.mediator.MethodOrder(), Names{"SetProfile"});
    std::string sent = SentDocument();
    // Every element carries a text, so the printer keeps the head on one line.
    EXPECT_EQ(sent.rfind("<root><header>VORN_LUMO</header>", 0), 0u) << sent;
    const XMLElement* root = ParseRoot(sent);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(root), (Names{"header", "version", "funcid", "devicelist"}));
    EXPECT_EQ(TextOf(root, "version"), "1.1");
    EXPECT_EQ(TextOf(root, "funcid"), "7");
    const XMLElement* list = root->FirstChildElement("devicelist");
    EXPECT_EQ(ChildNames(list), (Names{"device", "device", "device"}));
    std::vector<std::pair<std::string, std::string>> devices;
    for (const XMLElement* d = list->FirstChildElement(); d != nullptr; d = d->NextSiblingElement()) {
        EXPECT_EQ(ChildNames(d), Names{"ingroup"});
        devices.emplace_back(KeyOf(d), TextOf(d, "ingroup"));
    }
    EXPECT_EQ(devices, (std::vector<std::pair<std::string, std::string>>{
                           {"Mouse", "0"}, {"Strip", "1"}, {"<none>", "1"}}));
}

struct ProfileCase {
    const char* name;
    int effectIndex;
    int32_t speedType;
    int32_t musicType;
    int32_t strobingRandom;
    const char* mode;
    // Children of "mode" after the lamps, with their texts.
    std::vector<std::pair<std::string, std::string>> extras;
};

class ProfileRequests : public ServiceClientRequests, public testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileRequests, CarryTheEffectForEveryLamp)
{
    ASSERT_TRUE(cwd.Ok());
    const ProfileCase& c = GetParam();
    LoadLists();
    EffectData effect = DefaultEffectData();
    effect.ColorR = 0;
    effect.ColorG = 255;
    effect.ColorB = 255;
    effect.SpeedType = c.speedType;
    effect.DirectType = 1;
    effect.MusicType = c.musicType;
    effect.TemperatureH = 85;
    effect.TemperatureL = 60;
    effect.StrobingRandom = c.strobingRandom;

    client.UpdateXmlToService(c.effectIndex, effect);

    ASSERT_EQ(fake.mediator.MethodOrder(), Names{"SetProfile"});
    std::string sent = SentDocument();
    // The saved file is the very document that went out.
    EXPECT_EQ(servicetest::WithoutCarriageReturns(testsupport::ReadFileBytes(cwd.File(L"LumoDlgSetProfile.xml"))),
              sent);
    const XMLElement* root = ParseRoot(sent);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(root), (Names{"header", "version", "funcid", "device"}));
    EXPECT_EQ(TextOf(root, "header"), "VORN_LUMO");
    EXPECT_EQ(TextOf(root, "version"), "1.1");
    EXPECT_EQ(TextOf(root, "funcid"), "4");
    const XMLElement* device = root->FirstChildElement("device");
    EXPECT_EQ(KeyOf(device), "Group");
    const XMLElement* scene = device->FirstChildElement("scene");
    EXPECT_EQ(ChildNames(scene), (Names{"state", "mode"}));
    EXPECT_EQ(TextOf(scene, "state"), "S0");
    const XMLElement* mode = scene->FirstChildElement("mode");
    EXPECT_STREQ(mode->GetText(), c.mode);

    Names expectedChildren{"iscolorsynced", "singlecolor", "color_type", "start_end_color_cycle_start",
                           "start_end_color_cycle_end", "start_end_color_cycle_range",
                           "start_to_end_or_end_to_start", "effect_path_order", "led", "led"};
    for (const auto& extra : c.extras) expectedChildren.push_back(extra.first);
    EXPECT_EQ(ChildNames(mode), expectedChildren);
    EXPECT_EQ(TextOf(mode, "iscolorsynced"), "0");
    EXPECT_EQ(TextOf(mode, "singlecolor"), "1");
    EXPECT_EQ(TextOf(mode, "color_type"), c.strobingRandom != 0 ? "Gradient" : "Plain");
    EXPECT_EQ(TextOf(mode, "start_end_color_cycle_start"), "0.000000");
    EXPECT_EQ(TextOf(mode, "start_end_color_cycle_end"), "1.000000");
    EXPECT_EQ(TextOf(mode, "start_end_color_cycle_range"), "1.000000");
    EXPECT_EQ(TextOf(mode, "start_to_end_or_end_to_start"), "1");
    for (const auto& extra : c.extras) EXPECT_EQ(TextOf(mode, extra.first.c_str()), extra.second) << extra.first;

    // The keyboard first, then the other devices numbered from 1.
    std::vector<std::pair<std::string, std::string>> order;
    for (const XMLElement* o = mode->FirstChildElement("effect_path_order")->FirstChildElement(); o != nullptr;
         o = o->NextSiblingElement())
        order.emplace_back(KeyOf(o), o->GetText() != nullptr ? o->GetText() : "");
    EXPECT_EQ(order, (std::vector<std::pair<std::string, std::string>>{
                         {"NB_Keyboard_LED", "0"}, {"Mouse", "1"}, {"Strip", "2"}}));

    // Cyan: hue 180 degrees, full saturation, half lightness.
    std::vector<std::string> keys;
    for (const XMLElement* led = mode->FirstChildElement("led"); led != nullptr;
         led = led->NextSiblingElement("led")) {
        keys.push_back(KeyOf(led));
        EXPECT_EQ(ChildNames(led),
                  (Names{"color", "hue", "saturation", "lightness", "speed", "direction", "hashue2", "hue2"}));
        EXPECT_EQ(TextOf(led, "color"), "16777215");
        EXPECT_EQ(TextOf(led, "hue"), "0.500000");
        EXPECT_EQ(TextOf(led, "saturation"), "1.000000");
        EXPECT_EQ(TextOf(led, "lightness"), "0.500000");
        EXPECT_EQ(TextOf(led, "speed"), std::to_string(c.speedType));
        EXPECT_EQ(TextOf(led, "direction"), "1");
        EXPECT_EQ(TextOf(led, "hashue2"), "0");
        EXPECT_EQ(TextOf(led, "hue2"), "0.0");
    }
    EXPECT_EQ(keys, (Names{"K1", "K2"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRequests,
    testing::Values(ProfileCase{"Static", 0, 2, 0, 0, "1", {}},
                    ProfileCase{"Breathing", 1, 2, 0, 1, "2", {}},
                    ProfileCase{"ColorCycle", 2, 2, 0, 0, "4", {}},
                    ProfileCase{"RainbowSlow", 3, 1, 0, 0, "5", {{"effect_speed", "-2"}}},
                    ProfileCase{"StrobingFast", 4, 3, 0, 1, "17", {{"effect_speed", "2"}}},
                    ProfileCase{"StrobingOddSpeed", 4, 7, 0, 0, "17", {{"effect_speed", "0"}}},
                    ProfileCase{"MusicThree", 5, 2, 3, 0, "19", {{"music_index", "1"}}},
                    ProfileCase{"MusicZero", 5, 2, 0, 0, "19", {{"music_index", "3"}}},
                    ProfileCase{"MusicSeven", 5, 2, 7, 0, "19", {{"music_index", "0"}}},
                    ProfileCase{"MusicOutOfRange", 5, 2, 8, 0, "19", {{"music_index", "0"}}},
                    ProfileCase{"MusicNegative", 5, 2, -1, 0, "19", {{"music_index", "0"}}},
                    ProfileCase{"Temperature",
                                6,
                                2,
                                0,
                                0,
                                "18",
                                {{"thermal_threshold_one", "60"},
                                 {"thermal_threshold_two", "85"},
                                 {"thermal_value_type", "Thermal"}}},
                    ProfileCase{"UnknownIndexPassesThrough", 9, 2, 0, 0, "10", {}},
                    ProfileCase{"NoEffect", -1, 2, 0, 0, "0", {}},
                    ProfileCase{"HugeIndexDoesNotWrap", 2147483647, 2, 0, 0, "2147483648", {}}),
    [](const testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

TEST_F(ServiceClientRequests, ProfileWithoutLampsStillCarriesModeAndOrder)
{
    ASSERT_TRUE(cwd.Ok());
    client.m_vecStatus.push_back({"NB_Keyboard_LED", false});
    client.m_vecStatus.push_back({"Mouse", false});
    client.UpdateXmlToService(0, DefaultEffectData());

    const XMLElement* root = ParseRoot(SentDocument());
    ASSERT_NE(root, nullptr);
    const XMLElement* mode = root->FirstChildElement("device")->FirstChildElement("scene")->FirstChildElement("mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(ChildNames(mode), (Names{"iscolorsynced", "singlecolor", "color_type", "start_end_color_cycle_start",
                                       "start_end_color_cycle_end", "start_end_color_cycle_range",
                                       "start_to_end_or_end_to_start", "effect_path_order"}));
    const XMLElement* order = mode->FirstChildElement("effect_path_order");
    EXPECT_EQ(ChildNames(order), (Names{"order", "order"}));
    EXPECT_EQ(KeyOf(order->FirstChildElement()), "NB_Keyboard_LED");
    EXPECT_EQ(KeyOf(order->LastChildElement()), "Mouse");
    EXPECT_STREQ(order->LastChildElement()->GetText(), "1");
}

TEST_F(ServiceClientRequests, ProfileKeepsTheCapabilityListAndOmitsEmptyKeys)
{
    ASSERT_TRUE(cwd.Ok());
    LedRecord unnamed;
    unnamed.ledKey.locationname = "Back";
    unnamed.hue = 0.25f;
    client.m_vecCapability.push_back(unnamed);
    EffectData effect = DefaultEffectData();
    client.UpdateXmlToService(3, effect);

    const XMLElement* root = ParseRoot(SentDocument());
    ASSERT_NE(root, nullptr);
    const XMLElement* led =
        root->FirstChildElement("device")->FirstChildElement("scene")->FirstChildElement("mode")->FirstChildElement(
            "led");
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->Attribute("key"), nullptr);
    // The request is built from copies: the stored lamp is untouched.
    ASSERT_EQ(client.m_vecCapability.size(), 1u);
    EXPECT_FLOAT_EQ(client.m_vecCapability[0].hue, 0.25f);
    EXPECT_EQ(client.m_vecCapability[0].ledKey.locationname, "Back");
}

// Channels outside 0..255 come from hand-edited profiles; the document must
// still carry plain numbers.
TEST_F(ServiceClientRequests, OutOfRangeColoursGiveFiniteNumbers)
{
    ASSERT_TRUE(cwd.Ok());
    client.m_vecCapability.push_back(LedRecord{});
    const RgbTriple colours[] = {{510, 0, 0}, {255, -255, 0}, {-1000, -1000, -1000}, {100000, 100000, 3}};
    for (const RgbTriple& colour : colours) {
        fake.mediator.calls.clear();
        EffectData effect = DefaultEffectData();
        effect.ColorR = colour.r;
        effect.ColorG = colour.g;
        effect.ColorB = colour.b;
        client.UpdateXmlToService(0, effect);
        const XMLElement* root = ParseRoot(SentDocument());
        ASSERT_NE(root, nullptr);
        const XMLElement* led =
            root->FirstChildElement("device")->FirstChildElement("scene")->FirstChildElement("mode")->FirstChildElement(
                "led");
        for (const char* field : {"hue", "saturation", "lightness"}) {
            std::string text = TextOf(led, field);
            char* end = nullptr;
            double value = std::strtod(text.c_str(), &end);
            EXPECT_TRUE(end != text.c_str() && *end == '\0' && std::isfinite(value) && value >= 0.0 && value <= 1.0)
                << field << " = " << text << " for " << colour.r << "," << colour.g << "," << colour.b;
        }
    }
}

TEST_F(ServiceClientRequests, EveryOperationIsTracedUnderItsName)
{
    ASSERT_TRUE(cwd.Ok());
    std::wstring logPath = cwd.File(L"trace.log");
    bool savedFile = g_bWriteFile;
    wchar_t savedPath[MAX_PATH];
    platform::CopyBounded(savedPath, MAX_PATH, g_szLogPath);
    ASSERT_TRUE(platform::CopyBounded(g_szLogPath, MAX_PATH, logPath.c_str()));
    ASSERT_TRUE(CreateLogFile());
    g_bWriteFile = true;

    client.GetDeviceCap();
    client.GetDeviceStatus();
    client.doSync();
    client.ServiceStop();
    client.UpdateXmlToService(0, DefaultEffectData());
    client.reScan();

    g_bWriteFile = savedFile;
    platform::CopyBounded(g_szLogPath, MAX_PATH, savedPath);

    std::string bytes = testsupport::ReadFileBytes(logPath);
    ASSERT_GE(bytes.size(), 2u);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
    std::vector<std::wstring> lines;
    for (size_t at = text.find(L"[LumoCore]"); at != std::wstring::npos;) {
        size_t end = text.find(L"\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = text.find(L"[LumoCore]", end);
    }
    auto notify = [](const wchar_t* place, const wchar_t* message) {
        return std::wstring(L"[LumoCore][Notify]") + place + L" -> " + message;
    };
    EXPECT_EQ(lines, (std::vector<std::wstring>{
                         notify(L"GetDeviceCap", L"Start"), notify(L"GetDeviceStatus", L"Start"),
                         notify(L"doSync", L"Start"), notify(L"doSync", L"End"), notify(L"ServiceStop", L"Start"),
                         notify(L"ServiceStop", L"End"), notify(L"UpdateXmlToService", L"Start"),
                         notify(L"UpdateXmlToService", L"End"), notify(L"reScan", L"Start"),
                         notify(L"GetDeviceStatus", L"Start"), notify(L"GetDeviceCap", L"Start"),
                         notify(L"reScan", L"End")}));
}

// With no service registered the whole client is a quiet no-op.
TEST(ServiceClientWithoutService, EveryOperationIsANoOp)
{
    ScopedWorkingDirectory cwd;
    ASSERT_TRUE(cwd.Ok());
    LightingServiceClient first;
    LightingServiceClient second;
    first.GetDeviceCap();
    first.GetDeviceStatus();
    EXPECT_TRUE(first.m_vecCapability.empty());
    EXPECT_TRUE(first.m_vecStatus.empty());
    second.m_vecCapability.push_back(LedRecord{});
    second.m_vecStatus.push_back({"Mouse", true});
    second.doSync();
    second.UpdateXmlToService(4, DefaultEffectData());
    second.ServiceStop();
    second.reScan();
    EXPECT_TRUE(second.m_vecCapability.empty());
    EXPECT_TRUE(second.m_vecStatus.empty());
    EXPECT_TRUE(testsupport::FileExists(cwd.File(L"Capability.XML")));
    EXPECT_TRUE(testsupport::FileExists(cwd.File(L"Status.XML")));
    EXPECT_TRUE(testsupport::FileExists(cwd.File(L"LumoDlgSetProfile.xml")));
}

}  // namespace
