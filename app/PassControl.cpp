#include "app/PassControl.h"

#include <utility>

#include "app/ControlIds.h"
#include "app/Log.h"
#include "app/PassButtons.h"
#include "app/PassThread.h"
#include "app/WindowPassHost.h"
#include "workers/BackupWorker.h"
#include "workers/RestoreWorker.h"

namespace {

// A new run's host and the thread that runs `worker` with it; an empty thread when none started.
template <typename Worker>
UniqueHandle StartRun(Worker worker, const std::shared_ptr<ToolCommands>& commands, HWND window,
                      const StopSignalPtr& signal, const Text& programFolder) {
    PassHostPtr host = std::make_shared<WindowPassHost>(window, signal, programFolder);
    return StartPassThread([worker, commands, host] { worker(commands, host); });
}

}  // namespace

PassControl::PassControl(std::shared_ptr<ToolCommands> commands, Text programFolder)
    : commands_(std::move(commands)), programFolder_(std::move(programFolder)) {}

PassControl::~PassControl() {
    RequestStopAll();
}

bool PassControl::IsBusy(const PassRun& run) const {
    return IsThreadRunning(run.thread) && run.signal && !run.signal->Requested();
}

void PassControl::StartBackup(HWND window) {
    auto signal = std::make_shared<StopSignal>();
    UniqueHandle thread = StartRun(&BackupWorker, commands_, window, signal, programFolder_);
    if (!thread) {
        AppendLog(window, kPassNotStartedText);
        return;
    }
    Replace(backup_, std::move(thread), std::move(signal));
    // Stop first: a keyboard user's focus then moves from Start to Stop, never on to Restore.
    SetPassButtonEnabled(window, kStopButtonId, true);
    SetPassButtonEnabled(window, kStartButtonId, false);
}

void PassControl::StartRestore(HWND window) {
    auto signal = std::make_shared<StopSignal>();
    UniqueHandle thread = StartRun(&RestoreWorker, commands_, window, signal, programFolder_);
    if (!thread) {
        AppendLog(window, kPassNotStartedText);
        return;
    }
    Replace(restore_, std::move(thread), std::move(signal));
    // A second click before the pass disables the button itself would start a second pass.
    SetPassButtonEnabled(window, kRestoreButtonId, false);
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
    RequestStopAll();
    if (backupWasRunning)
        AppendLog(window, kStopBackupText);
    if (restoreWasRunning)
        AppendLog(window, kStopRestoreText);
    if (!backupWasRunning && !restoreWasRunning)
        AppendLog(window, kStopMessage);
    SetPassButtonEnabled(window, kStartButtonId, true);
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
