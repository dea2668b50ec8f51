#pragma once
// The log: every report to the user is a line appended to the main window's LogBox, made of the
// local time of day ("06:13:20"), kLogSeparator, the message and kLineSep.
//
// Lines are appended whole on the window thread, one window-thread call per line, so lines from
// the window thread and from both workers never overwrite or cut into each other, and whatever
// the user typed into the log stays in front of the next line. The cost of an append does not
// grow with the size of the log. When the run has a log file (LogFile.h), every line that reaches
// the window also goes there, with the date in front of the time.

#include <windows.h>

#include "app/log/portable/LogLineText.h"
#include "common/portable/Text.h"

// One line as the window and the log file show it (LogLineText.h), made from one date text.
struct LogLine {
    Text boxLine;
    Text fileLine;
};

// The line for `message`, its date text worked out on the calling thread (COM is initialised for
// that during the call) by the script engine or, where that cannot be created, from the local
// clock (SystemDateText.h). This is the costly part of logging; a worker does it on its own thread.
// Any thread.
LogLine MakeLogLine(const Text& message);

// Appends the finished line to the LogBox of `window` and puts the caret after its last
// character, scrolled into view. False, having appended nothing, when `window` does not exist or
// has no LogBox. Window thread of `window` only.
bool InsertLogLine(HWND window, const LogLine& line);

// Writes a line that reached the window's log to the run's log file, if there is one. The first
// time the file cannot be written, the window's log says so once (that line goes to the window
// only); the caller goes on either way. Any thread.
void RecordLogLine(HWND window, const LogLine& line);

// Names the window whose LogBox AppendLog(message) writes to; null (the start) means this
// process's main window, found by its window class. Any thread.
void SetLogWindow(HWND window);
// The window AppendLog(message) writes to now: the one named by SetLogWindow, else this process's
// main window, else null. Any thread.
HWND LogWindow();

// MakeLogLine on the calling thread, InsertLogLine carried out on the window thread (the calling
// thread waits for it; the window thread never waits for a worker, so it may log too), then
// RecordLogLine. A NUL byte in `message` is written as '?', so it cannot end the line early.
// Returns false, having appended nothing, when `window` does not exist or has no LogBox.
// Any thread.
bool AppendLog(HWND window, const Text& message);

// AppendLog to LogWindow(); false when there is none. Any thread.
bool AppendLog(const Text& message);
