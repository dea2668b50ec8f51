#include "workers/RestoreWorker.h"

#include <windows.h>

#include <optional>
#include <set>
#include <vector>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "workers/ManifestFile.h"
#include "workers/PathIsPresent.h"
#include "workers/ToolReach.h"
#include "workers/portable/EntryDesignator.h"
#include "workers/portable/NameChecks.h"
#include "workers/portable/PassTexts.h"
#include "workers/portable/PassWording.h"

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

// What a pass keeps between its lines.
struct RestoreState {
    EntryList entries;
    std::set<Text> namesMet;  // the names of the usable lines handled so far
    bool breakawayRefusedLogged = false;
};

// The listing behind `listed` could not be read: said once, Restore given back, the pass ends.
LineOutcome ListingFailed(PassHost& host, const Text& name, const ListedEntry& listed) {
    const Text how = listed.listingEnd.Done() ? Text(kToolListedNothingText) : CommandEndPhrase(listed.listingEnd);
    host.AppendLog(name + kRestoreListingFailedLeadIn + how + kRestoreListingFailedTail);
    if (!host.ShouldStop())
        host.SetButtonEnabled(PassButton::Restore, true);
    return LineOutcome::PassEnds;
}

// A restore or create command has ended as `end`. Logs once a pass that it could not leave the
// program's job; when it hung, says that it was left running, hands it to the host and ends the
// pass (nullopt otherwise). Restore stays disabled: the host gives it back once the tool has ended.
std::optional<LineOutcome> AfterWritingCommand(PassHost& host, RestoreState& state, const Text& name,
                                               const CommandEnd& end) {
    if (end.breakawayRefused && !state.breakawayRefusedLogged) {
        state.breakawayRefusedLogged = true;
        host.AppendLog(kBreakawayRefusedText);
    }
    if (end.verdict != CommandVerdict::Hung)
        return std::nullopt;
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    host.AppendLog(name + kToolLeftRunningLeadIn + IntToText(end.hangSeconds) + kToolLeftRunningTail);
    if (end.leftRunning)
        host.HoldUntilEnded(end.leftRunning);
    return LineOutcome::PassEnds;
}

LineOutcome RestoreLine(const ToolCommands& commands, PassHost& host, RestoreState& state, const ManifestEntry& line,
                        int pos, int total) {
    EntryList& entries = state.entries;
    std::set<Text>& namesMet = state.namesMet;
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
        host.AppendLog(name + kSameNameAgainText + EntryPositionText(pos, total));
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
    ListedEntry found = FindListedEntry(commands, host, entries, name);
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    // A listing that did not finish says nothing about whether the tool still has the entry.
    if (found.listingFailed)
        return ListingFailed(host, name, found);
    std::optional<EntryRecord> listed = std::move(found.record);
    if (!listed) {
        host.AppendLog(name + kRestoreCreateText + EntryPositionText(pos, total));
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        const ToolCommands::CreateRun create = commands.CreateEntryRun(name, kRestoreCreateMode);
        if (host.ShouldStop())
            return LineOutcome::PassEnds;
        if (const std::optional<LineOutcome> ended = AfterWritingCommand(host, state, name, create.end))
            return *ended;
        const int32_t created = create.number;
        if (created == -1) {
            host.AppendLog(name + kCreateFailedText);
            if (!host.ShouldStop())
                host.SetButtonEnabled(PassButton::Restore, true);
            return LineOutcome::PassEnds;
        }
        // An entry reached by its number is looked up again: the listing, not the answer to the
        // create, says which number the tool gave the entry of this name.
        if (!EntryDesignator(name, 0)) {
            found = FindListedEntry(commands, host, entries, name);
            if (host.ShouldStop())
                return LineOutcome::PassEnds;
            if (found.listingFailed)
                return ListingFailed(host, name, found);
            listed = std::move(found.record);
            if (!listed) {
                host.AppendLog(name + kCreatedNotListedText + EntryPositionText(pos, total));
                return LineOutcome::Failed;
            }
        }
    } else {
        host.AppendLog(name + kRestoreExistsText + EntryPositionText(pos, total));
    }

    const std::optional<Text> designator = EntryDesignator(name, listed ? listed->number : 0);
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    if (!designator) {
        host.AppendLog(name + kNoNumberText);
        return LineOutcome::Failed;
    }
    const ToolCommands::RestoreRun restore = commands.RestoreEntryRun(*designator, file);
    if (host.ShouldStop())
        return LineOutcome::PassEnds;
    if (const std::optional<LineOutcome> ended = AfterWritingCommand(host, state, name, restore.end))
        return *ended;
    const bool restored = restore.restored;
    host.AppendLog(name + (restored ? kRestoreDoneText : kRestoreRefusedText) + EntryPositionText(pos, total));
    return restored ? LineOutcome::Restored : LineOutcome::Failed;
}

}  // namespace

ListedEntry FindListedEntry(const ToolCommands& commands, PassHost& host, EntryList& list, const Text& name) {
    ListedEntry found;
    const ToolCommands::ListingRun listing = commands.ListEntriesRun(list);
    found.listingEnd = listing.end;
    if (listing.outcome == ListingOutcome::Failed) {
        found.listingFailed = true;
        return found;
    }
    const int count = static_cast<int>(list.size());
    bool unnamedLogged = false;
    for (int j = 1; j <= count; ++j) {
        if (host.ShouldStop())
            return found;
        const EntryRecord& record = list[j - 1];
        if (record.text1 == name) {
            found.record = record;
            return found;
        }
        // An unnamed record says nothing about this name: the ones after it may still hold it.
        if (record.text1.empty() && !unnamedLogged) {
            unnamedLogged = true;
            host.AppendLog(name + kUnnamedEntryText);
        }
        if (host.ShouldStop())
            return found;
        host.Pause(kRecordPauseMs);
    }
    return found;
}

bool IsEntryListed(const ToolCommands& commands, PassHost& host, EntryList& list, const Text& name) {
    return FindListedEntry(commands, host, list, name).record.has_value();
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
    // No list at all: a restore before the first backup, which has nothing to do yet.
    if (GetFileAttributesA(manifestPath.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
        if (host->ShouldStop())
            return PassResult::NotDone;
        host->AppendLog(kNoManifestYetText);
        if (!host->ShouldStop())
            host->SetButtonEnabled(PassButton::Restore, true);
        return PassResult::AllDone;
    }
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

    RestoreState state;
    int failed = 0;
    for (int i = total; i >= 1; --i) {
        if (host->ShouldStop())
            return PassResult::NotDone;
        host->ShowProgress(total - i + 1, total);
        switch (RestoreLine(*commands, *host, state, lines[i - 1], total - i + 1, total)) {
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
