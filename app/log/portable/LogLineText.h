#pragma once
// The text of one log line, made from the log's date text ("2023/11/15 06:13:20", SystemDateText.h)
// and the message: the window's log shows the time of day only, the log file (/log) the date in
// front of it. Both come from one date text, so the box and the file always agree.
//
// Platform-free; any thread.

#include <optional>

#include "common/portable/Text.h"

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

// What goes into the log file before the next line, given the file's last byte (`lastByte`; none
// for an empty file): nothing after a whole line, else what ends the torn line that a write cut
// off halfway (a full disk) left, so the next line starts on a line of its own: "\n" after a
// lone '\r', kLineSep after anything else.
Text LogFileLineBreakBefore(std::optional<char> lastByte);
