#pragma once
// uidriver.exe (tools/uidriver), the tool the scripts drive the program's window with, run from a
// test against one running program.

#include <windows.h>

#include "common/portable/Text.h"
#include "tests/support/CapturedRun.h"

// Runs uidriver.exe with `arguments` (a command and its operands, quoted by the caller) against
// the main window of process `processId`; it waits up to `timeoutMs` for the window and for the
// command's condition. Any thread.
CapturedRunResult RunUiDriver(DWORD processId, const Text& arguments, DWORD timeoutMs = 10000);
