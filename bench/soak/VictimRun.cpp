#include "bench/soak/VictimRun.h"

#include <algorithm>
#include <cstdio>

#include "bench/soak/PassRun.h"
#include "bench/soak/ProcessKill.h"
#include "bench/soak/ToolCommandWatch.h"
#include "common/portable/TextOps.h"
#include "tests/support/ProcessList.h"
#include "tests/support/TestPaths.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"
#include "tools/entryctl/ToolFolder.h"
#include "workers/portable/PassTexts.h"

namespace {

// Each backup answers this late after writing its file (slow), and each listed entry this late. The
// kill falls within that pause, or for a listing before the last entry's pause ends (the soak sees a
// command some milliseconds after it came).
constexpr int kSlowBackupMs = 250;
constexpr int kSlowListLineMs = 150;
// A tool caught writing (backup-torn) hangs after half the file; the kill falls within this time.
constexpr DWORD kTornWindowMs = 300;
constexpr DWORD kTornFileTimeoutMs = 2000;
// How long the soak waits for the command to be ended to come, and for a run to end after a kill
// of its tool (a run that takes longer counts as one that never ends).
constexpr DWORD kCommandTimeoutMs = 120000;
constexpr DWORD kRunEndTimeoutMs = 180000;
// What a killed program left running may go on this long before it is ended.
constexpr DWORD kOrphanGraceMs = 5000;
constexpr DWORD kPollMs = 5;

Text ExitCodeText(DWORD code) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(code));
    return text;
}

class VictimRunner {
  public:
    VictimRunner(const KillPlan& plan, const VictimSetting& setting)
        : plan_(plan),
          setting_(setting),
          run_(setting.programFolder, plan.pass, setting.logFile),
          tool_(setting.toolFolder + "\\" + kToolExeName, setting.toolFolder + "\\" + entryctl::kJournalFile) {}

    VictimOutcome Run() {
        DeleteFileA((setting_.toolFolder + "\\" + entryctl::kJournalFile).c_str());
        SetFaults(FirstFaults());
        const bool started = plan_.victim == Victim::ProgramInPass && plan_.throughWindow ? run_.StartInWindow()
                                                                                          : run_.StartFromCommandLine();
        if (!started) {
            outcome_.account = "the program did not start, or in its window the pass did not start when clicked";
            outcome_.findings.push_back(outcome_.account);
        } else if (plan_.victim == Victim::ToolInBackup || plan_.victim == Victim::ToolInListing) {
            KillToolRun();
        } else {
            KillProgram();
        }
        SetFaults("");
        EndLeftovers();
        return outcome_;
    }

  private:
    Text FirstFaults() const {
        switch (plan_.victim) {
            case Victim::ToolInBackup:
                // Before a backup to be caught writing, the backups run slowly, so there is time to
                // switch the fault on for it alone.
                return plan_.torn && plan_.command == 1 ? Text("backup-torn\r\n")
                                                        : "slow " + IntToText(kSlowBackupMs) + "\r\nonly backup\r\n";
            case Victim::ToolInListing:
                return "slow " + IntToText(kSlowListLineMs) + "\r\nonly list\r\n";
            default:
                return Text();
        }
    }

    void SetFaults(const Text& lines) const {
        WriteWholeFile(setting_.toolFolder + "\\" + entryctl::kFaultsFile, lines);
    }

    // Sleeps until `due` (a GetTickCount value) while `keepWaiting` holds; false when it stopped holding.
    static bool SleepUntil(DWORD due, const std::function<bool()>& keepWaiting) {
        while (static_cast<LONG>(GetTickCount() - due) < 0) {
            if (!keepWaiting())
                return false;
            Sleep(kPollMs);
        }
        return keepWaiting();
    }

    // The program, or the whole run, at a moment of the pass.
    void KillProgram() {
        DWORD window = setting_.expectedRunMs;
        if (plan_.throughWindow)
            window = std::max<DWORD>(200, setting_.expectedRunMs - std::min(setting_.expectedRunMs, run_.StartupMs()));
        const DWORD delay = static_cast<DWORD>(plan_.moment * window);
        const DWORD id = run_.ProcessId();
        UniqueHandle program = OpenToKill(id);
        if (!SleepUntil(run_.AskedAt() + delay, [this] { return run_.PassRuns(); }) || !program) {
            Missed("the pass had ended " + IntToText(GetTickCount() - run_.AskedAt()) + " ms after it was asked for");
            return;
        }
        const DWORD at = GetTickCount() - run_.AskedAt();
        const bool killed = plan_.victim == Victim::RunCutOff ? KillProcessTree(program.get(), id, plan_.exitCode)
                                                              : KillProcess(program.get(), plan_.exitCode);
        if (!killed) {
            Missed("the program had ended when its moment came");
            return;
        }
        outcome_.killed = true;
        outcome_.account = Text(plan_.victim == Victim::RunCutOff ? "the run and all it started were ended "
                                                                  : "the program was ended ") +
                           IntToText(at) +
                           " ms after the pass was asked for; its log's last line: " + run_.LastLogLine();
        SettleOrphans(id, kOrphanGraceMs);
    }

    // A run of the tool at a moment of its command; the program then runs on to its end.
    void KillToolRun() {
        const Text verb = plan_.victim == Victim::ToolInBackup ? "backup" : "list";
        auto programRuns = [this] { return !run_.HasExited(); };
        if (plan_.victim == Victim::ToolInBackup && plan_.torn && plan_.command > 1) {
            Text line;
            tool_.WaitForRun(verb, plan_.command - 1, programRuns, kCommandTimeoutMs, &line);
            SetFaults("backup-torn\r\n");
        }
        Text line;
        UniqueHandle toolRun = tool_.WaitForRun(verb, plan_.command, programRuns, kCommandTimeoutMs, &line);
        const DWORD seenAt = GetTickCount();
        DWORD window =
            plan_.victim == Victim::ToolInBackup
                ? kSlowBackupMs
                : static_cast<DWORD>(kSlowListLineMs * std::max(1, setting_.entryCount) - kSlowListLineMs / 2);
        if (toolRun && plan_.victim == Victim::ToolInBackup && plan_.torn) {
            // Caught writing: the file is half written once a staging file shows in the folder.
            WaitUntil([this] { return StagingFileShows(); }, kTornFileTimeoutMs);
            SetFaults("");
            window = kTornWindowMs;
        }
        const DWORD delay = static_cast<DWORD>(plan_.moment * window);
        HANDLE run = toolRun.get();
        if (!toolRun ||
            !SleepUntil(GetTickCount() + delay, [run] { return WaitForSingleObject(run, 0) != WAIT_OBJECT_0; }) ||
            !KillProcess(run, plan_.exitCode)) {
            Missed(line.empty() ? "the pass never ran that command" : "the tool's run had ended when its moment came");
        } else {
            outcome_.killed = true;
            outcome_.account = "the tool's run of `" + line + "` was ended " + IntToText(GetTickCount() - seenAt) +
                               " ms after it received the command";
        }
        SetFaults("");
        outcome_.exitCode = run_.WaitForExit(kRunEndTimeoutMs);
        if (!outcome_.exitCode) {
            outcome_.findings.push_back("the run did not end within " + IntToText(kRunEndTimeoutMs / 1000) +
                                        " s after its tool was ended; its log's last line: " + run_.LastLogLine());
            UniqueHandle program = OpenToKill(run_.ProcessId());
            KillProcessTree(program.get(), run_.ProcessId(), 1);
        }
        outcome_.account += "; the run then " +
                            (outcome_.exitCode ? "exited " + ExitCodeText(*outcome_.exitCode) : Text("was ended")) +
                            ", its log's last line: " + run_.LastLogLine();
    }

    bool StagingFileShows() const {
        for (const Text& file : FilesIn(setting_.backupFolder)) {
            if (FindText(file, kStagingFileExt, true) > 0)
                return true;
        }
        return false;
    }

    void Missed(const Text& why) {
        outcome_.account = "no kill: " + why;
        if (!run_.HasExited() && !run_.PassRuns())
            run_.Close();
        if (!outcome_.exitCode)
            outcome_.exitCode = run_.WaitForExit(kRunEndTimeoutMs);
    }

    // Ends tool runs still alive (a run caught writing hangs until it is ended).
    void EndLeftovers() const {
        const Text exe = setting_.toolFolder + "\\" + kToolExeName;
        WaitUntil([&exe] { return ProcessesRunning(exe).empty(); }, kOrphanGraceMs);
        EndProcesses(ProcessesRunning(exe));
    }

    const KillPlan& plan_;
    const VictimSetting& setting_;
    PassRun run_;
    ToolCommandWatch tool_;
    VictimOutcome outcome_;
};

}  // namespace

VictimOutcome RunVictim(const KillPlan& plan, const VictimSetting& setting) {
    return VictimRunner(plan, setting).Run();
}
