#pragma once
// The text of one log line, made from the log's date text ("2023/11/15 06:13:20", LogDateText.h)
// and the message: the window's log shows the time of day only, the log file (/log) the date in
// front of it. Both come from one date text, so the box and the file always agree.
//
// Platform-free; any thread.

#include "common/Text.h"

// Between the time and the message. A line whose date text could not be made begins with it.
inline constexpr char kLogSeparator[] = " - ";

// The time of day is the last eight characters of the date text.
inline constexpr int kLogStampLength = 8;

// The line for the window's log: the last kLogStampLength characters of `dateText` (all of it
// when shorter), kLogSeparator, `message` and kLineSep. A NUL byte in `message` becomes '?', so it
// cannot end the line early.
Text BoxLogLine(const Text& dateText, const Text& message);

// The line for the log file: the whole `dateText`, kLogSeparator, `message` and kLineSep, NUL
// bytes as in BoxLogLine.
Text FileLogLine(const Text& dateText, const Text& message);
