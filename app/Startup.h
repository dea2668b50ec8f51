#pragma once
// The program from start to end, on the thread that runs it (it becomes the window thread).

#include <windows.h>

// Initialises COM for this thread, creates and shows the main window with `showCommand`, and
// runs its message loop until the window is closed. Returns the process's exit code: 0 after a
// normal close, 1 when the window could not be created.
int RunEntryKeeper(HINSTANCE instance, int showCommand);
