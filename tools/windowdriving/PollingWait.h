#pragma once
// Waiting for a condition that another process makes true (a window that shows, a control that
// changes), by asking again every few milliseconds. Any thread; the caller's thread only sleeps,
// so it must not be one whose messages the awaited window needs.

#include <windows.h>

#include <functional>

// Polls `condition` until it holds (true) or `timeoutMs` has passed (false); it is asked once more
// at the end, so a timeout of 0 asks once.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
