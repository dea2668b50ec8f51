#pragma once
// Running code on the thread that owns a window. This is how worker threads reach the controls:
// the window thread carries out the call while the worker waits, and the window thread itself
// never waits for a worker, so the two can never block each other.

#include <windows.h>

#include <functional>

// Runs `fn` on the thread that owns `window` and returns when it has run.
// On that thread, `fn` is called directly. From another thread, kMsgRunOnWindowThread is sent to
// `window` and the caller waits; the window thread serves it from its message loop and from
// every pumping wait or modal loop it is in.
// Returns true when `fn` ran. Returns false, without running `fn`, when `window` does not exist,
// belongs to another process, is destroyed before its thread comes to the call, or does not serve
// the message. `fn` must not throw. Any thread.
bool RunOnWindowThread(HWND window, const std::function<void()>& fn);

// For the window procedure of a window that serves RunOnWindowThread: carries out the call whose
// kMsgRunOnWindowThread carries `lParam`, and returns what the window procedure must return.
// A message that does not come from a waiting RunOnWindowThread of this process (for instance
// one sent by another program) is ignored. Window thread only.
LRESULT CarryOutWindowThreadCall(LPARAM lParam);

// Lets every call still waiting for this thread fail once its window is gone: a thread that
// destroyed its last window calls this so that no caller is left waiting for a thread that will
// not read messages again. Window thread only.
void ReleaseWaitingWindowThreadCalls();
