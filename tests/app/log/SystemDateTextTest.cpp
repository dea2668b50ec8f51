// The log's date text, made by the real script engine, and by the local clock when the engine's
// object cannot be created (as for a 64-bit program on 64-bit Windows, where the engine is
// registered for 32-bit programs only). The test program runs in the time zone America/New_York
// (see this folder's CMakeLists.txt), so the expected texts below are that zone's local times,
// winter (UTC-5) and summer (UTC-4) alike.

#include "app/log/SystemDateText.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/log/portable/DateTextShape.h"
#include "common/ComOwners.h"

namespace {

// Ways the engine can be missing: a class name nobody registered, and a class id that no program
// of this width has (the engine's own class name leads to such an id on 64-bit Windows).
struct Source {
    const char* name;
    const char* scriptClass;  // null: the real engine
};
const Source kSources[] = {
    {"the script engine", nullptr},
    {"no such class: the local clock", "EntryKeeper.NoSuchScriptEngine"},
    {"class id not registered: the local clock", "{6E1F8C2A-5B3D-4F7E-9A1C-2D4B6E8F0A13}"},
};

// Unix milliseconds of a UTC date-time, as CurrentEpochMillis writes them (13 digits).
Text MillisOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD millis = 0) {
    const SYSTEMTIME utc = {year, month, 0, day, hour, minute, second, millis};
    FILETIME fileTime;
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &fileTime));
    const uint64_t ticks = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    Text text = std::to_string(ticks / 10000 - 11644473600000ULL);
    text.insert(0, 13 - std::min<size_t>(13, text.size()), '0');
    return text;
}

class SystemDateTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TIME_ZONE_INFORMATION zone;
        GetTimeZoneInformation(&zone);
        ASSERT_EQ(zone.Bias, 300) << "the program must run with TZ=America/New_York, as ctest runs it";
    }
    void TearDown() override { SetScriptClassForTesting(nullptr); }
};

TEST_F(SystemDateTextTest, ReassemblesTheDateTextAsYearMonthDayAndTime) {
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
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        SetScriptClassForTesting(source.scriptClass);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(EpochMillisToDateText(c.millis), c.expected);
        }
    }
}

TEST_F(SystemDateTextTest, GivesEmptyTextForAnythingButDigits) {
    // The count becomes script code: nothing but digits may get there, nor into the clock's text.
    const char* inputs[] = {"", "17000000000x0", "-1", "1e12", "1700000000000); new Date(0", " 1700000000000"};
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        SetScriptClassForTesting(source.scriptClass);
        for (const char* input : inputs) {
            SCOPED_TRACE(input);
            EXPECT_EQ(EpochMillisToDateText(input), "");
            EXPECT_EQ(LocalClockDateText(input), "");
        }
    }
}

// The changes of the clock in this zone: in spring from 02:00 EST to 03:00 EDT, in autumn from
// 02:00 EDT back to 01:00 EST.
struct ClockChange {
    SYSTEMTIME utc;
    int32_t minutesEastBefore;
    int32_t minutesEastAfter;
};
const ClockChange kClockChanges[] = {
    {{2023, 3, 0, 12, 7, 0, 0, 0}, -300, -240}, {{2023, 11, 0, 5, 6, 0, 0, 0}, -240, -300},
    {{2024, 3, 0, 10, 7, 0, 0, 0}, -300, -240}, {{2024, 11, 0, 3, 6, 0, 0, 0}, -240, -300},
    {{2025, 3, 0, 9, 7, 0, 0, 0}, -300, -240},  {{2025, 11, 0, 2, 6, 0, 0, 0}, -240, -300},
};

uint64_t MillisAt(const SYSTEMTIME& utc) {
    return std::stoull(MillisOf(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond));
}

// The engine's text of a moment, worked out without any time-zone rules: UTC moved by the offset.
Text ShapeAtOffset(uint64_t millis, int32_t minutesEast) {
    const int64_t localMillis = static_cast<int64_t>(millis) + static_cast<int64_t>(minutesEast) * 60000;
    const uint64_t ticks = static_cast<uint64_t>(localMillis + 11644473600000LL) * 10000;
    const FILETIME fileTime = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME t;
    EXPECT_TRUE(FileTimeToSystemTime(&fileTime, &t));
    return EngineShapedDateText({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}, minutesEast);
}

TEST_F(SystemDateTextTest, AcrossTheClockChangesTheLocalClockUsesTheOffsetOfTheMoment) {
    for (const ClockChange& change : kClockChanges) {
        const uint64_t at = MillisAt(change.utc);
        std::vector<int64_t> steps = {-1000, -1, 0, 1, 999, 1000};
        for (int64_t minutes = -180; minutes <= 180; minutes += 5)
            steps.push_back(minutes * 60000);
        for (int64_t step : steps) {
            const uint64_t millis = at + step;
            SCOPED_TRACE(millis);
            EXPECT_EQ(LocalClockDateText(std::to_string(millis)),
                      ShapeAtOffset(millis, step < 0 ? change.minutesEastBefore : change.minutesEastAfter));
        }
    }
}

TEST_F(SystemDateTextTest, TheLocalClockWritesTheEnginesTextForTheSameMoment) {
    // COM stays initialised meanwhile, so the engine is loaded once for the many moments below.
    ScopedComInit com;
    std::vector<uint64_t> moments;
    // Around each change of the clock, every quarter of an hour from eight hours before to eight
    // hours after, and the millisecond and the second on either side of each edge compared.
    // Wine's script engine misplaces each change: on the day of a change it applies the new
    // offset from 02:00 UTC (the change's local hour read as UTC) and the summer zone text until
    // 07:00 UTC, so it writes 00:30 EST in March as 01:30 and 00:30 EDT in November as 23:30 of
    // the day before. Those hours are left out here; the clock's text of them is checked against
    // the offset in force (above), and the log's lines in LogTest.
    for (const ClockChange& change : kClockChanges) {
        const uint64_t at = MillisAt(change.utc);
        SYSTEMTIME day = change.utc;
        day.wHour = 2;
        const uint64_t wrongFrom = MillisAt(day);
        day.wHour = 7;
        const uint64_t wrongUntil = MillisAt(day);
        std::vector<int64_t> steps;
        for (int64_t quarter = -32; quarter <= 32; ++quarter)
            steps.push_back(quarter * 15 * 60 * 1000);
        for (uint64_t edge : {wrongFrom, wrongUntil, at}) {
            for (int64_t step : {-1000, -1, 0, 1, 1000})
                steps.push_back(static_cast<int64_t>(edge - at) + step);
        }
        for (int64_t step : steps) {
            const uint64_t millis = at + step;
            if (millis < wrongFrom || millis >= wrongUntil)
                moments.push_back(millis);
        }
    }
    // Local midnights (05:00 UTC in winter, 04:00 in summer), a leap day and a year's end.
    for (WORD hour : {3, 4, 5}) {
        moments.push_back(std::stoull(MillisOf(2024, 2, 29, hour, 59, 59, 999)));
        moments.push_back(std::stoull(MillisOf(2024, 3, 1, hour, 0, 0, 0)));
        moments.push_back(std::stoull(MillisOf(2024, 7, 1, hour, 0, 0, 0)));
        moments.push_back(std::stoull(MillisOf(2025, 1, 1, hour, 0, 0, 0)));
    }
    // The last second of the year 9999, far from any clock but still a date for both.
    moments.push_back(253402300799000ULL);
    // And a spread of moments from 2008 to 2037, from a fixed sequence.
    uint64_t state = 0x2545F4914F6CDD1DULL;
    const uint64_t first = std::stoull(MillisOf(2008, 1, 1, 0, 0, 0));
    const uint64_t span = std::stoull(MillisOf(2037, 12, 31, 0, 0, 0)) - first;
    for (int i = 0; i < 300; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        moments.push_back(first + (state >> 11) % span);
    }

    for (uint64_t moment : moments) {
        const Text millis = std::to_string(moment);
        SCOPED_TRACE(millis);
        const std::optional<Text> engine = ScriptEngineDateText(millis);
        ASSERT_TRUE(engine.has_value()) << "the script engine is missing";
        ASSERT_FALSE(engine->empty());
        EXPECT_EQ(LocalClockDateText(millis), *engine);
    }
}

TEST_F(SystemDateTextTest, OnlyAnEngineThatCannotBeCreatedGivesWayToTheClock) {
    const Text millis = "1704424029123";
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        SetScriptClassForTesting(source.scriptClass);
        EXPECT_EQ(ScriptEngineDateText(millis).has_value(), source.scriptClass == nullptr);
    }
    // An object that can be created but is no script engine gives no date text; the date text is
    // then empty, not the clock's.
    SetScriptClassForTesting("VBScript.RegExp");
    EXPECT_EQ(ScriptEngineDateText(millis), std::optional<Text>(""));
    EXPECT_EQ(EpochMillisToDateText(millis), "");
}

TEST_F(SystemDateTextTest, TheClockRefusesMomentsItCannotWrite) {
    const char* beyond[] = {
        "910692730085478",          // the first moment after the last the system can write as a date
        "18446744073709551616",     // 2 to the 64th, which must not wrap around to the epoch
        "99999999999999999999999",  // more digits than any count holds
    };
    for (const char* millis : beyond) {
        SCOPED_TRACE(millis);
        EXPECT_EQ(LocalClockDateText(millis), "");
    }
}

TEST_F(SystemDateTextTest, LeavesComAsItFoundItOnTheCallingThread) {
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        SetScriptClassForTesting(source.scriptClass);
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
}

}  // namespace
