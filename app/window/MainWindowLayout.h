#pragma once
// Where the main window's controls go for a given client size: the folder row, the option row
// and the button row at the top, the log filling the rest. Pure; any thread.

#include <windows.h>

#include <array>

// Sizes the layout works from, in pixels for the window's DPI and font.
struct MainWindowMetrics {
    int margin = 0;                        // around the client area
    int gap = 0;                           // between neighbouring controls
    int rowHeight = 0;                     // one row of edit boxes and buttons
    int lineHeight = 0;                    // one line of text (the label above the log)
    int labelWidth = 0;                    // the widest label in front of a row
    int logLabelWidth = 0;                 // the label above the log
    int buttonWidth = 0;                   // every push button
    std::array<int, 3> optionWidths = {};  // the three option buttons, with their circles
    int minFieldWidth = 0;                 // the folder field never gets narrower
    int minLogHeight = 0;                  // the log never gets lower
};

struct MainWindowLayout {
    RECT folderLabel;
    RECT folderField;
    RECT browseButton;
    RECT optionLabel;
    std::array<RECT, 3> optionButtons;
    RECT startButton;
    RECT stopButton;
    RECT restoreButton;
    RECT logLabel;
    RECT logBox;
};

// The smallest client area in which every control has its full size.
SIZE MinimumClientSize(const MainWindowMetrics& metrics);

// The controls' places in a client area of the given size. A client area below the minimum is
// laid out as the minimum (the window clips what does not fit).
MainWindowLayout LayOutMainWindow(const MainWindowMetrics& metrics, int clientWidth, int clientHeight);
