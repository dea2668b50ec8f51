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
// the calling thread's stop signal (common/portable/StopSignal.h) is requested; the child then runs on by
// itself, and since nothing reads its pipe any more, a write it makes after that fails (a child
// that goes on writing is not blocked for ever). It owns every handle it opens and closes them
// all before returning.
//
// `observer` (may be null) is called with each chunk, 1 and 0, only when `notifyChunks` is true;
// a nonzero answer stops the capture. There is no time limit. Failure to start the command gives
// empty text. Any thread; calls on different threads are independent.
//
// The interpreter is started with a console that has no window (CREATE_NO_WINDOW): a console
// hidden only by its show state has shown up as a window of its own, one per command, on systems
// whose default terminal is a separate program, and closing one ended the tool.

#include <functional>

#include "common/portable/CommandRunnerFn.h"
#include "common/portable/Text.h"
#include "tooldriver/portable/CaptureLoop.h"

Text RunConsoleCommand(const Text& command, const ChunkObserver* observer = nullptr, bool notifyChunks = false);

// How a command's child is kept, and when it counts as hung.
struct CommandWatch {
    enum class Keeping {
        // Started plainly and never ended by the program; no hang limit applies.
        Plain,
        // A listing or backup: in a job object of its own (created suspended, assigned, resumed).
        // Once hung, it is ended with everything it started (through the job, or by process ids
        // where the job could not be assigned).
        OwnJob,
        // A restore or create, which writes the tool's own store: never in a job of the program's,
        // never ended. Where the program itself runs in a job (the Task Scheduler runs tasks in one,
        // and stopping the task ends it), it is started outside that job when the job allows it,
        // else within it (Capture::breakawayRefused). Once hung, it is left running
        // (Capture::leftRunning).
        OutsideJobs,
    };
    Keeping keeping = Keeping::Plain;
    // With OwnJob or OutsideJobs: how long the command may print nothing (and not grow
    // `growingFile`) before it counts as hung; 0: never.
    int hangSeconds = 0;
    // A file the command writes (a backup's), whose growth counts as a sign of life; may be empty.
    Text growingFile;
};

// RunConsoleCommand that also says how the command ended: the child's exit code when it ended by
// itself, CaptureEnd::NotStarted when the pipe or the process could not be created, StopRequested
// after a stop, Hung (and what became of the child) under `watch`.
Capture CaptureConsoleCommand(const Text& command, const ChunkObserver* observer = nullptr, bool notifyChunks = false,
                              const CommandWatch& watch = {});

// The shape of CaptureConsoleCommand, for the command class's runner.
using CommandCaptureFn = std::function<Capture(const Text& command, const ChunkObserver* observer,
                                               bool notifyChunks, const CommandWatch& watch)>;

// For tests of the path taken where a job cannot be assigned (before Windows 8 when the program
// runs in a job itself): while set, no command is assigned to a job of its own, so a hung one is
// ended by process ids. Process-wide.
void RefuseJobAssignmentForTests(bool refuse);

// Gives `child`, a command this runner left running (Capture::leftRunning), a copy of `handle`
// that the system closes only when that process ends: a file held open without sharing then stays
// held after this program lets go of it, and after this program has ended. False when `child` is
// not one this runner left running or the copy could not be made. Any thread.
// (`handle` is a HANDLE; this header is also read where <windows.h> is not.)
bool KeepOpenUntilEnded(const RunningProcess& child, void* handle);

// The text placed before the command on the NT platform family: the command interpreter of the
// system folder, then kInterpreterSwitches: no AutoRun commands, no delayed expansion, and a
// lead-in that keeps a command starting with a double quote intact (see CommandRunner.cpp).
Text LaunchPrefixNt();
inline constexpr char kInterpreterSwitches[] = " /d /v:off /s /c @";

// The text placed before the command on the older platform family.
Text LaunchPrefixOther();
