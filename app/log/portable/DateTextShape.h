#pragma once
// The shape of the script engine's default date text ("Thu Jan 4 22:07:09 UTC-0500 2024"), written
// from a local date-time and its distance from UTC, and read back into the log's date text. The
// log makes its date text this way when the engine cannot be created (on 64-bit Windows it exists
// for 32-bit programs only), so the same reassembly reads both. Pure text: no clock and no time
// zone are read here. Any thread.

#include <cstdint>

#include "common/portable/SharedTexts.h"
#include "common/portable/Text.h"

// A local date-time as the clock shows it: month 1-12, day 1-31, hour 0-23, minute and second 0-59.
struct LocalDateTime {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
};

// kDateFieldSep (SharedTexts.h) separates the fields of the engine's date text, and the date from
// the time of day in ours. kDateSep separates year, month and day.
inline constexpr char kDateSep[] = "/";

// The engine's month abbreviations; kMonthTokens[m - 1] becomes kMonthNumberTexts[m - 1].
inline constexpr const char* kMonthTokens[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The engine's weekday abbreviations, Sunday first.
inline constexpr const char* kWeekdayTokens[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// Starts the zone field; the signed offset follows it ("UTC+0800", "UTC-0330"), except at UTC itself.
inline constexpr char kZonePrefix[] = "UTC";

// Six fields separated by single kDateFieldSep characters: the weekday token, the month token
// (kMonthTokens), the day without a leading zero, the time of day as hh:mm:ss, the zone
// (kZonePrefix, then + or - and the offset's hours and minutes as four digits; nothing more when
// `minutesEastOfUtc` is 0), the year. Empty text when a field of `local` is outside its range
// (years before 1 included) or the offset is a day or more.
Text EngineShapedDateText(const LocalDateTime& local, int32_t minutesEastOfUtc);

// The log's date text from a date text of the engine's shape: field 6 (the year), kDateSep,
// field 2 with its month token replaced by the month's number, kDateSep, field 3 (the day),
// kDateFieldSep, field 4 (the time of day). Only a text that EngineShapedDateText could have
// written is read (six fields; a weekday that is the date's; a month token; a day of that month;
// hh:mm:ss; the zone; the year): anything else gives empty text, so a text the engine did not mean
// as its date never becomes a time stamp that looks right.
Text ReassembleDateText(const Text& engineText);
