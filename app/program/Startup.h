#pragma once
// The program from start to end, on the thread that runs it (it becomes the window thread).

#include <windows.h>

// Reads the command line (CommandLine.h): /? or a line that cannot be followed shows the usage
// message and returns kExitNotDone. Otherwise: makes /log's file the run's log file, initialises
// COM for this thread, creates the command object (which locates the tool and runs its target
// listing, waited for at most kStartupToolWait; StartupToolTimeLimit.h), creates and shows the main
// window with `showCommand` (minimized for a pass), logs when the tool did not answer in time,
// starts the pass the command line asked for (UnattendedRun.h), and runs the window's message
// loop until the window is closed. Returns the process's exit code: with a pass, that of how it
// ended (CommandLine.h); else 0 after a normal close, 1 when the window could not be created.
int RunEntryKeeper(HINSTANCE instance, int showCommand);
