#pragma once
// Runs one command line as a hidden console child and gives back what it printed.
//
// RunConsoleCommand hands LaunchPrefixNt() + command (LaunchPrefixOther() on the old platform
// family) to the command interpreter, with nothing appended. The child inherits the caller's
// current directory and environment, and of this process's pipe only the end it writes to;
// standard output and standard error share that pipe, so the result holds both in the order the
// bytes arrived. No code-page conversion takes place; zero bytes are left out (CaptureLoop.h).
//
// The call blocks until the child has ended and everything it wrote was read, while the calling
// thread's window messages keep being handled (it may run on the window thread). It returns early,
// with what was read until then, when the observer asks to stop (that chunk is not kept) or when
// the calling thread's stop signal (common/StopSignal.h) is requested; the child then runs on by
// itself, and since nothing reads its pipe any more, a write it makes after that fails (a child
// that goes on writing is not blocked for ever). It owns every handle it opens and closes them
// all before returning.
//
// `observer` (may be null) is called with each chunk, 1 and 0, only when `notifyChunks` is true;
// a nonzero answer stops the capture. There is no time limit. Failure to start the command gives
// empty text. Any thread; calls on different threads are independent.

#include "common/CommandRunnerFn.h"
#include "common/Text.h"
#include "tooldriver/CaptureLoop.h"

Text RunConsoleCommand(const Text& command, const ChunkObserver* observer = nullptr, bool notifyChunks = false);

// RunConsoleCommand that also says how the capture ended (CaptureEnd::NotStarted when the pipe
// or the process could not be created), for a caller that must tell a child cut short by a stop
// from one that had finished.
Capture CaptureConsoleCommand(const Text& command, const ChunkObserver* observer = nullptr, bool notifyChunks = false);

// The text placed before the command on the NT platform family: the command interpreter of the
// system folder, then kInterpreterSwitches: no AutoRun commands, no delayed expansion, and a
// lead-in that keeps a command starting with a double quote intact (see CommandRunner.cpp).
Text LaunchPrefixNt();
inline constexpr char kInterpreterSwitches[] = " /d /v:off /s /c @";

// The text placed before the command on the older platform family.
Text LaunchPrefixOther();
