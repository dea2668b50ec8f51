#include "app/program/UnattendedRun.h"

#include "app/log/Log.h"
#include "app/passes/PassLock.h"
#include "app/program/ComparablePath.h"
#include "app/program/Settings.h"
#include "app/window/ControlAccess.h"
#include "app/window/PassButtons.h"
#include "app/window/portable/ControlIds.h"
#include "common/WinHandles.h"
#include "common/portable/TextOps.h"
#include "workers/portable/ManifestText.h"

namespace {

bool WriteAllTo(HANDLE handle, const Text& text) {
    DWORD written = 0;
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN &&
           WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// The usage of a run that nobody may be watching: to the standard output it inherited (a
// redirection, a pipe), else to the console it was started from, and to its /log file. A message
// box there would wait unseen for ever.
void WriteUsage(const CommandLineRequest& request, const Text& text) {
    if (!WriteAllTo(GetStdHandle(STD_OUTPUT_HANDLE), text + "\r\n") && AttachConsole(ATTACH_PARENT_PROCESS)) {
        UniqueFileHandle console(CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
        // The prompt came back when the program started: the usage begins on a line of its own.
        WriteAllTo(console.get(), "\r\n" + text + "\r\n");
        FreeConsole();
    }
    if (request.logFile.empty())
        return;
    LogFile log(request.logFile);
    for (const Text& line : SplitText(text, "\r\n")) {
        if (!line.empty())
            log.Append(MakeLogLine(line).fileLine);
    }
}

}  // namespace

int ShowUsage(const CommandLineRequest& request) {
    const Text text = request.problem.empty() ? Text(kUsageText) : request.problem + "\r\n\r\n" + kUsageText;
    if (request.passSwitchGiven) {
        WriteUsage(request, text);
        return kExitNotDone;
    }
    MessageBoxA(nullptr, text.c_str(), kUsageTitle,
                MB_OK | MB_SETFOREGROUND | (request.problem.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
    return kExitNotDone;
}

namespace {

// `path` made full against the current directory, however long; empty when the system cannot.
Text FullPath(const Text& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return Text();
    Text full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return Text();
    full.resize(length);
    return full;
}

// `request` refused with `problem`; a usage request keeps its own. The log file stays only when it
// can take the usage (it is full and not one of the program's own files).
CommandLineRequest Refused(CommandLineRequest request, const Text& problem, bool logFileUsable) {
    if (request.action != ProgramAction::Usage)
        request.problem = problem;
    request.action = ProgramAction::Usage;
    if (!logFileUsable)
        request.logFile.clear();
    return request;
}

}  // namespace

CommandLineRequest WithFullPaths(CommandLineRequest request, const Text& programFolder) {
    // Never the relative text as it stands: every tool command changes the current directory, so
    // it would count from the tool's folder later.
    // The log file first: a usage for a later problem still goes there.
    for (Text* path : {&request.logFile, &request.folder}) {
        if (path->empty())
            continue;
        const Text full = FullPath(*path);
        if (full.empty())
            return Refused(request, kPathNotFullText + *path, path != &request.logFile);
        *path = full;
    }
    // Log lines appended to the list of backups or the settings would damage them; a log file held
    // as the pass lock would keep the run's own passes from starting.
    if (!request.logFile.empty() && (IsSamePath(request.logFile, ManifestPath(programFolder)) ||
                                     IsSamePath(request.logFile, programFolder + kSettingsFileName) ||
                                     IsSamePath(request.logFile, PassLockPath(programFolder))))
        return Refused(request, kLogOntoOwnFileText + request.logFile, false);
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
