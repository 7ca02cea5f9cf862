#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

#include "backend/service/LightingServiceClient.h"
#include "tests/backend/service/FakeMediator.h"
#include "tests/backend/service/ServiceTestSupport.h"

namespace {

using servicetest::FakeService;
using servicetest::ScopedWorkingDirectory;

const char* const kSeeds[] = {
    "<root><led key=\"A\"><locationname>Front</locationname></led><g><led key=\"B\"/></g></root>",
    "<root><connecteddevice key=\"Mouse\"/><connecteddevice key=\"Strip\"/><ingroupdevice key=\"Strip\"/></root>",
    "<?xml version=\"1.0\"?><root a='1'><led key=\"x&amp;y\"><locationname><![CDATA[z]]></locationname></led>"
    "<!-- c --><connecteddevice/><ingroupdevice key=\"NULL\"/></root>",
};

const char* const kFragments[] = {"<led", "<led key=\"", "</led>", "<locationname>", "</locationname>",
                                  "<connecteddevice key=\"", "<ingroupdevice key=\"", "/>", ">", "\"", "<", "&",
                                  "&#x41;", "&#99999999;", "<![CDATA[", "]]>", "<!--", "-->", "<?", "?>", "\xFF",
                                  "=", " ", "key", "\n"};

// Counts elements by a visitor of its own, independent of the client's walk.
class ElementCounter : public tinyxml2::XMLVisitor {
public:
    explicit ElementCounter(const char* name) : m_name(name) {}
    bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute*) override
    {
        if (std::strcmp(element.Name(), m_name) == 0) ++count;
        return true;
    }
    size_t count = 0;

private:
    const char* m_name;
};

std::wstring ToUnits(const std::string& bytes, std::mt19937& random)
{
    std::wstring units;
    for (unsigned char c : bytes) {
        // Now and then a unit with a high byte, which narrowing must drop.
        unsigned high = (random() % 16 == 0) ? (random() % 256) << 8 : 0;
        units.push_back(static_cast<wchar_t>(high | c));
    }
    return units;
}

std::string Mutate(std::string text, std::mt19937& random)
{
    int edits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < edits; ++i) {
        size_t at = text.empty() ? 0 : random() % (text.size() + 1);
        switch (random() % 6) {
        case 0:
            if (at < text.size()) text[at] = static_cast<char>(random() % 256);
            break;
        case 1:
            if (at < text.size()) text.erase(at, 1 + random() % 8);
            break;
        case 2: text.insert(at, kFragments[random() % (sizeof(kFragments) / sizeof(kFragments[0]))]); break;
        case 3: text.resize(at); break;
        case 4:
            if (!text.empty()) {
                size_t from = random() % text.size();
                text.insert(at, text.substr(from, 1 + random() % 40));
            }
            break;
        default: text.insert(at, 1, static_cast<char>(random() % 128)); break;
        }
    }
    return text;
}

// Random well-formed nesting, deep enough to reach the parser's depth limit.
std::string RandomTree(std::mt19937& random, int depth)
{
    static const char* const names[] = {"led", "connecteddevice", "ingroupdevice", "locationname", "group", "LED"};
    std::string name = names[random() % 6];
    std::string text = "<" + name;
    if (random() % 3 != 0) text += " key=\"k" + std::to_string(random() % 4) + "\"";
    if (depth > 150 || random() % 4 == 0) return text + "/>";
    text += ">";
    int children = random() % 5 == 0 ? 1 : static_cast<int>(random() % 3);
    for (int i = 0; i < children; ++i) text += RandomTree(random, depth + 1);
    if (random() % 2 == 0) text += "t";
    return text + "</" + name + ">";
}

TEST(ServiceReplyFuzz, RandomAndMutatedRepliesNeverBreakTheParsers)
{
    ScopedWorkingDirectory cwd;
    ASSERT_TRUE(cwd.Ok());
    std::mt19937 random(20261210u);
    // The same inputs on every run, however long they take.
    const int kInputs = 4000;
    int ran = 0;
    for (; ran < kInputs; ++ran) {
        std::string bytes;
        switch (ran % 4) {
        case 0: bytes = Mutate(kSeeds[random() % 3], random); break;
        case 1: bytes = Mutate(Mutate(kSeeds[random() % 3], random), random); break;
        case 2: bytes = RandomTree(random, 0); break;
        default:
            bytes.resize(random() % 512);
            for (char& c : bytes) c = static_cast<char>(random() % 256);
            break;
        }
        std::wstring reply = ToUnits(bytes, random);

        FakeService fake;
        fake.mediator.capabilityReply = reply;
        fake.mediator.statusReply = reply;
        LightingServiceClient client(fake.transport);
        client.GetDeviceCap();
        client.GetDeviceStatus();

        // An independent parse of the same narrowed text must agree.
        tinyxml2::XMLDocument oracle;
        std::string narrow = service::NarrowUnits(reply);
        oracle.Parse(narrow.data(), narrow.size());
        ElementCounter leds("led");
        ElementCounter devices("connecteddevice");
        if (const tinyxml2::XMLElement* first = oracle.FirstChildElement()) {
            first->Accept(&leds);
            first->Accept(&devices);
        }
        ASSERT_EQ(client.m_vecCapability.size(), leds.count) << "input " << ran << ": " << narrow;
        ASSERT_EQ(client.m_vecStatus.size(), devices.count) << "input " << ran << ": " << narrow;

        // Whatever names came in, the in-group request carries them back.
        client.doSync();
        ASSERT_FALSE(fake.mediator.calls.empty());
        tinyxml2::XMLDocument sent;
        ASSERT_EQ(sent.Parse(servicetest::Ascii(fake.mediator.calls.back().second).c_str()), tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* device =
            sent.RootElement()->FirstChildElement("devicelist")->FirstChildElement("device");
        for (const DeviceEntry& entry : client.m_vecStatus) {
            ASSERT_NE(device, nullptr) << "input " << ran;
            const char* key = device->Attribute("key");
            ASSERT_EQ(key != nullptr ? key : "", entry.name) << "input " << ran;
            device = device->NextSiblingElement("device");
        }
        ASSERT_EQ(device, nullptr) << "input " << ran;
        if (ran % 16 == 0) client.UpdateXmlToService(static_cast<int>(random() % 9) - 1, DefaultEffectData());
    }
    std::printf("service reply fuzz: %d inputs\n", ran);
    RecordProperty("inputs", ran);
}

}  // namespace
