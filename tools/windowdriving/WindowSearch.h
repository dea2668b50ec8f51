#pragma once
// Finding a top-level window of another program as a user or an outside tool sees it: visible,
// and matched by its process, window class and title. Any thread; the system keeps a top-level
// window's title, so reading it never waits for the window's program.

#include <windows.h>

#include <optional>

#include "common/portable/Text.h"

struct WindowMatch {
    DWORD processId = 0;              // 0: any process
    Text className;                   // empty: any class
    std::optional<Text> title;        // none: any title
};

// The first visible top-level window that matches, or null.
HWND FindVisibleWindow(const WindowMatch& match);

// The class name and the title of `window` (empty when it has none or is gone).
Text ClassOf(HWND window);
Text TitleOf(HWND window);
