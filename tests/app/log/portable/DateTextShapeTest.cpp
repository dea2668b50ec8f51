// The script engine's date text written from a local date-time, without the engine. Pure text:
// the time zone of the test program plays no part here.

#include "app/log/portable/DateTextShape.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTextShapeTest, WritesTheSixFieldsOfTheEnginesDateText) {
    struct Case {
        const char* name;
        LocalDateTime local;
        int32_t minutesEast;
        const char* expected;
    };
    const Case cases[] = {
        {"winter evening west of UTC", {2024, 1, 4, 22, 7, 9}, -300, "Thu Jan 4 22:07:09 UTC-0500 2024"},
        {"east of UTC", {2023, 11, 15, 6, 13, 20}, 480, "Wed Nov 15 06:13:20 UTC+0800 2023"},
        {"at UTC the zone is the prefix alone", {2023, 11, 14, 22, 13, 20}, 0, "Tue Nov 14 22:13:20 UTC 2023"},
        {"half an hour east", {2024, 6, 30, 0, 0, 0}, 330, "Sun Jun 30 00:00:00 UTC+0530 2024"},
        {"three quarters of an hour east", {2024, 12, 31, 23, 59, 59}, 345, "Tue Dec 31 23:59:59 UTC+0545 2024"},
        {"half an hour west", {2024, 3, 10, 2, 30, 0}, -150, "Sun Mar 10 02:30:00 UTC-0230 2024"},
        {"far west", {2024, 2, 29, 9, 5, 7}, -720, "Thu Feb 29 09:05:07 UTC-1200 2024"},
        {"far east", {2024, 8, 1, 1, 2, 3}, 840, "Thu Aug 1 01:02:03 UTC+1400 2024"},
        {"the epoch", {1970, 1, 1, 0, 0, 0}, 0, "Thu Jan 1 00:00:00 UTC 1970"},
        {"a year divisible by 400 has 29 February", {2000, 2, 29, 12, 0, 0}, 60, "Tue Feb 29 12:00:00 UTC+0100 2000"},
        {"the last day of a four-digit year", {9999, 12, 31, 23, 59, 59}, -300, "Fri Dec 31 23:59:59 UTC-0500 9999"},
        {"a five-digit year", {30828, 9, 13, 22, 48, 5}, -240, "Wed Sep 13 22:48:05 UTC-0400 30828"},
        {"the first year", {1, 1, 1, 0, 0, 0}, 0, "Mon Jan 1 00:00:00 UTC 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EngineShapedDateText(c.local, c.minutesEast), c.expected);
    }
}

TEST(DateTextShapeTest, EveryDayIsTheWeekdayAfterTheDayBefore) {
    // Walks the calendar day by day from a Monday, through the leap-year rules of 1900, 2000 and
    // 2100, and checks the weekday token and the day and month fields of every day.
    static constexpr int32_t kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const char* const weekdays[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int weekday = 0;  // 1 January 1601 was a Monday
    for (int32_t year = 1601; year <= 2400; ++year) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        for (int32_t month = 1; month <= 12; ++month) {
            const int32_t days = kMonthDays[month - 1] + (month == 2 && leap ? 1 : 0);
            for (int32_t day = 1; day <= days; ++day) {
                const Text expected = Text(weekdays[weekday]) + " " + months[month - 1] + " " + std::to_string(day) +
                                      " 12:00:00 UTC " + std::to_string(year);
                ASSERT_EQ(EngineShapedDateText({year, month, day, 12, 0, 0}, 0), expected);
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

TEST(DateTextShapeTest, GivesEmptyTextForADateTimeThatCannotBe) {
    struct Case {
        const char* name;
        LocalDateTime local;
        int32_t minutesEast;
    };
    const Case cases[] = {
        {"month 0", {2024, 0, 1, 0, 0, 0}, 0},
        {"month 13", {2024, 13, 1, 0, 0, 0}, 0},
        {"day 0", {2024, 1, 0, 0, 0, 0}, 0},
        {"31 April", {2024, 4, 31, 0, 0, 0}, 0},
        {"29 February of a common year", {2023, 2, 29, 0, 0, 0}, 0},
        {"29 February of a century that is no leap year", {1900, 2, 29, 0, 0, 0}, 0},
        {"hour 24", {2024, 1, 1, 24, 0, 0}, 0},
        {"minute 60", {2024, 1, 1, 0, 60, 0}, 0},
        {"second 60", {2024, 1, 1, 0, 0, 60}, 0},
        {"negative second", {2024, 1, 1, 0, 0, -1}, 0},
        {"year 0", {0, 1, 1, 0, 0, 0}, 0},
        {"a whole day east", {2024, 1, 1, 0, 0, 0}, 1440},
        {"a whole day west", {2024, 1, 1, 0, 0, 0}, -1440},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EngineShapedDateText(c.local, c.minutesEast), "");
    }
}

TEST(DateTextShapeTest, ReassemblesTheEnginesDateTextAsYearMonthDayAndTime) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Tue Nov 14 22:13:20 UTC 2023", "2023/11/14 22:13:20"},
        {"Wed Nov 15 06:13:20 UTC+0800 2023", "2023/11/15 06:13:20"},
        {"Thu Jan 4 22:07:09 UTC-0500 2024", "2024/1/4 22:07:09"},
        {"Sun Jun 30 00:00:00 UTC+0530 2024", "2024/6/30 00:00:00"},
        {"Wed Sep 13 22:48:05 UTC-0400 30828", "30828/9/13 22:48:05"},
        {"Mon Jan 1 00:00:00 UTC 1", "1/1/1 00:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReassembleDateText(c.text), c.expected);
    }
}

// Whatever else the engine may give back, the log line gets no time stamp rather than a wrong one.
TEST(DateTextShapeTest, ATextNotOfTheEnginesShapeGivesTheEmptyDateText) {
    const char* const cases[] = {
        "",
        "Thu Jan 4 22:07:09 UT\x03-0500 2024",  // a damaged zone (found by the date text's fuzz target)
        "a b c d e f",
        "Thu Jan 4 22:07:09 UTC-0500",
        "Thu Jan 4 22:07:09 UTC-0500 2024 B.C.",
        "Thu Jan 4 22:07:09 UTC-0500 2024 ",
        "Thu Jan  4 22:07:09 UTC-0500 2024",
        "Thu Foo 4 22:07:09 UTC-0500 2024",
        "Thu January 4 22:07:09 UTC-0500 2024",
        "Fri Jan 4 22:07:09 UTC-0500 2024",  // 4 January 2024 was a Thursday
        "Thu Jan 04 22:07:09 UTC-0500 2024",
        "Wed Feb 30 22:07:09 UTC-0500 2024",
        "Thu Jan 4 24:07:09 UTC-0500 2024",
        "Thu Jan 4 22:7:09 UTC-0500 2024",
        "Thu Jan 4 22:07:60 UTC-0500 2024",
        "Thu Jan 4 22:07:09 GMT-0500 2024",
        "Thu Jan 4 22:07:09 UTC+0000 2024",
        "Thu Jan 4 22:07:09 UTC-2400 2024",
        "Thu Jan 4 22:07:09 UTC-0500 02024",
        "Thu Jan 4 22:07:09 UTC-0500 -2024",
        "Thu Jan 4 2024 22:07:09 GMT-0500 (Eastern Standard Time)",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ReassembleDateText(text), "");
    }
}

}  // namespace
