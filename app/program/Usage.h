#pragma once
// The usage message of the command line (CommandLine.h): in a message box for someone at the
// screen, or written where an unwatched run's caller can read it.
//
// Window thread (the message box is modal and owns no window).

#include "app/program/portable/CommandLine.h"

// Shows the usage message for `request` (its problem first, when there is one) and returns the
// exit code for it, kExitNotDone, at once. In a message box, unless the line held /backup or
// /restore (a scheduled run, which nobody may see): then to the standard output the program
// inherited, else to the console it was started from (if any), and to the /log file (if usable).
int ShowUsage(const CommandLineRequest& request);
