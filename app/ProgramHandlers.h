#pragma once
// What Entry Keeper's main window does on its events: the settings are loaded when the window
// is created and saved when it closes, the log is pointed at the window, Start, Restore and Stop
// drive the passes (PassControl.h), and Browse opens the folder dialog.
//
// Window thread only; no handler waits for a worker thread.

#include <windows.h>

#include <memory>

#include "app/MainWindowHandlers.h"
#include "app/PassControl.h"
#include "common/Text.h"
#include "tooldriver/ToolCommands.h"

class ProgramHandlers : public MainWindowHandlers {
public:
    // `programFolder` holds the settings file and the manifest and is the default backup folder;
    // every pass shares `commands`.
    ProgramHandlers(Text programFolder, std::shared_ptr<ToolCommands> commands);

    void OnCreated(HWND window) override;
    // Saves the settings and requests both passes to stop; a pass still running then ends by
    // itself or with the process.
    void OnClosing(HWND window) override;
    void OnStart(HWND window) override;
    void OnStop(HWND window) override;
    void OnRestore(HWND window) override;
    void OnBrowse(HWND window) override;

private:
    Text programFolder_;
    PassControl passes_;
};
