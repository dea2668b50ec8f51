#include "workers/BackupWorker.h"

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "workers/BackupFileName.h"
#include "workers/ManifestFile.h"
#include "workers/NameChecks.h"
#include "workers/PassTexts.h"
#include "workers/PreviousBackup.h"

namespace {

Text Progress(int k, int count) {
    return IntToText(k) + kProgressSep + IntToText(count);
}

// Why the entry cannot be backed up, as a whole log message after its name; empty when it can.
Text RefusalMessage(const Text& name, const Text& designator, const Text& file) {
    if (Text reason = CommandRefusalReason(name); !reason.empty())
        return kUnsafeNameLeadIn + reason + kUnsafeNameTail;
    if (Text reason = CommandRefusalReason(designator); !reason.empty())
        return kUnsafeNameLeadIn + reason + kUnsafeNameTail;
    if (Text reason = ManifestRefusalReason(name); !reason.empty())
        return kUnsafeNameLeadIn + reason + kUnrecordableTail;
    if (Text reason = CommandRefusalReason(file); !reason.empty())
        return kUnsafePathLeadIn + reason + kUnsafeNameTail;
    if (Text reason = ManifestRefusalReason(file); !reason.empty())
        return kUnsafePathLeadIn + reason + kUnrecordableTail;
    return Text();
}

// What became of one entry.
enum class EntryOutcome { BackedUp, Failed, Stopped };

// Backs up entry `k` of `count`. When a backup file of the entry exists afterwards (the new one,
// or a previous one the tool did not replace), its line goes in front of `manifest`.
EntryOutcome BackUpEntry(const ToolCommands& commands, PassHost& host, BackupPathPicker& paths,
                         const EntryRecord& record, int k, int count, Text& manifest) {
    Text name = record.text1;
    // The tool is told which entry by its name; one without a name can only be reached by its number.
    Text designator = name;
    if (name.empty()) {
        name = kDefaultNamePrefix + IntToText(k - 1);
        designator = record.number > 0 ? IntToText(record.number) : name;
    }
    if (host.ShouldStop())
        return EntryOutcome::Stopped;
    host.AppendLog(name + kBackupStartText + Progress(k, count));
    if (host.ShouldStop())
        return EntryOutcome::Stopped;
    const Text file = paths.Pick(host.FolderField(), name);

    if (Text refusal = RefusalMessage(name, designator, file); !refusal.empty()) {
        if (host.ShouldStop())
            return EntryOutcome::Stopped;
        host.AppendLog(name + refusal);
        return EntryOutcome::Failed;
    }

    if (host.ShouldStop())
        return EntryOutcome::Stopped;
    PreviousBackup previous;
    if (!previous.SetAside(file)) {
        // The previous backup stays where it is and remains the one to restore from.
        manifest = ManifestLine(name, file) + manifest;
        if (host.ShouldStop())
            return EntryOutcome::Stopped;
        host.AppendLog(name + kSetAsideFailedText + Progress(k, count));
        return EntryOutcome::Failed;
    }
    const bool hadPrevious = previous.HasPrevious();
    if (!host.ShouldStop())
        commands.BackupEntry(designator, file);
    // The files are settled even after Stop, so no previous backup is left aside by mistake.
    const bool stopped = host.ShouldStop();
    const bool written = previous.Settle(!stopped);
    if (stopped)
        return EntryOutcome::Stopped;
    if (written || hadPrevious)
        manifest = ManifestLine(name, file) + manifest;
    if (written) {
        host.AppendLog(name + kBackupDoneText + Progress(k, count));
        return EntryOutcome::BackedUp;
    }
    host.AppendLog(name + (hadPrevious ? kBackupFailedKeptText : kBackupFailedText) + Progress(k, count));
    return EntryOutcome::Failed;
}

}  // namespace

void BackupWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host) {
    if (!commands || !host)
        return;
    ScopedThreadStopSignal stopOnThisThread(host->PassStopSignal());
    if (host->ShouldStop())
        return;

    EntryList entries;
    const int count = commands->ListEntries(entries);
    if (host->ShouldStop())
        return;
    host->AppendLog(kCountLeadIn + IntToText(count) + kBackupCountTail);

    Text manifest;
    int failed = 0;
    BackupPathPicker paths;
    for (int k = 1; k <= count; ++k) {
        switch (BackUpEntry(*commands, *host, paths, entries[k - 1], k, count, manifest)) {
            case EntryOutcome::Stopped: return;
            case EntryOutcome::Failed: ++failed; break;
            case EntryOutcome::BackedUp: break;
        }
        if (host->ShouldStop())
            return;
        host->Pause(kEntryPauseMs);
    }

    if (host->ShouldStop())
        return;
    const Text manifestPath = ManifestPath(host->ProgramFolder());
    const bool saved = ReplaceManifest(manifestPath, manifest);
    if (host->ShouldStop())
        return;
    if (!saved)
        host->AppendLog(kManifestWriteFailedText + manifestPath);
    else if (failed == 0)
        host->AppendLog(IntToText(count) + kBackupAllDoneTail);
    else
        host->AppendLog(IntToText(count) + kBackupSummaryMid + IntToText(failed) + kBackupSummaryTail);
    if (host->ShouldStop())
        return;
    host->SetButtonEnabled(PassButton::Start, true);
    if (host->ShouldStop())
        return;
    host->SetButtonEnabled(PassButton::Stop, false);
}
