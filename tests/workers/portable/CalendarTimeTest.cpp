// Calendar arithmetic the history's names and retention stand on: which dates exist, and day and
// week numbers that run on without a break across months, leap days and years.

#include "workers/portable/CalendarTime.h"

#include <gtest/gtest.h>

namespace {

TEST(CalendarTimeTest, OnlyDatesAndTimesTheCalendarHasAreValid) {
    struct Case {
        const char* name;
        CalendarTime time;
        bool valid;
    } cases[] = {
        {"an ordinary time", {2026, 12, 11, 2, 0, 3}, true},
        {"the last second of a year", {2025, 12, 31, 23, 59, 59}, true},
        {"29 February of a leap year", {2024, 2, 29, 0, 0, 0}, true},
        {"29 February of 2000 (divisible by 400)", {2000, 2, 29, 0, 0, 0}, true},
        {"29 February of 1900 (divisible by 100)", {1900, 2, 29, 0, 0, 0}, false},
        {"29 February of a common year", {2023, 2, 29, 0, 0, 0}, false},
        {"31 April", {2026, 4, 31, 0, 0, 0}, false},
        {"month 0", {2026, 0, 1, 0, 0, 0}, false},
        {"month 13", {2026, 13, 1, 0, 0, 0}, false},
        {"day 0", {2026, 1, 0, 0, 0, 0}, false},
        {"hour 24", {2026, 1, 1, 24, 0, 0}, false},
        {"minute 60", {2026, 1, 1, 0, 60, 0}, false},
        {"a leap second", {2016, 12, 31, 23, 59, 60}, false},
        {"a negative second", {2026, 1, 1, 0, 0, -1}, false},
        {"year 0", {0, 1, 1, 0, 0, 0}, false},
        {"year 10000 (no longer four digits)", {10000, 1, 1, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidCalendarTime(c.time), c.valid);
    }
}

TEST(CalendarTimeTest, DayNumbersRunOnByOneAndWeeksStartOnMonday) {
    EXPECT_EQ(DayNumber({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(DayNumber({2026, 12, 11, 23, 59, 59}), 20798) << "the time of day does not move the date";
    EXPECT_EQ(DayNumber({1969, 12, 31, 0, 0, 0}), -1);
    // Walk every date of two centuries, leap days and year ends included.
    CalendarTime date{1899, 12, 25, 12, 0, 0};
    int64_t expected = DayNumber(date);
    int64_t monday = WeekStartDayNumber(date);
    while (date.year < 2101) {
        ++expected;
        CalendarTime next = date;
        ++next.day;
        if (!IsValidCalendarTime(next))
            next = CalendarTime{date.year, date.month + 1, 1, 12, 0, 0};
        if (!IsValidCalendarTime(next))
            next = CalendarTime{date.year + 1, 1, 1, 12, 0, 0};
        date = next;
        SCOPED_TRACE(testing::Message() << date.year << "-" << date.month << "-" << date.day);
        ASSERT_EQ(DayNumber(date), expected);
        const int64_t weekStart = WeekStartDayNumber(date);
        ASSERT_TRUE(weekStart == monday || weekStart == monday + 7);
        ASSERT_EQ(weekStart == monday + 7, ((expected + 3) % 7 + 7) % 7 == 0) << "a new week starts on each Monday";
        monday = weekStart;
    }
    // Thursday 1 January 2026 is in the week that starts on Monday 29 December 2025.
    EXPECT_EQ(WeekStartDayNumber({2026, 1, 1, 0, 0, 0}), DayNumber({2025, 12, 29, 0, 0, 0}));
    EXPECT_EQ(WeekStartDayNumber({2026, 1, 4, 0, 0, 0}), DayNumber({2025, 12, 29, 0, 0, 0}));
    EXPECT_EQ(WeekStartDayNumber({2026, 1, 5, 0, 0, 0}), DayNumber({2026, 1, 5, 0, 0, 0}));
}

}  // namespace
