#pragma once
// The main window as a pass sees it (PassHost): the folder field, the log, the buttons, a
// message-pumping pause, the program's folder and the pass's own stop signal. Buttons change as
// PassButtons.h says, so a disabled button hands the keyboard focus on.
//
// Once the pass's signal has been requested the host refuses to log or to change a button. The
// check is made on the window thread, in the same step as the change itself, so nothing a pass
// does can land after the Stop click that stopped it, however the pass's own checks interleave
// with the click.
//
// Threads: the pass's worker thread; every control access is carried out on the window thread
// while the worker waits. Once the window is gone, reads give empty text and changes do nothing.

#include <windows.h>

#include "common/StopSignal.h"
#include "common/Text.h"
#include "workers/PassHost.h"

class WindowPassHost : public PassHost {
public:
    // `signal` must not be null; it is this pass's alone.
    WindowPassHost(HWND window, StopSignalPtr signal, Text programFolder);

    Text FolderField() override;
    void AppendLog(const Text& message) override;
    void SetButtonEnabled(PassButton button, bool enabled) override;
    void Pause(int milliseconds) override;
    Text ProgramFolder() override;
    StopSignalPtr PassStopSignal() override;

private:
    HWND window_;
    StopSignalPtr signal_;
    Text programFolder_;
};
