#pragma once
// Days of the Gregorian calendar, shared by the log's date texts and the history's generations.
// Platform-free; any thread.

#include <cstdint>

inline bool IsLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The number of days of `month` (1-12) in `year`.
inline int32_t DaysInMonth(int64_t year, int32_t month) {
    static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}
