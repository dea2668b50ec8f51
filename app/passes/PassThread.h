#pragma once
// A worker thread that runs one pass.

#include <functional>

#include "common/WinHandles.h"

// Starts a new thread that runs `body` and ends when it returns; `body` must not throw. The
// thread owns `body` and what it holds. Returns the thread's handle, or an empty handle (and
// `body` is dropped unrun) when no thread could be started. Any thread.
UniqueHandle StartPassThread(std::function<void()> body);

// True while the thread of `thread` has not ended; false for an empty handle. Does not wait.
bool IsThreadRunning(const UniqueHandle& thread);
