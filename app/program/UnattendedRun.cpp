#include "app/program/UnattendedRun.h"

#include "app/window/ControlAccess.h"
#include "app/window/PassButtons.h"
#include "app/window/portable/ControlIds.h"

UnattendedRun::UnattendedRun(const CommandLineRequest& request, PassControl& passes)
    : request_(request), passes_(passes) {}

int UnattendedRun::ShowCommand(int showCommand) const {
    return request_.RunsAPass() ? SW_SHOWMINNOACTIVE : showCommand;
}

void UnattendedRun::Begin(HWND window) {
    if (!request_.RunsAPass())
        return;
    const PassKind kind = request_.action == ProgramAction::Backup ? PassKind::Backup : PassKind::Restore;
    if (!request_.folder.empty())
        WriteControlText(window, kFolderFieldId, request_.folder);
    passes_.SetPassEndedListener([this, kind, window](PassKind ended, PassResult result) {
        if (ended != kind)
            return;
        exitCode_ = ExitCodeOf(result);
        passes_.SetPassEndedListener(nullptr);
        // Posted: the call that told of the end is still being carried out for the pass's thread.
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    const bool started = kind == PassKind::Backup ? passes_.StartBackup(window) : passes_.StartRestore(window);
    // The run ends with its own pass: a pass of the other kind, started from the minimized window,
    // would be cut off then, unseen and uncounted. Neither pass gives the other's button back while
    // it runs (a restore gives Start back as it ends, and the window is closed then).
    if (started)
        SetPassButtonEnabled(window, kind == PassKind::Backup ? kRestoreButtonId : kStartButtonId, false);
    if (!started) {
        passes_.SetPassEndedListener(nullptr);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

int UnattendedRun::ExitCode(int loopExitCode) const {
    return request_.RunsAPass() ? exitCode_ : loopExitCode;
}
