#pragma once
// Every private window message of the program, in one place so that no two collide.

#include <windows.h>

// Carries out a call on the window thread for another thread (WindowThreadCall.h).
// wParam: 0; lParam: the call's WindowThreadCall*. The window procedure hands it to
// CarryOutWindowThreadCall and returns what that returns.
inline constexpr UINT kMsgRunOnWindowThread = WM_APP + 1;

// Gives the default-button look to the push button that Enter presses now (MainWindow). Posted
// by the window to itself when the focus moves, so that it comes after the dialog manager's own
// restyling of the buttons. wParam, lParam: 0.
inline constexpr UINT kMsgShowDefaultButton = WM_APP + 2;
