#include <gtest/gtest.h>

#include "backend/service/LightingServiceClient.h"
#include "tests/backend/service/FakeMediator.h"
#include "tests/backend/service/ServiceTestSupport.h"

namespace {

using servicetest::FakeService;
using servicetest::ScopedWorkingDirectory;

struct Lamp {
    std::string key;
    std::string location;
    bool operator==(const Lamp& o) const { return key == o.key && location == o.location; }
};
void PrintTo(const Lamp& lamp, std::ostream* os) { *os << "(" << lamp.key << ", " << lamp.location << ")"; }

struct Device {
    std::string name;
    bool inGroup;
    bool operator==(const Device& o) const { return name == o.name && inGroup == o.inGroup; }
};
void PrintTo(const Device& d, std::ostream* os) { *os << "(" << d.name << ", " << d.inGroup << ")"; }

class ServiceClientReplies : public testing::Test {
protected:
    std::vector<Lamp> Lamps() const
    {
        std::vector<Lamp> lamps;
        for (const LedRecord& r : client.m_vecCapability) lamps.push_back({r.ledKey.key, r.ledKey.locationname});
        return lamps;
    }
    std::vector<Device> Devices() const
    {
        std::vector<Device> devices;
        for (const DeviceEntry& e : client.m_vecStatus) devices.push_back({e.name, e.inGroup});
        return devices;
    }

    ScopedWorkingDirectory cwd;
    FakeService fake;
    LightingServiceClient client{fake.transport};
};

struct CapabilityCase {
    const char* name;
    const wchar_t* reply;
    std::vector<Lamp> lamps;
};

class CapabilityReplies : public ServiceClientReplies, public testing::WithParamInterface<CapabilityCase> {};

TEST_P(CapabilityReplies, BecomeLampsInReplyOrder)
{
    ASSERT_TRUE(cwd.Ok());
    fake.mediator.capabilityReply = GetParam().reply;
    client.GetDeviceCap();
    EXPECT_EQ(Lamps(), GetParam().lamps);
    EXPECT_EQ(fake.mediator.MethodOrder(), std::vector<std::string>{"get_QueryAllDeviceCap"});
    for (const LedRecord& r : client.m_vecCapability) {
        EXPECT_EQ(r.color, 0xFFFFFF);
        EXPECT_FLOAT_EQ(r.hue, 0.875f);
        EXPECT_FLOAT_EQ(r.saturation, 1.0f);
        EXPECT_FLOAT_EQ(r.lightness, 0.5f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CapabilityReplies,
    testing::Values(
        CapabilityCase{"NestedAtAnyDepth",
                       L"<root><led key=\"A\"><locationname>Front</locationname></led>"
                       L"<group><led key=\"B\"/></group></root>",
                       {{"A", "Front"}, {"B", ""}}},
        CapabilityCase{"RootItselfIsALed", L"<led key=\"R\"><locationname>Top</locationname></led>", {{"R", "Top"}}},
        CapabilityCase{"LedInsideLedIsFoundToo",
                       L"<root><led key=\"outer\"><led key=\"inner\"><locationname>In</locationname></led>"
                       L"<locationname>Out</locationname></led></root>",
                       {{"outer", "Out"}, {"inner", "In"}}},
        CapabilityCase{"FirstLocationnameWins",
                       L"<root><led key=\"K\"><locationname>One</locationname><locationname>Two</locationname>"
                       L"</led></root>",
                       {{"K", "One"}}},
        CapabilityCase{"MissingKeyAndEmptyLocation",
                       L"<root><led><locationname/></led><led key=\"\"><locationname></locationname></led></root>",
                       {{"", ""}, {"", ""}}},
        CapabilityCase{"NameIsCaseSensitive", L"<root><LED key=\"no\"/><Led key=\"no\"/><led key=\"yes\"/></root>",
                       {{"yes", ""}}},
        CapabilityCase{"OnlyElementsCount", L"<!-- led --><?pi led?><root>led<![CDATA[<led key=\"no\"/>]]></root>", {}},
        CapabilityCase{"EntitiesDecoded", L"<root><led key=\"a&amp;b\"><locationname>&lt;x&gt;</locationname></led></root>",
                       {{"a&b", "<x>"}}},
        // Each UTF-16 unit keeps its low byte: U+0141 becomes 'A'.
        CapabilityCase{"UnitsNarrowedToLowByte", L"<root><led key=\"\u0141\u0142\"/></root>", {{"AB", ""}}}),
    [](const testing::TestParamInfo<CapabilityCase>& info) { return std::string(info.param.name); });

struct StatusCase {
    const char* name;
    const wchar_t* reply;
    std::vector<Device> devices;
};

class StatusReplies : public ServiceClientReplies, public testing::WithParamInterface<StatusCase> {};

TEST_P(StatusReplies, BecomeDevicesWithTheirGroupFlags)
{
    ASSERT_TRUE(cwd.Ok());
    fake.mediator.statusReply = GetParam().reply;
    client.GetDeviceStatus();
    EXPECT_EQ(Devices(), GetParam().devices);
    EXPECT_EQ(fake.mediator.MethodOrder(), std::vector<std::string>{"get_QueryAllDeviceStatus"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatusReplies,
    testing::Values(
        StatusCase{"GroupFlagFollowsDevices",
                   L"<root><connecteddevice key=\"Mouse\"/><connecteddevice key=\"Strip\"/>"
                   L"<ingroupdevice key=\"Strip\"/></root>",
                   {{"Mouse", false}, {"Strip", true}}},
        StatusCase{"GroupBeforeDeviceHasNoEffect",
                   L"<root><ingroupdevice key=\"Mouse\"/><connecteddevice key=\"Mouse\"/></root>", {{"Mouse", false}}},
        StatusCase{"MissingKeyNamesNull",
                   L"<root><connecteddevice/><ingroupdevice/><ingroupdevice key=\"Other\"/></root>", {{"NULL", false}}},
        StatusCase{"GroupMarksEverySameName",
                   L"<root><list><connecteddevice key=\"D\"/></list><connecteddevice key=\"D\"/>"
                   L"<connecteddevice key=\"E\"/><deep><ingroupdevice key=\"D\"/></deep></root>",
                   {{"D", true}, {"D", true}, {"E", false}}},
        StatusCase{"NestedDevicesInDocumentOrder",
                   L"<root><connecteddevice key=\"A\"><connecteddevice key=\"B\"/></connecteddevice>"
                   L"<connecteddevice key=\"C\"/></root>",
                   {{"A", false}, {"B", false}, {"C", false}}}),
    [](const testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

TEST_F(ServiceClientReplies, RepliesAppendToWhatIsThere)
{
    ASSERT_TRUE(cwd.Ok());
    fake.mediator.capabilityReply = L"<root><led key=\"A\"/></root>";
    fake.mediator.statusReply = L"<root><connecteddevice key=\"M\"/></root>";
    client.GetDeviceCap();
    client.GetDeviceStatus();
    fake.mediator.capabilityReply = L"<root><led key=\"B\"/></root>";
    fake.mediator.statusReply = L"<root><connecteddevice key=\"N\"/><ingroupdevice key=\"M\"/></root>";
    client.GetDeviceCap();
    client.GetDeviceStatus();
    EXPECT_EQ(Lamps(), (std::vector<Lamp>{{"A", ""}, {"B", ""}}));
    EXPECT_EQ(Devices(), (std::vector<Device>{{"M", true}, {"N", false}}));
}

struct BadReplyCase {
    const char* name;
    std::wstring reply;
};

class BadReplies : public ServiceClientReplies, public testing::WithParamInterface<BadReplyCase> {};

// Empty, cut or broken replies keep the lists and still leave a file behind.
TEST_P(BadReplies, LeaveTheListsAsTheyAre)
{
    ASSERT_TRUE(cwd.Ok());
    fake.mediator.capabilityReply = L"<root><led key=\"A\"/></root>";
    fake.mediator.statusReply = L"<root><connecteddevice key=\"M\"/></root>";
    client.GetDeviceCap();
    client.GetDeviceStatus();

    fake.mediator.capabilityReply = GetParam().reply;
    fake.mediator.statusReply = GetParam().reply;
    client.GetDeviceCap();
    client.GetDeviceStatus();

    EXPECT_EQ(Lamps(), (std::vector<Lamp>{{"A", ""}}));
    EXPECT_EQ(Devices(), (std::vector<Device>{{"M", false}}));
    // The files hold what the parser kept: no element at all.
    for (const wchar_t* file : {L"Capability.XML", L"Status.XML"}) {
        ASSERT_TRUE(testsupport::FileExists(cwd.File(file)));
        std::string saved = testsupport::ReadFileBytes(cwd.File(file));
        tinyxml2::XMLDocument reread;
        reread.Parse(saved.c_str());
        EXPECT_EQ(reread.FirstChildElement(), nullptr) << saved;
        EXPECT_EQ(saved.find("led"), std::string::npos) << saved;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadReplies,
    testing::Values(BadReplyCase{"Empty", L""},
                    BadReplyCase{"Cut", L"<root><led key=\"B\"/><connecteddevice key=\"N\"/><led"},
                    BadReplyCase{"Unclosed", L"<root><led key=\"B\"/><connecteddevice key=\"N\"/>"},
                    BadReplyCase{"Mismatched", L"<root><led key=\"B\"></root></led>"},
                    BadReplyCase{"BadAttribute", L"<root><led key=B/></root>"},
                    BadReplyCase{"NotXml", L"Service not ready"},
                    BadReplyCase{"OnlyWhitespace", L" \r\n\t "},
                    // Narrowed to a leading zero byte: the text ends there.
                    BadReplyCase{"ZeroUnitFirst", std::wstring(L"\u0100<root><led key=\"B\"/></root>")}),
    [](const testing::TestParamInfo<BadReplyCase>& info) { return std::string(info.param.name); });

TEST_F(ServiceClientReplies, SavedFilesHoldTheParsedReplies)
{
    ASSERT_TRUE(cwd.Ok());
    fake.mediator.capabilityReply =
        L"<root><led key=\"A\"><locationname>Front</locationname></led><x><led key=\"B\"/></x></root>";
    fake.mediator.statusReply = L"<root><connecteddevice key=\"Mouse\"/><ingroupdevice key=\"Mouse\"/></root>";
    client.GetDeviceCap();
    client.GetDeviceStatus();

    // Reading the saved files back gives the same lists.
    FakeService replay;
    replay.mediator.capabilityReply = servicetest::Wide(testsupport::ReadFileBytes(cwd.File(L"Capability.XML")));
    replay.mediator.statusReply = servicetest::Wide(testsupport::ReadFileBytes(cwd.File(L"Status.XML")));
    LightingServiceClient second(replay.transport);
    second.GetDeviceCap();
    second.GetDeviceStatus();
    ASSERT_EQ(second.m_vecCapability.size(), 2u);
    EXPECT_EQ(second.m_vecCapability[0].ledKey.key, "A");
    EXPECT_EQ(second.m_vecCapability[0].ledKey.locationname, "Front");
    EXPECT_EQ(second.m_vecCapability[1].ledKey.key, "B");
    ASSERT_EQ(second.m_vecStatus.size(), 1u);
    EXPECT_EQ(second.m_vecStatus[0].name, "Mouse");
    EXPECT_TRUE(second.m_vecStatus[0].inGroup);
}

}  // namespace
