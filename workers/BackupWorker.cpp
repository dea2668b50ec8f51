#include "workers/BackupWorker.h"

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "common/FileIdentity.h"
#include "common/portable/TextOps.h"
#include "workers/BackupFolderCheck.h"
#include "workers/ManifestFile.h"
#include "workers/PathIsPresent.h"
#include "workers/StagedBackup.h"
#include "workers/ToolReach.h"
#include "workers/portable/BackupFileName.h"
#include "workers/portable/EntryDesignator.h"
#include "workers/portable/NameChecks.h"
#include "workers/portable/PassTexts.h"
#include "workers/portable/PassWording.h"
#include "workers/portable/PreviousManifest.h"

namespace {

// Why the entry cannot be backed up, as a whole log message after its name; empty when it can.
// `staging` is the path the tool is given, `file` the one the manifest records.
Text RefusalMessage(const Text& name, const std::optional<Text>& designator, const Text& file, const Text& staging) {
    if (Text reason = CommandRefusalReason(name); !reason.empty())
        return kNameNotBackedUpLeadIn + reason + kUnsafeNameTail + kRenameEntryTail;
    if (!designator)
        return kNoNumberNotBackedUpText;
    if (Text reason = CommandRefusalReason(*designator); !reason.empty())
        return kNameNotBackedUpLeadIn + reason + kUnsafeNameTail + kRenameEntryTail;
    if (Text reason = ManifestRefusalReason(name); !reason.empty())
        return kNameNotBackedUpLeadIn + reason + kUnrecordableTail + kRenameEntryTail;
    if (file.size() > kMaxPathBytes || staging.size() > kMaxPathBytes)
        return kPathTooLongText;
    if (Text reason = CommandRefusalReason(staging); !reason.empty())
        return kPathNotBackedUpLeadIn + reason + kUnsafeNameTail;
    if (Text reason = ManifestRefusalReason(file); !reason.empty())
        return kPathNotBackedUpLeadIn + reason + kUnrecordableTail;
    return Text();
}

// Why the pass backs up nothing and leaves the previous manifest as it is; empty when it goes on.
// A listing that failed or came back empty says nothing reliable about the entries, and writing
// a manifest from it would throw away the list of backups the previous pass made.
Text ReasonToKeepEverything(const ToolCommands::ListingRun& listing, const PreviousManifest& previous) {
    // An empty listing from a tool whose program has gone from its folder says nothing about the entries.
    if (listing.outcome != ListingOutcome::Entries && !ToolIsReachable())
        return kToolMissingText;
    // A tool that did not finish its listing (it failed, died, hung or could not start) printed at
    // most a part of it, however that reads.
    if (!listing.end.Done())
        return kListingNotDoneLeadIn + CommandEndPhrase(listing.end) + kListingNotDoneTail;
    if (listing.outcome == ListingOutcome::Failed)
        return kListingFailedText;
    if (listing.outcome == ListingOutcome::Empty && previous.HasLines())
        return kEmptyListingKeptText;
    return Text();
}

// The name the pass logs and records an entry under: its own, or one made from its position.
Text RecordedName(const EntryRecord& record, int k) {
    return record.text1.empty() ? kDefaultNamePrefix + IntToText(k - 1) : record.text1;
}

// What became of one entry.
enum class EntryOutcome { BackedUp, Failed, Stopped };

// Why an entry is left out of the pass because of its name alone: a restore finds entries by name,
// and the tool, given a name, reaches the first entry that bears it, so two lines of one name in
// the manifest would both be restored into that first entry. Of entries sharing a name only the
// first is backed up; an unnamed entry whose made-up name another entry really bears gives way to
// that entry wherever it stands. Null when the entry's name is its own.
std::vector<const char*> NameClashes(const EntryList& entries) {
    std::set<Text> realNames;
    for (const EntryRecord& record : entries) {
        if (!record.text1.empty())
            realNames.insert(record.text1);
    }
    std::vector<const char*> clashes(entries.size(), nullptr);
    std::set<Text> seen;
    for (size_t k = 1; k <= entries.size(); ++k) {
        const Text name = RecordedName(entries[k - 1], static_cast<int>(k));
        if (entries[k - 1].text1.empty() && realNames.count(name))
            clashes[k - 1] = kDefaultNameTakenText;
        else if (!seen.insert(name).second)
            clashes[k - 1] = kSameNameSkippedText;
    }
    return clashes;
}

// One backup pass over the entries one listing gave.
class BackupPass {
public:
    // `field` is the backup folder field as the pass checked it before the listing, `check` what
    // the check found.
    BackupPass(const ToolCommands& commands, PassHost& host, const EntryList& entries, const PreviousManifest& previous,
               const Text& field, const FolderCheck& check)
        : commands_(commands), host_(host), entries_(entries), previous_(previous), clashes_(NameClashes(entries)) {
        checked_[field] = check;
        // The paths the previous manifest records for entries still listed stay theirs: an entry
        // whose backup fails keeps its line, and no other entry's new backup may land on that file.
        std::set<Text> listed;
        for (int k = 1; k <= Count(); ++k)
            listed.insert(RecordedName(entries_[k - 1], k));
        for (const PreviousManifest::Line& line : previous_.Lines()) {
            if (listed.count(line.name))
                paths_.Reserve(line.name, line.path, FileIdentityOf(line.path));
        }
    }

    int Count() const { return static_cast<int>(entries_.size()); }
    const Text& Manifest() const { return manifest_; }
    // How many of the last entries' backup commands hung, one after another.
    int HungInARow() const { return hungInARow_; }

    // Backs up entry `k`; when it fails, its earlier backup stays in the manifest if it can.
    EntryOutcome Entry(int k) {
        const Text name = RecordedName(entries_[k - 1], k);
        const EntryOutcome outcome = BackUp(name, k);
        // The earlier lines of a clashing name belong to the entry that bears it.
        if (outcome == EntryOutcome::Failed && !clashes_[k - 1] && !KeepEarlierBackup(name, k))
            return EntryOutcome::Stopped;
        return outcome;
    }

private:
    EntryOutcome BackUp(const Text& name, int k) {
        const EntryRecord& record = entries_[k - 1];
        const std::optional<Text> designator = EntryDesignator(record.text1, record.number);
        if (host_.ShouldStop())
            return EntryOutcome::Stopped;
        // The position first: a Stop that follows the "backing up" line knows that the entries
        // before this one have ended (the Stop line says whether any backup was replaced).
        host_.ShowProgress(k, Count());
        if (host_.ShouldStop())
            return EntryOutcome::Stopped;
        host_.AppendLog(name + kBackupStartText + EntryPositionText(k, Count()));
        if (host_.ShouldStop())
            return EntryOutcome::Stopped;
        if (clashes_[k - 1]) {
            host_.AppendLog(name + clashes_[k - 1] + EntryPositionText(k, Count()));
            return EntryOutcome::Failed;
        }
        const Text field = host_.FolderField();
        const FolderCheck& check = Check(field);
        if (check.problem != FolderProblem::None) {
            if (host_.ShouldStop())
                return EntryOutcome::Stopped;
            host_.AppendLog(name + kEntryFolderLeadIn + FolderProblemPhrase(check.problem, field) + " " +
                            EntryPositionText(k, Count()));
            return EntryOutcome::Failed;
        }
        const Text& folder = check.canonical;
        if (swept_.insert(folder).second)
            RemoveLeftoverStagingFiles(folder);
        std::optional<FileId> earlierFile;
        StagedBackup backup(PickFile(folder, name, k, &earlierFile));

        if (Text refusal = RefusalMessage(name, designator, backup.File(), backup.StagingPath()); !refusal.empty()) {
            if (host_.ShouldStop())
                return EntryOutcome::Stopped;
            host_.AppendLog(name + refusal);
            return EntryOutcome::Failed;
        }

        if (host_.ShouldStop())
            return EntryOutcome::Stopped;
        const CommandEnd end = commands_.BackupEntryRun(*designator, backup.StagingPath());
        // After Stop the tool may still be writing: its file is left to the next pass.
        if (host_.ShouldStop())
            return EntryOutcome::Stopped;
        hungInARow_ = end.verdict == CommandVerdict::Hung ? hungInARow_ + 1 : 0;
        // Only a tool that ran to its end with a success code wrote a whole backup.
        if (!end.Done()) {
            backup.Discard();
            host_.AppendLog(name + kBackupNotDoneLeadIn + CommandEndPhrase(end) + kBackupNotDoneTail +
                            EntryPositionText(k, Count()));
            return EntryOutcome::Failed;
        }
        const StagedBackup::Outcome outcome = backup.Commit();
        if (host_.ShouldStop())
            return EntryOutcome::Stopped;
        switch (outcome) {
            case StagedBackup::Outcome::Replaced:
                // The file now under the name is another than the one the pick found there.
                if (earlierFile)
                    paths_.Forget(*earlierFile);
                paths_.Claim(backup.File(), name, k, FileIdentityOf(backup.File()));
                manifest_ = ManifestLine(name, backup.File()) + manifest_;
                host_.AppendLog(name + kBackupDoneText + EntryPositionText(k, Count()));
                return EntryOutcome::BackedUp;
            case StagedBackup::Outcome::NothingWritten:
                host_.AppendLog(name + kBackupFailedText + EntryPositionText(k, Count()));
                return EntryOutcome::Failed;
            case StagedBackup::Outcome::NotSaved:
                host_.AppendLog(name + kNotSavedText + EntryPositionText(k, Count()));
                return EntryOutcome::Failed;
            case StagedBackup::Outcome::ReadOnly:
                host_.AppendLog(name + kReadOnlyBackupText + EntryPositionText(k, Count()));
                return EntryOutcome::Failed;
            case StagedBackup::Outcome::NotReplaced:
                host_.AppendLog(name + kReplaceFailedText + EntryPositionText(k, Count()));
                return EntryOutcome::Failed;
        }
        return EntryOutcome::Failed;
    }

    // Puts the line the previous manifest has for exactly this name into the new one, while its
    // file exists and no other entry of this pass holds that file. False when stopped.
    bool KeepEarlierBackup(const Text& name, int k) {
        for (const PreviousManifest::Line* line : previous_.LinesOf(name)) {
            if (!PathIsPresent(line->path) || !paths_.Claim(line->path, name, k, FileIdentityOf(line->path)))
                continue;
            manifest_ = line->text + manifest_;
            if (host_.ShouldStop())
                return false;
            host_.AppendLog(name + kKeptEarlierText + line->path);
            return true;
        }
        return !host_.ShouldStop();
    }

    // A folder the user changed to during the pass is checked once, when an entry first meets it.
    const FolderCheck& Check(const Text& field) {
        auto [at, added] = checked_.try_emplace(field);
        if (added)
            at->second = CheckBackupFolder(field);
        return at->second;
    }

    // The backup file of entry `k` in `folder`: the picker's choice, passed over while it leads to a
    // file that is another entry's by another spelling or route. Looked at before the tool writes
    // the new backup; until that replaces what stands there, the pass writes nothing else into the
    // folder. The identity of the file there now, if any, in `earlierFile`.
    Text PickFile(const Text& folder, const Text& name, int k, std::optional<FileId>* earlierFile) {
        for (;;) {
            const Text path = paths_.Pick(folder, name, k);
            *earlierFile = FileIdentityOf(path);
            if (paths_.Claim(path, name, k, *earlierFile))
                return path;
        }
    }

    const ToolCommands& commands_;
    PassHost& host_;
    const EntryList& entries_;
    const PreviousManifest& previous_;
    const std::vector<const char*> clashes_;  // by position from 0: why the entry's name keeps it out
    BackupPathPicker paths_;
    std::map<Text, FolderCheck> checked_;  // by the folder field's text
    std::set<Text> swept_;                 // folders already rid of an earlier pass's staging files
    Text manifest_;
    int hungInARow_ = 0;
};

// After this many hung backup commands in a row the tool is taken to be stuck, and the pass ends
// rather than wait the hang limit out for every entry left.
constexpr int kHungCommandsToEndPass = 2;

// Enables Start and disables Stop, unless the pass was stopped (the Stop handler sets them then).
void ReturnButtonsToIdle(PassHost& host) {
    if (host.ShouldStop())
        return;
    host.SetButtonEnabled(PassButton::Start, true);
    if (host.ShouldStop())
        return;
    host.SetButtonEnabled(PassButton::Stop, false);
}

}  // namespace

PassResult BackupWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host) {
    if (!commands || !host)
        return PassResult::NotDone;
    ScopedThreadStopSignal stopOnThisThread(host->PassStopSignal());
    if (host->ShouldStop())
        return PassResult::NotDone;

    // Before anything is asked of the tool: a folder that cannot take the backups would make every
    // entry fail (or, empty or relative, put the backups where the user never chose).
    const Text field = host->FolderField();
    const FolderCheck folderCheck = CheckBackupFolder(field);
    if (host->ShouldStop())
        return PassResult::NotDone;
    if (folderCheck.problem != FolderProblem::None) {
        host->AppendLog(kNothingBackedUpLeadIn + FolderProblemPhrase(folderCheck.problem, field) +
                        kNothingBackedUpTail);
        ReturnButtonsToIdle(*host);
        return PassResult::NotDone;
    }
    const bool toolFound = ReachTool(*commands);
    if (host->ShouldStop())
        return PassResult::NotDone;
    if (!toolFound) {
        host->AppendLog(kToolMissingText);
        ReturnButtonsToIdle(*host);
        return PassResult::NotDone;
    }

    EntryList entries;
    const ToolCommands::ListingRun listing = commands->ListEntriesRun(entries);
    if (host->ShouldStop())
        return PassResult::NotDone;
    const Text manifestPath = ManifestPath(host->ProgramFolder());
    // Without the previous lines a failed entry could not keep its earlier backup in the list.
    const std::optional<Text> previousContent = ReadManifest(manifestPath);
    if (!previousContent) {
        if (host->ShouldStop())
            return PassResult::NotDone;
        host->AppendLog(kManifestUnreadableLeadIn + manifestPath + kBackupManifestUnreadableTail);
        ReturnButtonsToIdle(*host);
        return PassResult::NotDone;
    }
    const PreviousManifest previous(*previousContent);
    if (const Text reason = ReasonToKeepEverything(listing, previous); !reason.empty()) {
        host->AppendLog(reason);
        ReturnButtonsToIdle(*host);
        return PassResult::NotDone;
    }
    BackupPass pass(*commands, *host, entries, previous, field, folderCheck);
    const int count = pass.Count();
    host->AppendLog(kBackupCountLeadIn + EntryCount(count) + kBackupCountTail + folderCheck.canonical +
                    kBackupCountClose);

    int failed = 0;
    for (int k = 1; k <= count; ++k) {
        switch (pass.Entry(k)) {
            case EntryOutcome::Stopped:
                return PassResult::NotDone;
            case EntryOutcome::Failed:
                ++failed;
                break;
            case EntryOutcome::BackedUp:
                break;
        }
        if (pass.HungInARow() >= kHungCommandsToEndPass) {
            if (host->ShouldStop())
                return PassResult::NotDone;
            host->AppendLog(kHungTwiceText);
            ReturnButtonsToIdle(*host);
            return PassResult::NotDone;
        }
        if (host->ShouldStop())
            return PassResult::NotDone;
        host->Pause(kEntryPauseMs);
    }

    if (host->ShouldStop())
        return PassResult::NotDone;
    const ReplaceResult saving = ReplaceManifest(manifestPath, pass.Manifest());
    const bool saved = saving == ReplaceResult::Replaced;
    if (host->ShouldStop())
        return PassResult::NotDone;
    if (saving == ReplaceResult::TargetReadOnly) {
        host->AppendLog(kManifestReadOnlyText + manifestPath);
    } else if (!saved) {
        host->AppendLog(kManifestWriteFailedText + manifestPath);
    } else if (failed == 0) {
        host->AppendLog(kBackupAllDoneLeadIn + EntryCount(count) + kBackupAllDoneTail);
    } else {
        host->AppendLog(kBackupSummaryLeadIn + IntToText(failed) + kBackupSummaryMid + IntToText(count) +
                        kBackupSummaryTail);
    }
    ReturnButtonsToIdle(*host);
    if (!saved)
        return PassResult::NotDone;
    return failed == 0 ? PassResult::AllDone : PassResult::SomeNotDone;
}
