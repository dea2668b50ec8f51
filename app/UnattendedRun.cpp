#include "app/UnattendedRun.h"

#include "app/ControlAccess.h"
#include "app/ControlIds.h"
#include "app/PassButtons.h"

int ShowUsage(const CommandLineRequest& request) {
    const Text text = request.problem.empty() ? Text(kUsageText) : request.problem + "\r\n\r\n" + kUsageText;
    MessageBoxA(nullptr, text.c_str(), kUsageTitle,
                MB_OK | MB_SETFOREGROUND | (request.problem.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
    return kExitNotDone;
}

namespace {

Text FullPath(const Text& path) {
    if (path.empty())
        return path;
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? Text(full, length) : path;
}

}  // namespace

CommandLineRequest WithFullPaths(CommandLineRequest request) {
    request.folder = FullPath(request.folder);
    request.logFile = FullPath(request.logFile);
    return request;
}

ScopedRunLogFile::ScopedRunLogFile(const CommandLineRequest& request) {
    if (!request.logFile.empty())
        SetRunLogFile(std::make_shared<LogFile>(request.logFile));
}

ScopedRunLogFile::~ScopedRunLogFile() {
    SetRunLogFile(nullptr);
}

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
    // would be cut off then, unseen and uncounted. Neither pass gives the other's button back.
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
