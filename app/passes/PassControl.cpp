#include "app/passes/PassControl.h"

#include <utility>

#include "app/log/Log.h"
#include "app/passes/PassThread.h"
#include "app/passes/WindowPassHost.h"
#include "app/window/PassButtons.h"
#include "app/window/portable/ControlIds.h"
#include "workers/BackupWorker.h"
#include "workers/RestoreWorker.h"

PassControl::PassControl(std::shared_ptr<ToolCommands> commands, Text programFolder, LockFileOpener openLock)
    : commands_(std::move(commands)),
      programFolder_(std::move(programFolder)),
      runs_(std::make_shared<RunningPasses>(programFolder_, std::move(openLock))) {
    runs_->SetEndedListener([this](PassKind kind, PassResult result) { RunEnded(kind, result); });
}

PassControl::~PassControl() {
    // The hosts of passes still running share `runs_`; from now on their ends reach no one.
    runs_->SetEndedListener(nullptr);
    RequestStopAll();
}

bool PassControl::IsBusy(const PassRun& run) const {
    return IsThreadRunning(run.thread) && run.signal && !run.signal->Requested();
}

void PassControl::ShowProgressIn(HWND window) {
    runs_->ShowProgressIn(window);
}

void PassControl::SetPassEndedListener(PassEndedFn listener) {
    passEnded_ = std::move(listener);
}

void PassControl::RunEnded(PassKind kind, PassResult result) {
    // A backup that ended meanwhile left Start as it was (WindowPassHost.h); a running one gives
    // it back itself when it ends.
    if (kind == PassKind::Restore && window_ && runs_->BackupMayStart() && !IsBusy(backup_))
        SetPassButtonEnabled(window_, kStartButtonId, true);
    // Copied first: the listener may replace itself.
    if (PassEndedFn listener = passEnded_)
        listener(kind, result);
}

template <typename Worker>
UniqueHandle PassControl::StartRun(Worker worker, PassKind kind, HWND window, const StopSignalPtr& signal) {
    window_ = window;
    switch (runs_->Begin(kind)) {
        case PassLockResult::HeldElsewhere:
            AppendLog(window, kPassLockedText);
            return UniqueHandle();
        case PassLockResult::FolderNotWritable:
            AppendLog(window, kPassUnlockedText);
            break;
        case PassLockResult::Held:
            break;
    }
    auto host = std::make_shared<WindowPassHost>(window, signal, programFolder_, kind, runs_);
    UniqueHandle thread = StartPassThread(
        [worker, commands = commands_, host] { host->PassEnded(worker(commands, host)); });
    if (!thread) {
        runs_->Abandon(kind);
        AppendLog(window, kPassNotStartedText);
    }
    return thread;
}

bool PassControl::StartBackup(HWND window) {
    if (!runs_->BackupMayStart()) {
        AppendLog(window, kBackupDuringRestoreText);
        return false;
    }
    auto signal = std::make_shared<StopSignal>();
    UniqueHandle thread = StartRun(&BackupWorker, PassKind::Backup, window, signal);
    if (!thread)
        return false;
    Replace(backup_, std::move(thread), std::move(signal));
    runs_->ClearProgress(PassKind::Backup);
    // Stop first: a keyboard user's focus then moves from Start to Stop, never on to Restore.
    SetPassButtonEnabled(window, kStopButtonId, true);
    SetPassButtonEnabled(window, kStartButtonId, false);
    return true;
}

bool PassControl::StartRestore(HWND window) {
    auto signal = std::make_shared<StopSignal>();
    UniqueHandle thread = StartRun(&RestoreWorker, PassKind::Restore, window, signal);
    if (!thread)
        return false;
    Replace(restore_, std::move(thread), std::move(signal));
    runs_->ClearProgress(PassKind::Restore);
    // A second click before the pass disables the button itself would start a second pass.
    SetPassButtonEnabled(window, kRestoreButtonId, false);
    // No backup while the restore runs (RunningPasses.h); RunEnded gives Start back.
    SetPassButtonEnabled(window, kStartButtonId, false);
    return true;
}

void PassControl::Replace(PassRun& run, UniqueHandle thread, StopSignalPtr signal) {
    // The earlier run of the same pass has given its button back, so all it may still do is its
    // last steps; stopped, it can no longer undo the new run's buttons with them (its closing
    // "disable Stop" would otherwise land after the new run's "enable Stop").
    if (run.signal)
        run.signal->Request();
    // The earlier run's handle is closed here.
    run = {std::move(thread), std::move(signal)};
}

void PassControl::Stop(HWND window) {
    const bool backupWasRunning = IsBusy(backup_);
    const bool restoreWasRunning = IsBusy(restore_);
    // Before its second entry no backup of this pass has replaced a file yet.
    const bool backupReplacedAny = runs_->Position(PassKind::Backup) > 1;
    RequestStopAll();
    runs_->ClearAllProgress();
    if (backupWasRunning)
        AppendLog(window, backupReplacedAny ? kStopBackupText : kStopBackupBeforeAnyText);
    if (restoreWasRunning)
        AppendLog(window, kStopRestoreText);
    if (!backupWasRunning && !restoreWasRunning)
        AppendLog(window, kStopMessage);
    // A stopped restore still counts until its thread has ended; RunEnded gives Start back then.
    SetPassButtonEnabled(window, kStartButtonId, runs_->BackupMayStart());
    SetPassButtonEnabled(window, kStopButtonId, false);
    if (restoreWasRunning)
        SetPassButtonEnabled(window, kRestoreButtonId, true);
}

void PassControl::RequestStopAll() {
    for (PassRun* run : {&backup_, &restore_}) {
        if (run->signal)
            run->signal->Request();
    }
}
