#pragma once
// One run of the program for one pass, as the soak starts it: from the command line (/backup or
// /restore), or in its window with the pass's button clicked; either way with /log, so the run's
// log lines are kept for the report. The program runs from the soak's program folder, whose
// settings name the backup folder.
//
// One thread. The program is closed or ended when the object dies, if it still runs.

#include <windows.h>

#include <optional>

#include "bench/soak/KillPlan.h"
#include "common/portable/Text.h"
#include "tests/support/ProgramUnderTest.h"

class PassRun {
  public:
    PassRun(const Text& programFolder, Pass pass, const Text& logFile)
        : programFolder_(programFolder), pass_(pass), logFile_(logFile) {}

    // Starts `/backup /log:...` or `/restore /log:...`. False when the program could not be started.
    bool StartFromCommandLine();
    // Starts the program with /log alone, waits for its window, clicks the pass's button and waits
    // until the pass has disabled it (the pass runs). False when any of that failed.
    bool StartInWindow();

    DWORD ProcessId() const { return program_.ProcessId(); }
    // GetTickCount when the pass was asked for: the program's start, or the click.
    DWORD AskedAt() const { return askedAt_; }
    // From the program's start to the click (0 from the command line).
    DWORD StartupMs() const { return askedAt_ - launchedAt_; }
    // Whether the process has ended.
    bool HasExited() const { return program_.HasExited(); }
    // Whether the pass still runs: the process, or in the window the pass (its button is disabled).
    bool PassRuns() const;

    // Waits up to `timeoutMs` for the process to end. Its exit code, or nothing when it still runs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    // Closes the window as its close box does (a pass started in the window), waiting for the end.
    bool Close() { return program_.Close(); }

    // The run's log file, and its last line (what the run did last), for the report.
    const Text& LogFile() const { return logFile_; }
    Text LastLogLine() const;

  private:
    int ButtonId() const;

    Text programFolder_;
    Pass pass_;
    Text logFile_;
    bool inWindow_ = false;
    DWORD launchedAt_ = 0;
    DWORD askedAt_ = 0;
    ProgramUnderTest program_;
};

// Runs one clean pass from the command line and waits for its end (a few minutes at most). Its exit
// code, or nothing when it could not be started or did not end (it is then ended); `elapsedMs` is
// the time from start to end.
std::optional<DWORD> RunCleanPass(const Text& programFolder, Pass pass, const Text& logFile, DWORD* elapsedMs);
