#include "app/passes/WindowPassHost.h"

#include <utility>

#include "app/log/Log.h"
#include "app/window/ControlAccess.h"
#include "app/window/PassButtons.h"
#include "app/window/WindowThreadCall.h"
#include "app/window/portable/ControlIds.h"
#include "common/PumpingWait.h"

namespace {

int ButtonId(PassButton button) {
    switch (button) {
        case PassButton::Start:
            return kStartButtonId;
        case PassButton::Stop:
            return kStopButtonId;
        case PassButton::Restore:
            return kRestoreButtonId;
    }
    return 0;
}

}  // namespace

WindowPassHost::WindowPassHost(HWND window, StopSignalPtr signal, Text programFolder, PassKind kind,
                               std::shared_ptr<RunningPasses> runs)
    : window_(window),
      signal_(std::move(signal)),
      programFolder_(std::move(programFolder)),
      kind_(kind),
      runs_(std::move(runs)) {}

Text WindowPassHost::FolderField() {
    return ReadControlText(window_, kFolderFieldId);
}

void WindowPassHost::AppendLog(const Text& message) {
    // The time stamp costs a script engine: made here, it never holds up the window.
    const LogLine line = MakeLogLine(message);
    bool inserted = false;
    // On the window thread, the Stop handler and this check cannot interleave.
    RunOnWindowThread(window_, [&] {
        if (!signal_->Requested())
            inserted = InsertLogLine(window_, line);
    });
    if (inserted)
        RecordLogLine(window_, line);
}

void WindowPassHost::SetButtonEnabled(PassButton button, bool enabled) {
    RunOnWindowThread(window_, [&] {
        if (signal_->Requested())
            return;
        // A backup that ends during a restore leaves Start disabled; the restore's end gives it back.
        if (button == PassButton::Start && enabled && runs_ && !runs_->BackupMayStart())
            return;
        SetPassButtonEnabled(window_, ButtonId(button), enabled);
    });
}

void WindowPassHost::ShowProgress(int position, int total) {
    if (!runs_)
        return;
    RunOnWindowThread(window_, [&] {
        if (!signal_->Requested())
            runs_->ShowProgress(kind_, position, total);
    });
}

void WindowPassHost::Pause(int milliseconds) {
    PumpingWait(milliseconds);
}

Text WindowPassHost::ProgramFolder() {
    return programFolder_;
}

StopSignalPtr WindowPassHost::PassStopSignal() {
    return signal_;
}

void WindowPassHost::HoldUntilEnded(std::shared_ptr<const RunningProcess> tool) {
    heldTool_ = std::move(tool);
    // The window keeps the lock until the tool ends (PassEnded); the tool holds it too, for when
    // this program ends first (the window closed, or a command-line run that exits at once).
    if (heldTool_ && runs_)
        RunOnWindowThread(window_, [&] { runs_->KeepLockWhile(*heldTool_); });
}

void WindowPassHost::PassEnded(PassResult result) {
    if (!runs_)
        return;
    if (!heldTool_) {
        RunOnWindowThread(window_, [&] { runs_->End(kind_, result, signal_->Requested()); });
        return;
    }
    // The tool left running writes its own store: a second restore must not start meanwhile, from
    // this window or another copy. The pass's signal is requested so that it counts as over for
    // Stop (which would otherwise give Restore back) and changes nothing more.
    const bool stopped = signal_->Requested();
    signal_->Request();
    RunOnWindowThread(window_, [&] { runs_->End(kind_, result, stopped, /*keepCounted=*/true); });
    heldTool_->WaitForEnd(-1);
    RunOnWindowThread(window_, [&] {
        runs_->ReleaseKept(kind_);
        SetPassButtonEnabled(window_, kRestoreButtonId, true);
        // Start stayed disabled while the tool wrote its store; a running backup gives it back itself.
        if (runs_->BackupMayStart() && !runs_->Running(PassKind::Backup))
            SetPassButtonEnabled(window_, kStartButtonId, true);
    });
}
