#pragma once
// Start, Stop and Restore as the passes change them: a button that is disabled while it has the
// keyboard focus hands the focus on first, to the button a keyboard user wants next, so that a
// second key press never lands on a button the user did not mean:
//   Start -> Stop   (a backup began: Space again stops it, it does not start a restore)
//   Stop  -> Start  (the backup ended or was stopped)
// when that button is enabled; otherwise, and for Restore, to the next control in the tab order
// (ControlAccess.h). A button disabled while the window is in the background hands on the focus
// the window gives back when it is activated again (FocusHeir, MainWindow).
//
// Window thread only.

#include <windows.h>

// Enables or disables the push button `buttonId` of the main window `window`.
void SetPassButtonEnabled(HWND window, int buttonId, bool enabled);

// The button that takes the focus in place of `control`, a disabled one (above), when the focus
// comes back to the window; null when it has none, or none that is enabled.
HWND FocusHeir(HWND window, HWND control);
