#pragma once
// The moment a log line is stamped with, as the count of milliseconds since the Unix epoch
// written in decimal: the number the log's date text is made from (SystemDateText.h).

#include <windows.h>

#include "common/portable/Text.h"

// The start of the Unix epoch, 1 January 1970 00:00:00, as a date-time in UTC. The clock is read
// in UTC too, so the difference counts Unix seconds in every time zone and across daylight-saving
// changes; the local time of day is made from it later, by the script engine.
inline constexpr SYSTEMTIME kEpochBase = {1970, 1, 4, 1, 0, 0, 0, 0};

// The current moment: whole seconds since kEpochBase in decimal, then the milliseconds as three
// digits ("1700000000007" for 7 ms past second 1700000000). A clock before September 2001 gives
// fewer digits; they are filled on the left with 0s up to 13, which keeps the number's value (0s
// appended on the right would name a moment centuries later). Seconds and milliseconds come from
// one clock read, so they always belong to the same moment. A clock before the epoch counts as
// the epoch. Any thread.
Text CurrentEpochMillis();

// The clock CurrentEpochMillis reads: the current UTC date-time with milliseconds.
using LogClockFn = SYSTEMTIME (*)();

// Makes CurrentEpochMillis read `clock` instead of the system clock; null restores the system
// clock. For tests that log at a chosen moment. Any thread.
void SetLogClockForTesting(LogClockFn clock);
