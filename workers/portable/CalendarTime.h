#pragma once
// A date and time of day as a calendar shows it, with no zone attached: the caller says whether it
// is local time or UTC. Generations record their start in UTC and are named and sorted into days,
// weeks and months by the local time the caller works out from it.
//
// Platform-free; a plain value; any thread.

#include <cstdint>

struct CalendarTime {
    int32_t year = 0;    // 1 to 9999
    int32_t month = 0;   // 1 to 12
    int32_t day = 0;     // 1 to the month's last day
    int32_t hour = 0;    // 0 to 23
    int32_t minute = 0;  // 0 to 59
    int32_t second = 0;  // 0 to 59
    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// Whether every field is in its range above (29 February only in a leap year).
bool IsValidCalendarTime(const CalendarTime& time);

// The number of the time's date counted in days from 1 January 1970 (negative before it), by the
// Gregorian calendar. Consecutive dates give consecutive numbers, across months and years.
int64_t DayNumber(const CalendarTime& time);

// The day number of the Monday that starts the time's week (weeks start on Monday, as ISO 8601's
// do): every date of one week, across a year's end too, gives the same number.
int64_t WeekStartDayNumber(const CalendarTime& time);
