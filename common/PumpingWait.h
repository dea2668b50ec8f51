#pragma once
// Pauses the calling thread while still handling the window messages that reach it.
// `time` is in milliseconds unless `unit` says otherwise: 1 seconds, 2 minutes, 3 hours,
// 0 or absent milliseconds, any other value is itself the multiplier. Always returns true.
// Any thread; on the window thread, handlers can run nested inside the wait.

#include <optional>

bool PumpingWait(int time, std::optional<int> unit = std::nullopt);

// Handles every message already waiting in the calling thread's queue, then returns.
void ProcessPendingMessages();
