#pragma once
// A clock that tells the time a test set, for SetLogClockForTesting (app/log). The test thread
// sets it before the code under test reads it; nothing guards the value between threads.

#include <windows.h>

// Makes FixedClock() give `utc` from now on.
void SetFixedClock(const SYSTEMTIME& utc);
// The time last set (all zero before the first SetFixedClock).
SYSTEMTIME FixedClock();
