#pragma once
// A run that the command line asked for (CommandLine.h): one backup or restore pass, started as
// its button starts it, in the window shown minimized, and the program's end when that pass ends,
// with an exit code that says how it ended. The usage message is Usage.h's, the paths' check
// FullPaths.h's and the run's log file RunLogFile.h's.
//
// Window thread only.

#include <windows.h>

#include <memory>

#include "app/passes/PassControl.h"
#include "app/program/portable/CommandLine.h"

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
