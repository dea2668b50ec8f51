// The log's date text, made by the real script engine. The test program runs in the time zone
// America/New_York (see this folder's CMakeLists.txt), so the expected texts below are that
// zone's local times, winter (UTC-5) and summer (UTC-4) alike.

#include "app/LogDateText.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

namespace {

class LogDateTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TIME_ZONE_INFORMATION zone;
        GetTimeZoneInformation(&zone);
        ASSERT_EQ(zone.Bias, 300) << "the program must run with TZ=America/New_York, as ctest runs it";
    }
    void TearDown() override { SetScriptClassForTesting(nullptr); }
};

TEST_F(LogDateTextTest, ReassemblesTheEnginesDateTextAsYearMonthDayAndTime) {
    struct Case {
        const char* name;
        const char* millis;
        const char* expected;
    };
    // One moment in every month, so each month token is met; UTC evenings of the 4th/27th are
    // the local evenings of the day before, and the summer months are an hour nearer UTC.
    const Case cases[] = {
        {"January", "1704424029123", "2024/1/4 22:07:09"},
        {"February", "1709089629123", "2024/2/27 22:07:09"},
        {"March", "1709608029123", "2024/3/4 22:07:09"},
        {"April, summer time", "1714273629123", "2024/4/27 23:07:09"},
        {"May", "1714878429123", "2024/5/4 23:07:09"},
        {"June", "1719544029123", "2024/6/27 23:07:09"},
        {"July", "1720188429123", "2024/7/5 10:07:09"},
        {"August", "1724854029123", "2024/8/28 10:07:09"},
        {"September", "1725545229123", "2024/9/5 10:07:09"},
        {"October", "1730124429123", "2024/10/28 10:07:09"},
        {"November, winter time again", "1730815629123", "2024/11/5 09:07:09"},
        {"December", "1735394829123", "2024/12/28 09:07:09"},
        {"New Year in UTC is still the old year here", "1704078000000", "2023/12/31 22:00:00"},
        // Leading zeros (a clock before September 2001) must not turn the number into octal.
        {"leading zero", "0999999999500", "2001/9/8 21:46:39"},
        {"the epoch", "0000000000000", "1969/12/31 19:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EpochMillisToDateText(c.millis), c.expected);
    }
}

TEST_F(LogDateTextTest, GivesEmptyTextForAnythingButDigits) {
    // The count becomes script code: nothing but digits may get there.
    const char* inputs[] = {"", "17000000000x0", "-1", "1e12", "1700000000000); new Date(0", " 1700000000000"};
    for (const char* input : inputs) {
        SCOPED_TRACE(input);
        EXPECT_EQ(EpochMillisToDateText(input), "");
    }
}

TEST_F(LogDateTextTest, GivesEmptyTextWithoutTheScriptEngine) {
    SetScriptClassForTesting("EntryKeeper.NoSuchScriptEngine");
    EXPECT_EQ(EpochMillisToDateText("1704424029123"), "");
    SetScriptClassForTesting(nullptr);
    EXPECT_EQ(EpochMillisToDateText("1704424029123"), "2024/1/4 22:07:09");
}

TEST_F(LogDateTextTest, LeavesComAsItFoundItOnTheCallingThread) {
    // Uninitialised before: the call initialises and uninitialises, so a multithreaded
    // initialisation afterwards is still possible.
    EXPECT_EQ(EpochMillisToDateText("1704424029123"), "2024/1/4 22:07:09");
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(hr, S_OK);
    if (SUCCEEDED(hr))
        CoUninitialize();

    // Initialised before: the call balances its own initialisation and the caller's stays.
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(EpochMillisToDateText("1704424029123"), "2024/1/4 22:07:09");
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "the caller's initialisation was undone";
    CoUninitialize();
    CoUninitialize();
}

}  // namespace
