#pragma once
// The log: every report to the user is a line appended to the main window's LogBox, made of the
// local time of day ("06:13:20"), kLogSeparator, the message and kLineSep.
//
// Lines are appended whole on the window thread, one window-thread call per line, so lines from
// the window thread and from both workers never overwrite or cut into each other, and whatever
// the user typed into the log stays in front of the next line. The cost of an append does not
// grow with the size of the log.

#include <windows.h>

#include "common/Text.h"

// Between the time of day and the message. A line whose time could not be written (a date text
// that cannot be read) begins with it.
inline constexpr char kLogSeparator[] = " - ";

// Names the window whose LogBox AppendLog(message) writes to; null (the start) means this
// process's main window, found by its window class. Any thread.
void SetLogWindow(HWND window);
// The window AppendLog(message) writes to now: the one named by SetLogWindow, else this process's
// main window, else null. Any thread.
HWND LogWindow();

// Appends the line for `message` to the LogBox of `window` and puts the caret after its last
// character, scrolled into view. The time of day is worked out on the calling thread (COM is
// initialised for that during the call), by the script engine or, where that cannot be created,
// from the local clock (LogDateText.h); the append itself is carried out on the window thread,
// where the calling thread waits for it. The window thread never waits for a worker, so it may
// log too. A NUL byte in `message` is written as '?', so it cannot end the line early.
// Returns false, having appended nothing, when `window` does not exist or has no LogBox.
// Any thread.
bool AppendLog(HWND window, const Text& message);

// AppendLog to LogWindow(); false when there is none. Any thread.
bool AppendLog(const Text& message);
