#pragma once
// The soak's kill helper: it ends a process at once with TerminateProcess, as Task Manager, a crash
// or a stopped scheduled task ends one, with no message and no chance to clean up. It ends only
// the runs the soak started and what those started.
//
// Any thread.

#include <windows.h>

#include "common/WinHandles.h"

// The process `id` opened so that it can be ended and waited for; null when it has ended already.
// Opening it early keeps its id from passing to another process before the kill.
UniqueHandle OpenToKill(DWORD id);

// Ends `process` with `exitCode` and waits until it is gone. False when it had ended before (it was
// not ended by this call) or could not be ended.
bool KillProcess(HANDLE process, unsigned long exitCode);

// Ends the run `process` (whose id is `id`) and, right after, every process it started and theirs in
// turn, as a stopped scheduled task is ended with its job. The run goes first, so it never sees a
// tool command end early. False when the run had ended before.
bool KillProcessTree(HANDLE process, DWORD id, unsigned long exitCode);

// After the run `id` was ended: what it started goes on (a tool run writing the tool's store must
// finish, as it would on a real machine); whatever still runs after `graceMs` is ended, as Wine
// may leave a command interpreter whose parent ended while it started waiting for ever.
void SettleOrphans(DWORD id, DWORD graceMs);
