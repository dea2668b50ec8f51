#pragma once
// The processes running now, as the tests look for what a program started: the tool's runs, the
// command interpreters. A snapshot: a process may end or start right after. Any thread.

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "common/portable/Text.h"

// Every process running now; empty when no snapshot can be taken.
std::vector<PROCESSENTRY32> RunningProcesses();

// The ids of the processes running the program at `imagePath` (its full path, any letter case).
std::vector<DWORD> ProcessesRunning(const Text& imagePath);

// Ends the processes `ids` at once (those that already ended are passed over).
void EndProcesses(const std::vector<DWORD>& ids);

// Waits up to `graceMs` for the processes that the process `parentId` started (and theirs in turn)
// to end by themselves, then ends those still running. Under Wine a command interpreter whose
// parent ended while it was starting may never end, and it would hold the test's output open.
void EndProcessesStartedBy(DWORD parentId, DWORD graceMs);
