#pragma once
// Runs a console program as a child process and captures what it prints, for tests that drive
// the build's helper programs (uidriver.exe and the like).

#include <windows.h>

#include "common/portable/Text.h"

struct CapturedRunResult {
    bool started = false;   // false: the program could not be started at all
    bool timedOut = false;  // it was still running after the timeout and has been ended
    DWORD exitCode = 0;     // valid when started and not timed out
    Text output;            // standard output and standard error, interleaved as printed
};

// Runs `commandLine` (program path first, quoted where it holds spaces) without a console window,
// waits at most `timeoutMs` for it to end, and returns what it printed. Any thread.
CapturedRunResult RunCaptured(const Text& commandLine, DWORD timeoutMs = 30000);
