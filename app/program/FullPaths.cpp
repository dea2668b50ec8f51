#include "app/program/FullPaths.h"

#include <windows.h>

#include "app/passes/PassLock.h"
#include "app/program/ComparablePath.h"
#include "app/program/Settings.h"
#include "workers/portable/ManifestText.h"

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
