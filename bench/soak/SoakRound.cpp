#include "bench/soak/SoakRound.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <random>

#include "bench/soak/PassRun.h"
#include "bench/soak/RoundChecks.h"
#include "bench/soak/SoakEntries.h"
#include "bench/soak/SoakFiles.h"
#include "bench/soak/VictimRun.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"

namespace {

std::mt19937_64 RoundRandom(uint64_t seed, int round) {
    std::seed_seq sequence{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32),
                           static_cast<uint32_t>(round)};
    return std::mt19937_64(sequence);
}

Text FourDigits(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d", n);
    return text;
}

Text Ended(const std::optional<DWORD>& code, const Text& logFile) {
    const TextArray lines = SplitText(ReadWholeFile(logFile), "\r\n");
    const Text last = lines.empty() ? Text("(nothing logged)") : lines.back();
    return (code ? "exit " + IntToText(*code) : Text("no end")) + ", log's last line: " + last;
}

class Round {
  public:
    Round(const SoakPlace& place, uint64_t seed, int round, SoakState& state)
        : place_(place),
          state_(state),
          seed_(seed),
          round_(round),
          random_(RoundRandom(seed, round)),
          files_(place.Folder(), "round-" + FourDigits(round)),
          keptFolder_(place.Folder() + "\\broken-round-" + FourDigits(round)) {}

    RoundOutcome Run() {
        const DWORD start = GetTickCount();
        const ToolEntries first = MakeEntries(random_);
        outcome_.plan = PlanKill(random_, static_cast<int>(first.size()));
        const ToolEntries changed = ChangeEntries(first, random_);
        const ToolEntries damaged = DamageEntries(first, random_);
        if (state_.startReady || StartFrom(first)) {
            WriteToolStore(place_.ReferencePath(), first);
            KillAndCheck(first, outcome_.plan.pass == Pass::Backup ? changed : damaged, changed);
            // The next round's entries, as that round draws them first.
            std::mt19937_64 next = RoundRandom(seed_, round_ + 1);
            BackUpAndCheck(MakeEntries(next));
        }
        if (!outcome_.findings.empty())
            Keep();
        outcome_.elapsedMs = GetTickCount() - start;
        return outcome_;
    }

  private:
    Text Log(const char* name) const { return files_.File(name); }

    // From empty folders: the tool holds `first`, and a clean backup has finished "all done" with them.
    bool StartFrom(const ToolEntries& first) {
        if (files_.Path().empty() || !place_.Reset(first)) {
            outcome_.findings.push_back("the soak could not set up the round (folders, settings or the tool's store)");
            return false;
        }
        const std::optional<DWORD> code =
            RunCleanPass(place_.ProgramFolder(), Pass::Backup, Log("setup.log"), &state_.backupMs);
        if (code != 0u) {
            outcome_.findings.push_back("the clean backup that starts the round did not finish all done: " +
                                        Ended(code, Log("setup.log")));
            return false;
        }
        return true;
    }

    // `before`: what the tool holds when the run starts (changed entries before a backup, damaged
    // ones before a restore).
    void KillAndCheck(const ToolEntries& first, const ToolEntries& before, const ToolEntries& changed) {
        const KillPlan& plan = outcome_.plan;
        WriteToolStore(place_.StorePath(), before);
        VictimSetting setting{place_.ProgramFolder(), place_.BackupFolder(), place_.ToolFolder(), Log("victim.log")};
        setting.expectedRunMs =
            plan.pass == Pass::Backup ? state_.backupMs : static_cast<DWORD>(state_.backupMs * state_.restorePerBackup);
        setting.entryCount = static_cast<int>(before.size());
        const VictimOutcome victim = RunVictim(plan, setting);
        outcome_.killed = victim.killed;
        outcome_.account = victim.account;
        Add(victim.findings);
        KeepStateAfterKill();

        // A backup that says it finished "all done" has backed up every entry the tool held: those
        // are the last good backups now. Otherwise each entry has its earlier backup, or a newer one
        // if the pass got to write it whole.
        GoodVersions good;
        const bool allDone = plan.pass == Pass::Backup && victim.exitCode == 0u;
        if (allDone) {
            for (const auto& [name, entry] : changed)
                good[name] = {entry};
            WriteToolStore(place_.ReferencePath(), changed);
        } else {
            for (const auto& [name, entry] : first) {
                good[name] = {entry};
                if (plan.pass == Pass::Backup && changed.at(name) != entry)
                    good[name].push_back(changed.at(name));
            }
        }
        Add(CheckToolStore(place_.StorePath(), before, plan.pass == Pass::Restore ? good : GoodVersions()));
        Add(CheckListOfBackups(place_.ListPath(), good));
        RestoreAndCheck(before, good);
    }

    void RestoreAndCheck(const ToolEntries& before, const GoodVersions& good) {
        ToolEntries now;
        Text problem;
        if (!ReadToolStore(place_.StorePath(), &now, &problem))
            now = before;
        WriteToolStore(place_.StorePath(), DamageEntries(now, random_));
        DWORD restoreMs = 0;
        const std::optional<DWORD> code =
            RunCleanPass(place_.ProgramFolder(), Pass::Restore, Log("restore.log"), &restoreMs);
        if (code == 0u && state_.backupMs > 0)
            state_.restorePerBackup = 0.8 * state_.restorePerBackup + 0.2 * restoreMs / state_.backupMs;
        const std::vector<Text> findings = CheckRestored(place_.StorePath(), good);
        Add(findings);
        if (!findings.empty())
            outcome_.findings.push_back("(the clean restore: " + Ended(code, Log("restore.log")) + ")");
    }

    // The tool gets `next`, and a clean backup of them must finish "all done", list every one of them
    // and leave no temporary file. The next round starts from there when it did.
    void BackUpAndCheck(const ToolEntries& next) {
        state_.startReady = false;
        if (!WriteToolStore(place_.StorePath(), next)) {
            outcome_.findings.push_back("the soak could not write the tool's store for the next round");
            return;
        }
        const std::optional<DWORD> code =
            RunCleanPass(place_.ProgramFolder(), Pass::Backup, Log("backup.log"), &state_.backupMs);
        if (code != 0u) {
            outcome_.findings.push_back("a clean backup after the kill did not finish all done: " +
                                        Ended(code, Log("backup.log")));
            return;
        }
        GoodVersions good;
        for (const auto& [name, entry] : next)
            good[name] = {entry};
        const std::vector<Text> listFindings = CheckListOfBackups(place_.ListPath(), good);
        for (const Text& finding : listFindings)
            outcome_.findings.push_back("after a clean backup: " + finding);
        const std::vector<Text> leftovers =
            CheckNoTemporaryFiles(place_.ProgramFolder(), place_.BackupFolder(), &outcome_.notes);
        Add(leftovers);
        state_.startReady = listFindings.empty() && leftovers.empty();
    }

    // The list of backups, the backup folder and the tool's store as the kill left them.
    void KeepStateAfterKill() const {
        const Text after = files_.File("after-kill");
        CreateDirectoryA(after.c_str(), nullptr);
        CopyFileA(place_.ListPath().c_str(), (after + "\\EntryKeeper-backups.txt").c_str(), FALSE);
        CopyFileA(place_.StorePath().c_str(), (after + "\\entries.db").c_str(), FALSE);
        CopyFolder(place_.BackupFolder(), after + "\\backups");
    }

    void Keep() {
        EmptyFolder(keptFolder_);
        CopyFileA(place_.ReferencePath().c_str(), files_.File("reference.db").c_str(), FALSE);
        if (CopyFolder(files_.Path(), keptFolder_))
            outcome_.keptFolder = keptFolder_;
    }

    void Add(const std::vector<Text>& findings) {
        outcome_.findings.insert(outcome_.findings.end(), findings.begin(), findings.end());
    }

    const SoakPlace& place_;
    SoakState& state_;
    const uint64_t seed_;
    const int round_;
    std::mt19937_64 random_;
    ScratchFolder files_;
    Text keptFolder_;
    RoundOutcome outcome_;
};

}  // namespace

RoundOutcome RunRound(const SoakPlace& place, uint64_t seed, int round, SoakState& state) {
    // A round folder an earlier, interrupted soak left behind.
    const Text stale = place.Folder() + "\\round-" + FourDigits(round);
    EmptyFolder(stale);
    RemoveDirectoryA(stale.c_str());
    return Round(place, seed, round, state).Run();
}
