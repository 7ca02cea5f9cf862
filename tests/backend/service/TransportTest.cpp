#include <gtest/gtest.h>

#include <objbase.h>

#include "backend/service/TalLumoService.h"
#include "tests/backend/service/FakeMediator.h"

namespace {

using servicetest::FakeService;

// Collects OutputDebugStringA texts: they arrive as a first-chance
// exception that a vectored handler sees before anyone else.
class DebugTextCapture {
public:
    DebugTextCapture() : m_handler(AddVectoredExceptionHandler(1, &DebugTextCapture::Handler)) { Texts().clear(); }
    ~DebugTextCapture()
    {
        if (m_handler != nullptr) RemoveVectoredExceptionHandler(m_handler);
    }
    DebugTextCapture(const DebugTextCapture&) = delete;
    DebugTextCapture& operator=(const DebugTextCapture&) = delete;

    bool Installed() const { return m_handler != nullptr; }
    static std::vector<std::string>& Texts()
    {
        static std::vector<std::string> texts;
        return texts;
    }

private:
    static LONG WINAPI Handler(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
            if (text != nullptr && length > 0) Texts().emplace_back(text, length - 1);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    PVOID m_handler;
};

TEST(ServiceTransport, SetProfilePassesBothTextsAsCountedStrings)
{
    FakeService fake;
    // An embedded zero shows the length comes from the string, not a scan.
    std::wstring document(L"<root>a\0b</root>", 16);
    fake.transport.SetProfile(L"1", document);

    ASSERT_EQ(fake.mediator.calls.size(), 1u);
    EXPECT_EQ(fake.mediator.calls[0].method, "SetProfile");
    EXPECT_EQ(fake.mediator.calls[0].first, L"1");
    EXPECT_EQ(fake.mediator.calls[0].second, document);
    EXPECT_EQ(fake.creations, 1);
    EXPECT_EQ(fake.mediator.References(), 1u) << "the mediator of the call was not released";
}

TEST(ServiceTransport, QueriesReturnTheWholeReplyAndCreateTheServiceEachTime)
{
    FakeService fake;
    fake.mediator.capabilityReply = std::wstring(L"<c>\0x</c>", 9);
    fake.mediator.statusReply = L"<s/>";

    std::wstring capability = L"stale";
    std::wstring status = L"stale";
    fake.transport.QueryAllDeviceCap(&capability);
    fake.transport.QueryAllDeviceStatus(&status);

    EXPECT_EQ(capability, fake.mediator.capabilityReply);
    EXPECT_EQ(status, L"<s/>");
    EXPECT_EQ(fake.mediator.MethodOrder(),
              (std::vector<std::string>{"get_QueryAllDeviceCap", "get_QueryAllDeviceStatus"}));
    EXPECT_EQ(fake.creations, 2);
    EXPECT_EQ(fake.mediator.References(), 1u);
}

TEST(ServiceTransport, EachCallIsBracketedByItsDebugTexts)
{
    FakeService fake;
    fake.mediator.capabilityReply = L"<cap/>";
    fake.mediator.statusReply = L"";
    std::wstring reply;
    DebugTextCapture capture;
    ASSERT_TRUE(capture.Installed());
    fake.transport.SetProfile(L"1", L"<root/>");
    fake.transport.QueryAllDeviceCap(&reply);
    fake.transport.QueryAllDeviceStatus(&reply);
    fake.creationResult = REGDB_E_CLASSNOTREG;
    fake.transport.QueryAllDeviceCap(&reply);

    EXPECT_EQ(DebugTextCapture::Texts(),
              (std::vector<std::string>{
                  "In TalLumoService::SetProfile().\n",
                  "Out TalLumoService::SetProfile().\n",
                  "In TalLumoService::QueryAllDeviceCap().\n",
                  "[TalLumoService::QueryAllDeviceCap()] return from iServiceMediator->get_QueryAllDeviceCap().\n",
                  "[TalLumoService::QueryAllDeviceCap()] Got cap xml.\n",
                  "Out TalLumoService::QueryAllDeviceCap().\n",
                  // An empty status reply is not announced as got.
                  "In TalLumoService::QueryAllDeviceStatus().\n",
                  "[TalLumoService::QueryAllDeviceStatus()] return from "
                  "iServiceMediator->get_QueryAllDeviceStatus().\n",
                  "Out TalLumoService::QueryAllDeviceStatus().\n",
                  // No service: only the brackets.
                  "In TalLumoService::QueryAllDeviceCap().\n",
                  "Out TalLumoService::QueryAllDeviceCap().\n",
              }));
}

struct QueryFailureCase {
    const char* name;
    HRESULT creationResult;
    HRESULT queryResult;
    bool nullReplies;
    size_t expectedCalls;
};

class ServiceTransportFailure : public testing::TestWithParam<QueryFailureCase> {};

TEST_P(ServiceTransportFailure, LeavesRepliesEmptyAndSendsNothing)
{
    const QueryFailureCase& c = GetParam();
    FakeService fake;
    fake.creationResult = c.creationResult;
    fake.mediator.queryResult = c.queryResult;
    fake.mediator.nullReplies = c.nullReplies;
    fake.mediator.capabilityReply = L"<led key=\"x\"/>";
    fake.mediator.statusReply = L"<connecteddevice key=\"x\"/>";

    std::wstring capability = L"stale";
    std::wstring status = L"stale";
    fake.transport.QueryAllDeviceCap(&capability);
    fake.transport.QueryAllDeviceStatus(&status);
    fake.transport.SetProfile(L"1", L"<root/>");

    EXPECT_TRUE(capability.empty());
    EXPECT_TRUE(status.empty());
    // Only a created service sees the request.
    EXPECT_EQ(fake.mediator.calls.size(), c.expectedCalls);
    EXPECT_EQ(fake.mediator.References(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServiceTransportFailure,
    testing::Values(QueryFailureCase{"ClassNotRegistered", REGDB_E_CLASSNOTREG, S_OK, false, 0},
                    QueryFailureCase{"ServerRefuses", E_ACCESSDENIED, S_OK, false, 0},
                    QueryFailureCase{"QueryFails", S_OK, E_FAIL, false, 3},
                    QueryFailureCase{"NullReply", S_OK, S_OK, true, 3}),
    [](const testing::TestParamInfo<QueryFailureCase>& info) { return std::string(info.param.name); });

// No lighting service is registered in the test prefix: the real
// ProgID/LocalServer path must fail cleanly.
TEST(ServiceTransport, RealPathWithoutServerIsANoOp)
{
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IServiceMediator* mediator = reinterpret_cast<IServiceMediator*>(1);
    EXPECT_TRUE(FAILED(CreateServiceMediator(&mediator)));
    EXPECT_EQ(mediator, nullptr);
    EXPECT_EQ(CreateServiceMediator(nullptr), E_POINTER);

    TalLumoService real;
    std::wstring capability = L"stale";
    std::wstring status = L"stale";
    real.QueryAllDeviceCap(&capability);
    real.QueryAllDeviceStatus(&status);
    real.SetProfile(L"1", L"<root/>");
    EXPECT_TRUE(capability.empty());
    EXPECT_TRUE(status.empty());
    if (SUCCEEDED(init)) CoUninitialize();
}

}  // namespace
