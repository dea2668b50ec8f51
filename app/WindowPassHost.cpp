#include "app/WindowPassHost.h"

#include <utility>

#include "app/ControlAccess.h"
#include "app/ControlIds.h"
#include "app/Log.h"
#include "app/PassButtons.h"
#include "app/WindowThreadCall.h"
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

void WindowPassHost::PassEnded(PassResult result) {
    if (!runs_)
        return;
    RunOnWindowThread(window_, [&] { runs_->End(kind_, result, signal_->Requested()); });
}
