#pragma once
// What the main window shows of its running passes outside the log: the title ("Entry Keeper -
// backing up 12/50") and the progress bar on its taskbar button (ProgressFigures.h,
// TaskbarProgress.h). Both return to normal when no pass shows progress any more.
//
// Attached to the window before it is first shown, it follows the window's messages (to learn
// when the taskbar button exists) and lets go of the window, and of the taskbar interface, when the
// window is destroyed; from then on its calls do nothing. It is shared (shared_ptr) between the
// window and the hosts of the passes, and may be released on any thread, but its members may be
// called on the window thread only (a worker reaches them through RunOnWindowThread).

#include <windows.h>

#include <memory>

#include "app/passes/TaskbarProgress.h"
#include "app/passes/portable/ProgressFigures.h"
#include "workers/portable/PassKind.h"

class WindowProgress {
public:
    // Follows `window` from now on. Window thread.
    static std::shared_ptr<WindowProgress> Attach(HWND window);
    WindowProgress(const WindowProgress&) = delete;
    WindowProgress& operator=(const WindowProgress&) = delete;

    // The pass of `kind` is at `position` of `total`.
    void Show(PassKind kind, int position, int total);
    // The pass of `kind` shows no progress any more.
    void Clear(PassKind kind);
    void ClearAll();

private:
    explicit WindowProgress(HWND window) : window_(window) {}
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    void Update();

    HWND window_;  // null once the window is gone
    PassesShown shown_;
    TaskbarProgress taskbar_;
};
