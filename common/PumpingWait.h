#pragma once
// Pauses the calling thread while still handling the window messages that reach it.
// `time` is in milliseconds unless `unit` says otherwise: 1 seconds, 2 minutes, 3 hours,
// 0 or absent milliseconds, any other value is itself the multiplier. Always returns true.
// Any thread; on the window thread, handlers can run nested inside the wait. A quit request
// (WM_QUIT) met during the wait is posted again when the wait ends, so the thread's own message
// loop still sees it.

#include <optional>

bool PumpingWait(int time, std::optional<int> unit = std::nullopt);

// Like PumpingWait for `milliseconds`, but returns as soon as `object` (a waitable handle, such as
// a process) is signalled. True when it was signalled, false when the time ran out. Any thread.
bool PumpingWaitFor(void* object, int milliseconds);

// The due time PumpingWait gives its timer for `time` in `unit`: the duration in milliseconds
// times -10000 (a relative time in 100-nanosecond steps), formed in floating point with the
// fraction dropped. A negative duration counts as zero; a duration too long to express is held
// at the longest one that can be.
long long PumpingWaitDueTime(int time, std::optional<int> unit = std::nullopt);

// Handles every message already waiting in the calling thread's queue, then returns. It stops at
// a quit request and leaves it in the queue for the thread's own message loop.
void ProcessPendingMessages();
