#pragma once
// The progress bar on a window's taskbar button, through the shell's taskbar list interface
// (ITaskbarList3). The interface may be used only once the shell has made the window's button;
// the shell says so with the registered message TaskbarButtonCreatedMessage() (again after the
// shell restarts). Where the shell has no such interface, nothing is shown and nothing fails.
//
// Owns one interface pointer. Window thread only (COM initialised there, as start-up does).

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

#include "common/ComOwners.h"

// The registered message the shell sends a top-level window once its taskbar button exists.
UINT TaskbarButtonCreatedMessage();

class TaskbarProgress {
public:
    TaskbarProgress() = default;
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // Lets the shell's message reach `window` even when this program runs with higher rights than
    // the shell. Call before the window is first shown.
    static void AllowButtonCreatedMessage(HWND window);

    // The button of `window` exists (now or anew): creates the interface if it is not there yet.
    // False when the shell has none.
    bool ButtonCreated();

    // Shows `done` of `total` on the button of `window`, or no progress at all when `total` is 0.
    // Nothing before ButtonCreated succeeded.
    void Show(HWND window, uint64_t done, uint64_t total);

    // Releases the interface (the window is going).
    void Release();

private:
    ComPtr<ITaskbarList3> list_;
};
