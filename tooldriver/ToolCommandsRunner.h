#pragma once
// The runner as the tool's commands use it: the child always starts in the tool's folder.
//
// The current directory is process-wide and the child inherits it when it is started, so
// "make the tool's folder current, then start the tool" must not be split by another thread
// changing the directory in between. The wrapped runner does both, and waits for the child,
// while holding one process-wide lock; tool commands of different threads therefore run one
// after another.
//
// Waiting for the lock keeps the calling thread's window messages flowing (the window thread
// may issue a command while a worker's command runs). A thread whose stop signal is requested
// while it waits gives up: the tool is not started and the result is empty output, as for a
// tool that cannot be started. The lock is recursive, so a command issued from a message
// handler nested inside a running command of the same thread does not deadlock.

#include <functional>

#include "common/portable/CommandRunnerFn.h"
#include "tooldriver/CommandRunner.h"

// Wraps `runner`: each call takes the lock, makes ToolDir() the current directory (a failure
// leaves the old directory, as when the tool's folder is unknown), runs the line, releases.
CommandRunnerFn RunningInToolDir(CommandRunnerFn runner);
// The same for a runner that says how each command ended.
CommandCaptureFn RunningInToolDir(CommandCaptureFn capture);

// Runs `step` while holding the same lock, waiting for it as a command does. For a step that
// changes where the tool is (locating it again), so that no command of another thread starts
// between its "make the tool's folder current" and the start of its child. False, with `step`
// not run, when the thread's stop signal is requested while it waits.
bool WithToolDirLocked(const std::function<void()>& step);
