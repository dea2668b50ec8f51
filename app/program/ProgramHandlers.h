#pragma once
// What Entry Keeper's main window does on its events: the settings are loaded when the window
// is created and saved when it closes, the log is pointed at the window, Start, Restore and Stop
// drive the passes (PassControl.h), and Browse opens the folder dialog.
//
// Window thread only; no handler waits for a worker thread.

#include <windows.h>

#include <memory>

#include "app/passes/PassControl.h"
#include "app/window/MainWindowHandlers.h"
#include "common/portable/Text.h"
#include "tooldriver/ToolCommands.h"

// Logged when the session ends (log-off, shut-down) while a pass runs.
inline constexpr char kSessionEndedText[] =
    "The session is ending (log-off or shut-down), so the backup or restore that was running is cut off here "
    "and did not finish.";

class ProgramHandlers : public MainWindowHandlers {
public:
    // `programFolder` holds the settings file, the manifest and the pass lock and is the default
    // backup folder; every pass shares `commands`. Without `saveSettings` the settings are read but
    // never written (a run from the command line leaves them as the user left them). `openLock`
    // opens the pass lock's file (PassLock.h).
    ProgramHandlers(Text programFolder,
                    std::shared_ptr<ToolCommands> commands,
                    bool saveSettings = true,
                    LockFileOpener openLock = OpenLockFile);

    void OnCreated(HWND window) override;
    // Saves the settings and requests both passes to stop; a pass still running then ends by
    // itself or with the process.
    void OnClosing(HWND window) override;
    // While a pass runs: requests both to stop, logs kSessionEndedText (the log file too) and ends
    // the process with kExitNotDone, since the system would otherwise end it with a code that
    // says nothing of the cut-off pass. Nothing while no pass runs.
    void OnSessionEnding(HWND window) override;
    void OnStart(HWND window) override;
    void OnStop(HWND window) override;
    void OnRestore(HWND window) override;
    void OnBrowse(HWND window) override;

    // The passes, for a run from the command line that starts one and waits for its end.
    PassControl& Passes() { return passes_; }

private:
    Text programFolder_;
    bool saveSettings_;
    PassControl passes_;
};
