#pragma once
// The main window as a pass sees it (PassHost): the folder field, the log, the buttons, a
// message-pumping pause, the program's folder and the pass's own stop signal. Buttons change as
// PassButtons.h says, so a disabled button hands the keyboard focus on.
//
// While a restore runs, the host leaves Start disabled when a pass asks to enable it (a backup
// that ends during a restore); the restore's end gives it back (PassControl.h).
//
// Once the pass's signal has been requested the host refuses to log or to change a button. The
// check is made on the window thread, in the same step as the change itself, so nothing a pass
// does can land after the Stop click that stopped it, however the pass's own checks interleave
// with the click.
//
// A log line is made whole on the pass's thread, its time stamp included (the costly part); the
// window thread only inserts the finished line.
//
// Threads: the pass's worker thread; every control access is carried out on the window thread
// while the worker waits. Once the window is gone, reads give empty text and changes do nothing.

#include <windows.h>

#include <memory>

#include "app/passes/RunningPasses.h"
#include "common/portable/StopSignal.h"
#include "common/portable/Text.h"
#include "workers/PassHost.h"
#include "workers/portable/PassKind.h"
#include "workers/portable/PassResult.h"

class WindowPassHost : public PassHost {
public:
    // `signal` must not be null; it is this pass's alone. The pass is a `kind` pass, counted in
    // `runs`, where its progress shows; without `runs` it shows no progress.
    WindowPassHost(HWND window, StopSignalPtr signal, Text programFolder, PassKind kind = PassKind::Backup,
                   std::shared_ptr<RunningPasses> runs = nullptr);

    Text FolderField() override;
    void AppendLog(const Text& message) override;
    void SetButtonEnabled(PassButton button, bool enabled) override;
    void ShowProgress(int position, int total) override;
    void Pause(int milliseconds) override;
    Text ProgramFolder() override;
    StopSignalPtr PassStopSignal() override;

    // The tool process is held on to: see PassEnded.
    void HoldUntilEnded(std::shared_ptr<const RunningProcess> tool) override;

    // The pass has returned `result`: its run ends in `runs` (RunningPasses::End). Called last
    // by the pass's thread. When the pass left a tool process running (HoldUntilEnded), the end
    // is told at once (a run from the command line ends with it), the pass logs and changes
    // nothing more, but its run stays counted, holding the pass lock, and RestoreButton stays
    // disabled until that process has ended; the pass's thread waits for it meanwhile.
    void PassEnded(PassResult result);

private:
    HWND window_;
    StopSignalPtr signal_;
    Text programFolder_;
    PassKind kind_;
    std::shared_ptr<RunningPasses> runs_;
    std::shared_ptr<const RunningProcess> heldTool_;
};
