#pragma once
// A run that the command line asked for (CommandLine.h): one backup or restore pass, started as
// its button starts it, in the window shown minimized, and the program's end when that pass ends,
// with an exit code that says how it ended. Also the usage message, and the run's log file.
//
// Window thread only.

#include <windows.h>

#include <memory>

#include "app/log/LogFile.h"
#include "app/passes/PassControl.h"
#include "app/program/portable/CommandLine.h"

// Shows the usage message for `request` (its problem first, when there is one) and returns the
// exit code for it, kExitNotDone, at once. In a message box, unless the line held /backup or
// /restore (a scheduled run, which nobody may see): then to the standard output the program
// inherited, else to the console it was started from (if any), and to the /log file (if usable).
int ShowUsage(const CommandLineRequest& request);

// The usage problems WithFullPaths finds; the path follows each.
inline constexpr char kPathNotFullText[] = "This path cannot be made a full path: ";
inline constexpr char kLogOntoOwnFileText[] =
    "The log file cannot be the program's own list of backups, settings file or lock file: ";

// `request` with /folder and /log made full against the current directory, where a relative path
// counts from: every tool command changes the current directory later. Call first thing. A path
// the system cannot make full, or a log file that is the list of backups, the settings file or the
// pass lock's file of `programFolder`, turns the request into ProgramAction::Usage with the problem
// (a usage request keeps its own problem); the log file is then dropped unless it is full and none
// of those.
CommandLineRequest WithFullPaths(CommandLineRequest request, const Text& programFolder);

// Makes `request`'s log file the run's (SetRunLogFile) for the object's life; nothing without one.
class ScopedRunLogFile {
public:
    explicit ScopedRunLogFile(const CommandLineRequest& request);
    ~ScopedRunLogFile();
    ScopedRunLogFile(const ScopedRunLogFile&) = delete;
    ScopedRunLogFile& operator=(const ScopedRunLogFile&) = delete;
};

class UnattendedRun {
public:
    // A run for `request`, with the window's `passes` (both must outlive this object).
    UnattendedRun(const CommandLineRequest& request, PassControl& passes);
    UnattendedRun(const UnattendedRun&) = delete;
    UnattendedRun& operator=(const UnattendedRun&) = delete;

    // How the window is shown: minimized, without taking the focus, for a pass; else `showCommand`.
    int ShowCommand(int showCommand) const;

    // The window exists and is shown: puts /folder into FolderField (without saving it) and starts
    // the pass, and disables the button of the other pass for the whole run (the run ends with its
    // own pass, which would cut the other one off). When the pass ends, or did not start, the window
    // is closed, which ends the message loop. Nothing when the request runs no pass.
    void Begin(HWND window);

    // The exit code once the message loop has ended: that of how the pass ended, or kExitNotDone
    // when it did not start or the window was closed before it ended. `loopExitCode` when the
    // request runs no pass.
    int ExitCode(int loopExitCode) const;

private:
    const CommandLineRequest& request_;
    PassControl& passes_;
    int exitCode_ = kExitNotDone;
};
