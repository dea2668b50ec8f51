#include "workers/portable/CalendarTime.h"

#include "common/portable/CalendarDays.h"

bool IsValidCalendarTime(const CalendarTime& t) {
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

int64_t DayNumber(const CalendarTime& t) {
    // Counted from 1 March, so the leap day closes the counting year, in whole 400-year cycles of
    // 146097 days; no table and no platform call.
    const int64_t y = static_cast<int64_t>(t.year) - (t.month <= 2 ? 1 : 0);
    const int64_t cycle = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfCycle = y - cycle * 400;
    const int64_t dayOfYear = (153 * (t.month > 2 ? t.month - 3 : t.month + 9) + 2) / 5 + t.day - 1;
    const int64_t dayOfCycle = yearOfCycle * 365 + yearOfCycle / 4 - yearOfCycle / 100 + dayOfYear;
    // 719468 days lie between 1 March of year 0 and 1 January 1970.
    return cycle * 146097 + dayOfCycle - 719468;
}

int64_t WeekStartDayNumber(const CalendarTime& time) {
    const int64_t day = DayNumber(time);
    // Day 0, 1 January 1970, was a Thursday: three days after a Monday.
    const int64_t sinceMonday = ((day + 3) % 7 + 7) % 7;
    return day - sinceMonday;
}
