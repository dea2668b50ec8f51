#pragma once
// Sizes in device-independent pixels (1/96 inch) turned into pixels for a window's DPI, and the
// system's message font at that DPI.

#include <windows.h>

#include "common/GdiOwners.h"

inline constexpr int kDefaultDpi = 96;

// `dips` device-independent pixels in pixels at `dpi` (rounded to nearest). Pure.
int ScaleToDpi(int dips, int dpi);

// The DPI the system runs at (the primary screen's). Any thread.
int SystemDpi();

// The DPI of the monitor `window` is on where the system tells it per window (Windows 10 and
// later), else the system's. Any thread.
int WindowDpi(HWND window);

// A new font like the system's message font (the one dialogs use), sized for `dpi`. Empty when
// the system gives no metrics. Any thread; the caller owns the font.
UniqueGdiObject CreateMessageFont(int dpi);
