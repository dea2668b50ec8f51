#pragma once
// Start, Restore and Stop: each pass runs on a worker thread of its own, and Stop ends both.
//
// Every run gets a stop signal of its own and a window host that holds it (WindowPassHost.h);
// the pass holds the command object and its host by shared ownership, so a pass still running
// when the window closes never touches freed memory. Stop is cooperative: it requests the
// signals and returns at once; a stopped pass begins no further entry, logs nothing more and
// changes no control, and its thread ends by itself (a tool it had started runs on in its own
// process). The handle of a pass's thread is kept until the next run of that pass replaces it.
// The runs are counted in a RunningPasses: a pass does not start while another copy of the
// program runs passes on the same program folder, no backup starts while a restore runs (Start is
// disabled meanwhile), and a pass's progress shows in the title and on the taskbar button until it
// ends or is stopped.
//
// Window thread only; nothing here waits for a worker.

#include <windows.h>

#include <memory>

#include "app/passes/RunningPasses.h"
#include "common/WinHandles.h"
#include "common/portable/StopSignal.h"
#include "common/portable/Text.h"
#include "tooldriver/ToolCommands.h"
#include "workers/portable/PassKind.h"

// Logged by Stop, one line for each pass it stopped: what the stopped pass left behind.
inline constexpr char kStopBackupText[] =
    "Backup stopped. The list of backups was not changed; entries backed up before the stop already have new "
    "backup files.";
inline constexpr char kStopRestoreText[] =
    "Restore stopped. The entries before the stop were restored (the tool may still finish the one it was "
    "writing); the rest were left as they were.";
// Logged by Stop instead of kStopBackupText when the backup had not finished its first entry (the
// tool may still have been listing its entries).
inline constexpr char kStopBackupBeforeAnyText[] =
    "Backup stopped before any entry was backed up. The list of backups and the backup files were not changed.";
// Logged by Stop when no pass was running any more.
inline constexpr char kStopMessage[] = "Stop: no backup or restore was running.";
// Logged when a backup is asked for while a restore runs (the button is disabled then, but Enter in
// the folder field or another program can still ask); the backup does not start.
inline constexpr char kBackupDuringRestoreText[] =
    "A restore is running, so the backup did not start: it would copy entries the restore has not reached "
    "yet over the backup files the restore reads. Start the backup when the restore has finished.";
// Logged when no thread could be started for a pass; the buttons then stay as they were.
inline constexpr char kPassNotStartedText[] = "The pass could not be started (no thread was available).";

class PassControl {
public:
    // Every pass shares `commands`; `programFolder` is where the manifest and the pass lock live;
    // `openLock` opens the lock's file (PassLock.h).
    PassControl(std::shared_ptr<ToolCommands> commands, Text programFolder, LockFileOpener openLock = OpenLockFile);
    // Requests both passes to stop; does not wait for them.
    ~PassControl();
    PassControl(const PassControl&) = delete;
    PassControl& operator=(const PassControl&) = delete;

    // Shows the passes' progress in `window` (the title and the taskbar button); call before the
    // window is first shown.
    void ShowProgressIn(HWND window);

    // Start: a backup pass on a new thread, then StopButton enabled and StartButton disabled, in
    // that order, so the focus goes from Start to Stop (PassButtons.h).
    // The previous backup run is stopped, should its thread not have ended yet. False, with the
    // reason logged and the buttons as they were, when the pass did not start: a restore runs
    // (kBackupDuringRestoreText), another copy holds the pass lock, or no thread could be started.
    // A pass that runs without the lock (a read-only program folder) logs kPassUnlockedText first.
    bool StartBackup(HWND window);

    // Restore: a restore pass on a new thread. RestoreButton and StartButton are disabled at once;
    // the pass enables Restore again when it ends, and Start comes back when the restore's run has
    // ended (a stopped one too) and no backup runs. The previous restore run is stopped, should its
    // thread not have ended yet. False as for StartBackup.
    bool StartRestore(HWND window);

    // `listener` hears, on the window thread, of every run that has ended, with what its pass
    // gave back.
    void SetPassEndedListener(PassEndedFn listener);

    // Stop: requests both passes to stop, logs what each running pass left behind (kStopBackupText,
    // kStopRestoreText; kStopMessage when neither still ran), enables StartButton and disables
    // StopButton (the focus on Stop goes back to Start). A restore pass that was still running is
    // ended too, and RestoreButton is then enabled again, since the stopped pass no longer does
    // that itself; StartButton then waits for the stopped restore's thread to end (its tool may
    // still be writing an entry).
    void Stop(HWND window);

    // Requests both passes to stop, touching no control (the window is closing).
    void RequestStopAll();

    // True while a run of either pass has not ended, a stopped one still tidying up included.
    bool AnyRunning() const { return runs_->AnyRunning(); }

private:
    struct PassRun {
        UniqueHandle thread;
        StopSignalPtr signal;
    };

    bool IsBusy(const PassRun& run) const;
    // A run of `kind` has ended (on the window thread): Start comes back after a restore, and the
    // listener hears of it.
    void RunEnded(PassKind kind, PassResult result);
    // A run of `kind` on a new thread: its thread, or an empty handle (and the reason logged).
    template <typename Worker>
    UniqueHandle StartRun(Worker worker, PassKind kind, HWND window, const StopSignalPtr& signal);
    // Makes `thread` and `signal` the current run of the pass `run` stands for.
    void Replace(PassRun& run, UniqueHandle thread, StopSignalPtr signal);

    std::shared_ptr<ToolCommands> commands_;
    Text programFolder_;
    std::shared_ptr<RunningPasses> runs_;
    PassEndedFn passEnded_;
    HWND window_ = nullptr;  // the window of the last pass started
    PassRun backup_;
    PassRun restore_;
};
