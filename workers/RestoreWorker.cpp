#include "workers/RestoreWorker.h"

#include <optional>
#include <set>
#include <vector>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "workers/EntryDesignator.h"
#include "workers/ManifestFile.h"
#include "workers/NameChecks.h"
#include "workers/PassTexts.h"
#include "workers/PassWording.h"
#include "workers/PathIsPresent.h"
#include "workers/ToolReach.h"

namespace {

// Why the line cannot be handed to the tool, as a whole log message after its name; empty when it can.
Text RefusalMessage(const Text& name, const Text& file) {
    if (Text reason = CommandRefusalReason(name); !reason.empty())
        return kUnsafeNameLeadIn + reason + kUnsafeNameTail;
    if (Text reason = CommandRefusalReason(file); !reason.empty())
        return kUnsafePathLeadIn + reason + kUnsafeNameTail;
    return Text();
}

// What became of one manifest line.
enum class LineOutcome { Restored, Failed, PassEnds };

// `namesMet` holds the names of the usable lines handled before this one.
LineOutcome RestoreLine(const ToolCommands& commands, PassHost& host, EntryList& entries, std::set<Text>& namesMet,
                        const ManifestEntry& line, int pos, int total) {
    if (!line.usable) {
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        host.AppendLog(kBadLineText);
        return LineOutcome::Failed;
    }
    const Text& name = line.name;
    const Text& file = line.file;
    // Given this name the tool reaches the entry an earlier line was meant for: restoring a second
    // backup there would overwrite it with what may be another entry's data.
    if (!namesMet.insert(name).second) {
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        host.AppendLog(name + kSameNameAgainText + PassProgress(pos, total));
        return LineOutcome::Failed;
    }
    if (!PathIsPresent(file)) {
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        host.AppendLog(name + kFileMissingText + file);
        return LineOutcome::Failed;
    }
    if (Text refusal = RefusalMessage(name, file); !refusal.empty()) {
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        host.AppendLog(name + refusal);
        return LineOutcome::Failed;
    }

    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    std::optional<EntryRecord> listed = FindListedEntry(commands, host, entries, name);
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    if (!listed) {
        host.AppendLog(name + kRestoreCreateText + PassProgress(pos, total));
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        const int32_t created = commands.CreateEntry(name, kRestoreCreateMode);
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        if (created == -1) {
            host.AppendLog(name + kCreateFailedText);
            if (!host.ShouldStop())
                host.SetButtonEnabled(PassButton::Restore, true);
            return LineOutcome::PassEnds;
        }
        // An entry reached by its number is looked up again: the listing, not the answer to the
        // create, says which number the tool gave the entry of this name.
        if (!EntryDesignator(name, 0)) {
            listed = FindListedEntry(commands, host, entries, name);
            if (host.ShouldStop())
                return LineOutcome::PassEnds;
            if (!listed) {
                host.AppendLog(name + kCreatedNotListedText + PassProgress(pos, total));
                return LineOutcome::Failed;
            }
        }
    } else {
        host.AppendLog(name + kRestoreExistsText + PassProgress(pos, total));
    }

    const std::optional<Text> designator = EntryDesignator(name, listed ? listed->number : 0);
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    if (!designator) {
        host.AppendLog(name + kNoNumberText);
        return LineOutcome::Failed;
    }
    const bool restored = commands.RestoreEntry(*designator, file);
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    host.AppendLog(name + (restored ? kRestoreDoneText : kRestoreRefusedText) + PassProgress(pos, total));
    return restored ? LineOutcome::Restored : LineOutcome::Failed;
}

}  // namespace

std::optional<EntryRecord> FindListedEntry(const ToolCommands& commands, PassHost& host, EntryList& list,
                                           const Text& name) {
    const int count = commands.ListEntries(list);
    bool unnamedLogged = false;
    for (int j = 1; j <= count; ++j) {
        if (host.ShouldStop())
            return std::nullopt;
        const EntryRecord& record = list[j - 1];
        if (record.text1 == name)
            return record;
        // An unnamed record says nothing about this name: the ones after it may still hold it.
        if (record.text1.empty() && !unnamedLogged) {
            unnamedLogged = true;
            host.AppendLog(name + kUnnamedEntryText);
        }
        if (host.ShouldStop())
            return std::nullopt;
        host.Pause(kRecordPauseMs);
    }
    return std::nullopt;
}

bool IsEntryListed(const ToolCommands& commands, PassHost& host, EntryList& list, const Text& name) {
    return FindListedEntry(commands, host, list, name).has_value();
}

PassResult RestoreWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host) {
    if (!commands || !host)
        return PassResult::NotDone;
    ScopedThreadStopSignal stopOnThisThread(host->PassStopSignal());
    if (host->ShouldStop())
        return PassResult::NotDone;
    host->SetButtonEnabled(PassButton::Restore, false);

    // Without the tool every entry would look missing, and the first create would fail in its name.
    const bool toolFound = ReachTool(*commands);
    if (host->ShouldStop())
        return PassResult::NotDone;
    if (!toolFound) {
        host->AppendLog(kRestoreToolMissingText);
        if (!host->ShouldStop())
            host->SetButtonEnabled(PassButton::Restore, true);
        return PassResult::NotDone;
    }

    const Text manifestPath = ManifestPath(host->ProgramFolder());
    const std::optional<Text> content = ReadManifest(manifestPath);
    if (host->ShouldStop())
        return PassResult::NotDone;
    if (!content) {
        host->AppendLog(kManifestUnreadableLeadIn + manifestPath + kRestoreManifestUnreadableTail);
        if (!host->ShouldStop())
            host->SetButtonEnabled(PassButton::Restore, true);
        return PassResult::NotDone;
    }
    const std::vector<ManifestEntry> lines = ReadManifestLines(*content);
    const int total = static_cast<int>(lines.size());
    if (host->ShouldStop())
        return PassResult::NotDone;
    host->AppendLog(kRestoreCountLeadIn + EntryCount(total) + kRestoreCountTail);

    EntryList entries;
    std::set<Text> namesMet;
    int failed = 0;
    for (int i = total; i >= 1; --i) {
        if (host->ShouldStop())
            return PassResult::NotDone;
        host->ShowProgress(total - i + 1, total);
        switch (RestoreLine(*commands, *host, entries, namesMet, lines[i - 1], total - i + 1, total)) {
            case LineOutcome::PassEnds: return PassResult::NotDone;
            case LineOutcome::Failed: ++failed; break;
            case LineOutcome::Restored: break;
        }
        if (host->ShouldStop())
            return PassResult::NotDone;
        host->Pause(kEntryPauseMs);
    }

    if (host->ShouldStop())
        return PassResult::NotDone;
    if (failed == 0) {
        host->AppendLog(kRestoreAllDoneLeadIn + EntryCount(total) + kRestoreAllDoneTail);
    } else {
        host->AppendLog(kRestoreSummaryLeadIn + IntToText(failed) + kRestoreSummaryMid + IntToText(total) +
                        kRestoreSummaryTail);
    }
    if (host->ShouldStop())
        return PassResult::NotDone;
    host->SetButtonEnabled(PassButton::Restore, true);
    return failed == 0 ? PassResult::AllDone : PassResult::SomeNotDone;
}
