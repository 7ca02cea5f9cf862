#include <gtest/gtest.h>

#include "backend/device/RgbKeyboard.h"
#include "tests/fixtures/hid/FakeHidPort.h"
#include "tests/support/TraceCapture.h"

using fakes::FakeHidCandidate;
using fakes::FakeHidPort;
using fakes::HidEventKind;

namespace {

class RgbKeyboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_HidDevice = HidDeviceInfo{};
        g_dwSupport = 1;
        g_dwPidModel = 0;
    }
    void TearDown() override { g_HidDevice = HidDeviceInfo{}; }

    FakeHidCandidate Keyboard(const wchar_t* path, USHORT pid = 0x2203)
    {
        FakeHidCandidate c;
        c.path = path;
        c.productId = pid;
        return c;
    }

    FakeHidPort port;
    fakes::ScopedFakeHidPort scoped{port};
    testsupport::TraceCapture trace;
};

}  // namespace

TEST_F(RgbKeyboardTest, NoInterfaceKeepsZeroLengthsAndSendsAreTracedNoOps)
{
    InitRGBKBDevice();
    EXPECT_EQ(g_HidDevice.FeatureReportByteLength, 0u);
    EXPECT_TRUE(trace.Contains(L"[LumoCore][Notify]InitRGBKBDevice -> Not found device !!"));
    ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
    EXPECT_TRUE(trace.Contains(L"ExecCmd2RGBKB -> Not found device !!"));
    EXPECT_EQ(port.OpenCount(), 0);
}

TEST_F(RgbKeyboardTest, DiscoverySkipsForeignAndZeroLengthCandidates)
{
    FakeHidCandidate wrongUsage = Keyboard(L"\\\\?\\hid#usage");
    wrongUsage.usage = 0x01;
    FakeHidCandidate wrongVendor = Keyboard(L"\\\\?\\hid#vendor");
    wrongVendor.vendorId = 0x1234;
    FakeHidCandidate wrongProduct = Keyboard(L"\\\\?\\hid#product", 0x2205);
    FakeHidCandidate closed = Keyboard(L"\\\\?\\hid#closed");
    closed.openable = false;
    FakeHidCandidate zeroLength = Keyboard(L"\\\\?\\hid#zero", 0x2202);
    zeroLength.inputLength = 0;
    FakeHidCandidate good = Keyboard(L"\\\\?\\hid#good", 0x2204);
    good.outputLength = 33;
    port.candidates = {wrongUsage, wrongVendor, wrongProduct, closed, zeroLength, good};

    GetHidDeviceHandle();

    EXPECT_STREQ(g_HidDevice.szPath, L"\\\\?\\hid#good");
    EXPECT_EQ(g_HidDevice.FeatureReportByteLength, 64u);
    EXPECT_EQ(g_HidDevice.OutputReportByteLength, 33u);
    EXPECT_EQ(g_dwPidModel, 3u);
    EXPECT_TRUE(trace.Contains(L"report byte length is 0 !! @ GetHidDeviceHandle -> \\\\?\\hid#zero"));
    EXPECT_TRUE(trace.Contains(L"HidDevice.szPath @ GetHidDeviceHandle -> \\\\?\\hid#good"));
    // Every candidate opened during discovery is closed again, and only for queries.
    EXPECT_EQ(port.OpenCount(), port.CloseCount());
    for (const auto& open : port.EventsOf(HidEventKind::Open)) EXPECT_FALSE(open.readWrite);
}

TEST_F(RgbKeyboardTest, HandshakeSendsTheMarkThenReadsSyncOnTheSameOpening)
{
    port.candidates = {Keyboard(L"kbd")};
    port.syncReply = {0x5D, 0xEC, 0x02};
    InitRGBKBDevice();

    auto sent = port.EventsOf(HidEventKind::SetFeature);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].length, 64u);
    EXPECT_EQ(std::string(sent[0].bytes.begin() + 1, sent[0].bytes.begin() + 15), "VORN Tech.Inc.");
    auto reads = port.EventsOf(HidEventKind::Read);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].timeoutMs, kSyncReadTimeoutMs);
    EXPECT_TRUE(trace.Contains(L"InitRGBKBDevice -> SetFeature (0x5D 0x56) succeed."));
    EXPECT_TRUE(trace.Contains(L"FetchECSync -> InputReport: 0x5D 0xEC 0x02 0x00 0x00 0x00"));
    EXPECT_TRUE(trace.Contains(L"InitRGBKBDevice -> Prepare to exit !!!"));
    EXPECT_EQ(port.OpenCount(), port.CloseCount());
}

TEST_F(RgbKeyboardTest, ShortInputReportTracesOnlyTheBytesItHas)
{
    FakeHidCandidate tiny = Keyboard(L"kbd");
    tiny.inputLength = 2;
    port.candidates = {tiny};
    port.syncReply = {0x5D, 0xEC, 0x02};
    InitRGBKBDevice();
    EXPECT_TRUE(trace.Contains(L"FetchECSync -> InputReport: 0x5D 0xEC\r\n"));
}

TEST_F(RgbKeyboardTest, StatusReplySetsTypeSubtypeAndSupport)
{
    port.candidates = {Keyboard(L"kbd")};
    InitRGBKBDevice();
    g_dwSupport = 0;
    port.statusReply = fakes::MakeStatusReply(0x10, 2, 1);
    DWORD type = 77, subType = 77;
    EXPECT_TRUE(GetRGBKBStatus(type, subType));
    EXPECT_EQ(type, 2u);
    EXPECT_EQ(subType, 1u);
    EXPECT_EQ(g_dwSupport, 1u);
    EXPECT_TRUE(trace.Contains(L"GetRGBKBStatus -> Support = 1"));
    EXPECT_TRUE(trace.Contains(L"GetRGBKBStatus -> HidD_GetFeature - 0x5D 0x05 0x20 0x31 0x00 0x08 0x10"));
    auto request = port.EventsOf(HidEventKind::SetFeature).back();
    EXPECT_EQ(std::vector<uint8_t>(request.bytes.begin(), request.bytes.begin() + 6),
              (std::vector<uint8_t>{0x5D, 0x05, 0x20, 0x31, 0x00, 0x08}));
}

TEST_F(RgbKeyboardTest, InvalidStatusRepliesLeaveTheOutputsAlone)
{
    struct Case {
        USHORT featureLength;
        std::vector<uint8_t> reply;
        const wchar_t* traced;
    };
    std::vector<uint8_t> noEcho = fakes::MakeStatusReply(0x10, 3, 1);
    noEcho[2] = 0x21;
    const Case cases[] = {
        {13, fakes::MakeStatusReply(0x10, 3, 1, 13), L"FeatureReportByteLength is too small adter GetFeature (0x5D) !!!"},
        {4, fakes::MakeStatusReply(0x10, 3, 1, 4), L"FeatureReportByteLength is too small adter GetFeature (0x5D) !!!"},
        {64, noEcho, L"GetFeature Byte 0~5 is not equal  !!!"},
    };
    for (const Case& c : cases) {
        FakeHidCandidate kbd = Keyboard(L"kbd");
        kbd.featureLength = c.featureLength;
        port.candidates = {kbd};
        InitRGBKBDevice();
        port.statusReply = c.reply;
        g_dwSupport = 0;
        DWORD type = 42, subType = 43;
        EXPECT_TRUE(GetRGBKBStatus(type, subType));
        EXPECT_EQ(type, 42u);
        EXPECT_EQ(subType, 43u);
        EXPECT_EQ(g_dwSupport, 0u);
        EXPECT_TRUE(trace.Contains(c.traced)) << c.featureLength;
    }
}

TEST_F(RgbKeyboardTest, StatusWithoutDeviceReturnsFalse)
{
    DWORD type = 5, subType = 6;
    EXPECT_FALSE(GetRGBKBStatus(type, subType));
    EXPECT_EQ(type, 5u);
}

TEST_F(RgbKeyboardTest, CommandsUseOutputReportsWhenTheDeviceHasThem)
{
    FakeHidCandidate kbd = Keyboard(L"kbd");
    kbd.outputLength = 8;  // shorter than the command: only its first bytes go
    port.candidates = {kbd};
    InitRGBKBDevice();
    port.events.clear();

    ExecSimpleCmd2RGBKB(RGBKB_CMD_COMMIT);
    auto writes = port.EventsOf(HidEventKind::Write);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes, (std::vector<uint8_t>{0x5D, 0xB4, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(port.EventsOf(HidEventKind::SetFeature).empty());
    EXPECT_EQ(port.OpenCount(), 1);
    EXPECT_EQ(port.CloseCount(), 1);
    EXPECT_TRUE(trace.Contains(L"command data !!! @ ExecCmd2RGBKB -> 0x5d 0xb4 0x00 "));
}

TEST_F(RgbKeyboardTest, CommandsFallBackToFeatureReports)
{
    port.candidates = {Keyboard(L"kbd")};
    InitRGBKBDevice();
    port.events.clear();
    ExecSimpleCmd2RGBKB(RGBKB_CMD_APPLY);
    auto sent = port.EventsOf(HidEventKind::SetFeature);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].length, 64u);
    EXPECT_EQ(sent[0].bytes[1], 0xB5);
    EXPECT_TRUE(trace.Contains(L"ExecCmd2RGBKB -> SetFeature succeed."));
}

TEST_F(RgbKeyboardTest, SetEffectSendsOneReportPerZoneAndNoCommit)
{
    port.candidates = {Keyboard(L"kbd", 0x2202)};
    InitRGBKBDevice();
    port.events.clear();
    EffectData e = DefaultEffectData();
    SetRGBKBEffect(2, false, e, 6);
    auto reports = port.SentReports();
    ASSERT_EQ(reports.size(), 7u);
    for (size_t z = 0; z < reports.size(); ++z) {
        EXPECT_EQ(reports[z][1], 0xB3);
        EXPECT_EQ(reports[z][2], z + 1);
        EXPECT_EQ(reports[z][7], 0xFE);  // product model 1, medium speed
    }
    EXPECT_EQ(port.OpenCount(), 7);
    EXPECT_EQ(port.CloseCount(), 7);
}

// A controller that never answers its sync read must not hold the caller:
// the real overlapped read over a pipe nobody writes to.
TEST(HidReadTimeout, SilentDeviceEndsAfterTheWaitAndCountsAsNoSync)
{
    const wchar_t* name = L"\\\\.\\pipe\\lumo_silent_controller";
    HANDLE server = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1, 64, 64, 0,
                                     nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    HANDLE client = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                                nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    std::unique_ptr<HidConnection> connection = CreateWin32HidConnection(client);

    g_HidDevice.InputReportByteLength = 16;
    ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(FetchECSync(*connection));
    ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, kSyncReadTimeoutMs - 100);
    // A second wait, or one for the device, would take this long; a busy machine does not.
    EXPECT_LT(elapsed, 2 * kSyncReadTimeoutMs);

    // The same read answers when the other end writes.
    const uint8_t answer[16] = {0x5D, 0xEC, 0x02};
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WriteFile(server, answer, sizeof(answer), nullptr, &overlapped);
    EXPECT_TRUE(FetchECSync(*connection));
    CloseHandle(overlapped.hEvent);
    g_HidDevice = HidDeviceInfo{};
    CloseHandle(server);
}
