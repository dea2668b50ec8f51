#pragma once
// Ending a hung tool command with everything it started. A listing or backup command runs in a job
// of its own, so the job names every process it started, however deep; where the job could not be
// assigned (nested jobs are missing before Windows 8, and the program may itself run in a job), its
// processes are found by their parent process ids instead, each one checked to have started after
// its parent, so that a reused id never leads to a stranger's process.
//
// Owns only the handles it opens for the call. Any thread. A process that cannot be ended (it ended
// by itself meanwhile, or may not be opened) is left out of the names.

#include <windows.h>

#include "common/portable/Text.h"

// Ends every process in `job` and waits a little for them to be gone. The names of the processes
// ended, each "name (process id)", in the order the job lists them.
TextArray EndJobProcesses(HANDLE job);

// Ends the process `root` (whose id is `rootId`) and every process it started, and theirs in turn,
// and waits a little for them to be gone. The names as for EndJobProcesses, `root` first.
TextArray EndProcessTree(HANDLE root, DWORD rootId);
