#pragma once
// The program from start to end, on the thread that runs it (it becomes the window thread).

#include <windows.h>

// Initialises COM for this thread, creates the command object (which locates the tool and runs
// its target listing, waited for at most kStartupToolWait; StartupBound.h), creates and shows the
// main window with `showCommand`, logs when the tool did not answer in time, and runs the
// window's message loop until the window is closed. Returns the process's exit code: 0 after a
// normal close, 1 when the window could not be created.
int RunEntryKeeper(HINSTANCE instance, int showCommand);
