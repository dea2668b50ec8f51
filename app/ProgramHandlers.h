#pragma once
// What Entry Keeper's main window does on its events: the settings are loaded when the window
// is created and saved when it closes, the log is pointed at the window, and Browse opens the
// folder dialog.
//
// Window thread only; no handler waits for a worker thread.

#include <windows.h>

#include "app/MainWindowHandlers.h"
#include "common/Text.h"

class ProgramHandlers : public MainWindowHandlers {
public:
    // `programFolder` holds the settings file and is the default backup folder.
    explicit ProgramHandlers(Text programFolder);

    void OnCreated(HWND window) override;
    void OnClosing(HWND window) override;
    void OnBrowse(HWND window) override;

private:
    Text programFolder_;
};
