#include "app/log/portable/DateTextShape.h"

#include <cstdio>
#include <string>

#include "common/portable/CalendarDays.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

namespace {

constexpr int32_t kMinutesPerDay = 24 * 60;
constexpr size_t kDateFields = 6;

// 0 for Sunday. Counts days from 1 March of year 0 in whole 400-year cycles of the Gregorian
// calendar (146097 days, a whole number of weeks), so no table and no platform call is needed.
int32_t WeekdayOf(int32_t year, int32_t month, int32_t day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    // Day 0 of the count, 1 March of year 0, was a Wednesday.
    const int64_t days = era * 146097 + dayOfEra;
    return static_cast<int32_t>(((days + 3) % 7 + 7) % 7);
}

bool IsValid(const LocalDateTime& t) {
    return t.year >= 1 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
           t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

Text ZoneText(int32_t minutesEastOfUtc) {
    if (minutesEastOfUtc == 0)
        return kZonePrefix;
    const int32_t distance = minutesEastOfUtc < 0 ? -minutesEastOfUtc : minutesEastOfUtc;
    char offset[8];
    std::snprintf(offset, sizeof offset, "%c%02d%02d", minutesEastOfUtc < 0 ? '-' : '+',
                  static_cast<int>(distance / 60), static_cast<int>(distance % 60));
    return kZonePrefix + Text(offset);
}

// Decimal digits only, at most `maxDigits` of them (so the value fits), or -1.
int32_t DigitsValue(const Text& text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits)
        return -1;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The numbers of the six fields of a date text of the engine's shape; false when a field cannot
// be read. The weekday and the exact spelling are left to the caller's comparison.
bool ReadDateFields(const TextArray& fields, LocalDateTime* local, int32_t* minutesEast) {
    local->month = 0;
    for (int32_t m = 0; m < 12; ++m) {
        if (fields[1] == kMonthTokens[m])
            local->month = m + 1;
    }
    const Text& time = fields[3];
    const Text& zone = fields[4];
    const size_t prefix = Text(kZonePrefix).size();
    if (local->month == 0 || time.size() != 8 || zone.compare(0, prefix, kZonePrefix) != 0)
        return false;
    local->day = DigitsValue(fields[2], 2);
    local->year = DigitsValue(fields[5], 9);
    local->hour = DigitsValue(time.substr(0, 2), 2);
    local->minute = DigitsValue(time.substr(3, 2), 2);
    local->second = DigitsValue(time.substr(6, 2), 2);
    *minutesEast = 0;
    if (zone.size() == prefix + 5 && (zone[prefix] == '+' || zone[prefix] == '-')) {
        const int32_t hours = DigitsValue(zone.substr(prefix + 1, 2), 2);
        const int32_t minutes = DigitsValue(zone.substr(prefix + 3, 2), 2);
        if (hours < 0 || minutes < 0)
            return false;
        *minutesEast = (zone[prefix] == '-' ? -1 : 1) * (hours * 60 + minutes);
    } else if (zone.size() != prefix) {
        return false;
    }
    return true;
}

}  // namespace

Text EngineShapedDateText(const LocalDateTime& local, int32_t minutesEastOfUtc) {
    if (!IsValid(local) || minutesEastOfUtc <= -kMinutesPerDay || minutesEastOfUtc >= kMinutesPerDay)
        return Text();
    char timeOfDay[16];
    std::snprintf(timeOfDay, sizeof timeOfDay, "%02d:%02d:%02d", static_cast<int>(local.hour),
                  static_cast<int>(local.minute), static_cast<int>(local.second));
    return kWeekdayTokens[WeekdayOf(local.year, local.month, local.day)] + Text(kDateFieldSep) +
           kMonthTokens[local.month - 1] + kDateFieldSep + std::to_string(local.day) + kDateFieldSep + timeOfDay +
           kDateFieldSep + ZoneText(minutesEastOfUtc) + kDateFieldSep + std::to_string(local.year);
}

Text ReassembleDateText(const Text& engineText) {
    const TextArray fields = SplitText(engineText, kDateFieldSep);
    LocalDateTime local = {};
    int32_t minutesEast = 0;
    // Read leniently, then written again: only a text the engine's shape gives word for word is
    // taken, so a damaged or foreign text never yields a time stamp that looks right.
    if (fields.size() != kDateFields || !ReadDateFields(fields, &local, &minutesEast) ||
        EngineShapedDateText(local, minutesEast) != engineText)
        return Text();
    return fields[5] + kDateSep + kMonthNumberTexts[local.month - 1] + kDateSep + fields[2] + kDateFieldSep + fields[3];
}
