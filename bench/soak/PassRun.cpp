#include "bench/soak/PassRun.h"

#include "app/window/portable/ControlIds.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kPassStartTimeoutMs = 10000;
// A clean pass of a few entries takes seconds; this leaves room for a machine under load.
constexpr DWORD kCleanPassTimeoutMs = 180000;

Text PassSwitch(Pass pass) {
    return pass == Pass::Backup ? "/backup" : "/restore";
}

}  // namespace

bool PassRun::StartFromCommandLine() {
    launchedAt_ = askedAt_ = GetTickCount();
    return program_.Launch(programFolder_, PassSwitch(pass_) + " /log:\"" + logFile_ + "\"");
}

bool PassRun::StartInWindow() {
    inWindow_ = true;
    launchedAt_ = GetTickCount();
    if (!program_.Launch(programFolder_, "/log:\"" + logFile_ + "\"") || !program_.WaitForWindow(kWindowTimeoutMs))
        return false;
    if (!WaitUntil([this] { return program_.IsEnabled(ButtonId()); }, kWindowTimeoutMs) || !program_.Click(ButtonId()))
        return false;
    askedAt_ = GetTickCount();
    return WaitUntil([this] { return !program_.IsEnabled(ButtonId()) || program_.HasExited(); }, kPassStartTimeoutMs) &&
           !program_.HasExited();
}

int PassRun::ButtonId() const {
    return pass_ == Pass::Backup ? kStartButtonId : kRestoreButtonId;
}

bool PassRun::PassRuns() const {
    if (program_.HasExited())
        return false;
    return !inWindow_ || !program_.IsEnabled(ButtonId());
}

std::optional<DWORD> PassRun::WaitForExit(DWORD timeoutMs) {
    if (!program_.WaitForExit(timeoutMs))
        return std::nullopt;
    return program_.ExitCode();
}

Text PassRun::LastLogLine() const {
    const TextArray lines = SplitText(ReadWholeFile(logFile_), "\r\n");
    return lines.empty() ? Text("(the run logged nothing)") : lines.back();
}

std::optional<DWORD> RunCleanPass(const Text& programFolder, Pass pass, const Text& logFile, DWORD* elapsedMs) {
    PassRun run(programFolder, pass, logFile);
    const DWORD start = GetTickCount();
    if (!run.StartFromCommandLine())
        return std::nullopt;
    const std::optional<DWORD> code = run.WaitForExit(kCleanPassTimeoutMs);
    *elapsedMs = GetTickCount() - start;
    return code;
}
