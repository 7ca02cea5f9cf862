#include <gtest/gtest.h>

#include <string>

#include "backend/trace/Trace.h"
#include "tests/support/RegistryValue.h"
#include "tests/support/TempDir.h"

using testsupport::ReadFileBytes;
using testsupport::ScopedRegistryDword;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::string Utf16Bytes(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

std::wstring Line(const wchar_t* message, const wchar_t* place, bool success, uint32_t code, uint32_t lastError = 0)
{
    wchar_t buffer[trace::kLineCapacity];
    trace::FormatTraceLine(buffer, trace::kLineCapacity, message, place, success, code, lastError);
    return buffer;
}

class LogFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.File(L"sub\\deeper\\VYLLumoCore.log");
        wcscpy(g_szLogPath, path.c_str());
        g_bWriteFile = true;
    }
    void TearDown() override
    {
        g_bWriteFile = false;
        g_szLogPath[0] = L'\0';
    }
    TempDir dir;
    std::wstring path;
};

}  // namespace

TEST(TraceLine, SuccessLinePutsPlaceBeforeMessage)
{
    EXPECT_EQ(Line(L"I am called", L"Start", true, 0), L"[LumoCore][Notify]Start -> I am called\r\n");
}

TEST(TraceLine, FailureLineCarriesCodeAndSystemText)
{
    std::wstring line = Line(L"RegOpenKeyEx failed !!", L"CheckIfWriteLog", false, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(line.rfind(L"[LumoCore]CheckIfWriteLog -> RegOpenKeyEx failed !! error: 2 - ", 0), 0u) << line;
    EXPECT_GT(line.size(), std::wstring(L"[LumoCore]CheckIfWriteLog -> RegOpenKeyEx failed !! error: 2 - ").size());
    EXPECT_EQ(line.substr(line.size() - 2), L"\r\n");
}

TEST(TraceLine, FailureWithCodeZeroUsesLastError)
{
    std::wstring line = Line(L"m", L"p", false, 0, ERROR_ACCESS_DENIED);
    EXPECT_NE(line.find(L"error: 5 - "), std::wstring::npos) << line;
}

TEST_F(LogFileTest, NumbersAreFailureLinesWithTheNumberAsCodeAndZeroStaysZero)
{
    ASSERT_TRUE(CreateLogFile());
    SetLastError(ERROR_ACCESS_DENIED);
    LogNumber(L"wParam is", L"p", 0);
    LogNumber(L"lParam is", L"p", 6);
    const std::wstring text = testsupport::ReadUtf16File(path);
    EXPECT_NE(text.find(Line(L"wParam is", L"p", false, 0, 0)), std::wstring::npos) << text;
    EXPECT_NE(text.find(Line(L"lParam is", L"p", false, 6)), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"[LumoCore]p -> wParam is error: 0 - "), std::wstring::npos) << text;
}

TEST(TraceLine, LongTextIsCutAtTheLineBuffer)
{
    std::wstring huge(10000, L'x');
    wchar_t buffer[trace::kLineCapacity + 8];
    for (wchar_t& c : buffer) c = L'#';
    trace::FormatTraceLine(buffer, trace::kLineCapacity, huge.c_str(), L"p", true, 0, 0);
    EXPECT_EQ(wcslen(buffer), trace::kLineCapacity - 1);
    EXPECT_EQ(buffer[trace::kLineCapacity], L'#');  // nothing written past the buffer
}

TEST(TraceLine, TimePrefixPutsMonthFirstWithoutYear)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 9;
    t.wHour = 11;
    t.wMinute = 7;
    t.wSecond = 5;
    wchar_t buffer[trace::kTimePrefixCapacity];
    trace::FormatTimePrefix(t, buffer, trace::kTimePrefixCapacity);
    EXPECT_STREQ(buffer, L"12/09 11:07:05\t");
}

TEST(TraceSwitches, ReadFromTheRegistry)
{
    struct Case {
        std::optional<DWORD> value;
        bool expectRead;
        bool expectFlag;
    };
    const Case cases[] = {{std::nullopt, false, false}, {0u, true, false}, {2u, true, false}, {1u, true, true}};
    for (const Case& c : cases) {
        ScopedRegistryDword log(trace::kRegistryKey, L"WriteLog", c.value);
        ScopedRegistryDword file(trace::kRegistryKey, L"WriteFile", c.value);
        g_bWriteLog = false;
        g_bWriteFile = false;
        EXPECT_EQ(CheckIfWriteLog(), c.expectRead);
        EXPECT_EQ(CheckIfWriteFile(), c.expectRead);
        EXPECT_EQ(g_bWriteLog, c.expectFlag);
        EXPECT_EQ(g_bWriteFile, c.expectFlag);
    }
    g_bWriteLog = false;
    g_bWriteFile = false;
}

TEST(TraceSwitches, AnOtherValueLeavesASetFlagOn)
{
    ScopedRegistryDword log(trace::kRegistryKey, L"WriteLog", 0u);
    g_bWriteLog = true;
    EXPECT_TRUE(CheckIfWriteLog());
    EXPECT_TRUE(g_bWriteLog);
    g_bWriteLog = false;
}

TEST_F(LogFileTest, CreatedFileGetsTheMarkThenTimedLines)
{
    ASSERT_TRUE(CreateLogFile());
    EXPECT_EQ(ReadFileBytes(path), "");
    ASSERT_TRUE(CheckLogFileBOM());
    LogMessage(L"I am called", L"Start", true, 0);
    LogMessage(L"second", L"Start", true, 0);

    std::string bytes = ReadFileBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string body = bytes.substr(2);
    // "MM/DD hh:mm:ss\t" is 15 characters, 30 bytes.
    std::string line1 = Utf16Bytes(L"[LumoCore][Notify]Start -> I am called\r\n");
    ASSERT_GE(body.size(), 30u + line1.size());
    EXPECT_EQ(body.substr(30, line1.size()), line1);
    EXPECT_EQ(body[2 * 2], '/');
    EXPECT_EQ(body[14 * 2], '\t');
    EXPECT_NE(body.find(Utf16Bytes(L"Start -> second\r\n")), std::string::npos);
}

TEST_F(LogFileTest, FileWithoutTheMarkIsNeverWritten)
{
    ASSERT_TRUE(CreateLogFile());
    WriteFileBytes(path, "plain");
    LogMessage(L"ignored", L"Start", true, 0);
    EXPECT_FALSE(WriteLogLine(L"ignored too"));
    EXPECT_EQ(ReadFileBytes(path), "plain");
}

TEST_F(LogFileTest, MissingFileReceivesNothing)
{
    EXPECT_FALSE(CheckLogFileBOM());
    EXPECT_FALSE(WriteLogLine(L"x"));
    EXPECT_FALSE(testsupport::FileExists(path));
}

TEST_F(LogFileTest, OverlongLineIsCutAtTheFileBuffer)
{
    ASSERT_TRUE(CreateLogFile());
    std::wstring huge(5000, L'y');
    ASSERT_TRUE(WriteLogLine(huge.c_str()));
    std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.size(), 2u + 30u + 2u * (trace::kFileLineCapacity - 1));
}

TEST(TraceSinks, BothSwitchesOffWritesNothing)
{
    TempDir dir;
    std::wstring path = dir.File(L"VYLLumoCore.log");
    WriteFileBytes(path, "\xFF\xFE");
    wcscpy(g_szLogPath, path.c_str());
    g_bWriteLog = false;
    g_bWriteFile = false;
    LogMessage(L"nothing", L"Start", false, 0);
    EXPECT_EQ(ReadFileBytes(path), "\xFF\xFE");
    g_szLogPath[0] = L'\0';
}
