#pragma once
// The restore pass: reads the manifest the backup pass wrote and, in backup order (the last line
// first), has the tool restore each backup file into the entry of the same name, creating the
// entry first when the tool does not list it. Every step is a log line; lines that cannot be used
// are counted and reported in a closing summary.
//
// Runs on its own worker thread, as that thread's whole body; returns when the pass is done, when
// the tool cannot be found or could not create a missing entry, or once it has noticed Stop. The
// pass keeps `commands` and `host` alive while it runs and reads the tool's entries into a list of
// its own, so a backup pass may run at the same time.
//
// Beyond the plain walk: the pass first makes sure the tool can be reached, locating it once more
// when it cannot (ToolReach.h); without it the pass logs so, restores nothing and gives the Restore
// button back. A list of backups that exists but cannot be read (held open by another program
// without sharing, say) is logged by its path and restores nothing. A restore the tool refused is
// logged as failed and counted; a line whose name or path cannot be passed to the tool, or whose
// name is empty, is skipped and counted.
// An entry whose name is all digits is passed to the tool by the number the listing gives the
// entry of that name (after creating one, the tool is asked for its list again to learn the new
// number), never by its name, which the tool would read as another entry's number.
// A later line of a name an earlier line of the walk had is skipped and counted: the tool, given
// that name, would reach the same entry, which would end up with the wrong backup.
// After Stop it logs nothing and touches no control (the Restore button then stays disabled).
//
// Gives back how the pass ended: AllDone when every line of the list of backups was restored (no
// list, or an empty one, included); SomeNotDone when the pass went to its end but a line failed or
// was skipped; NotDone when the tool was not found, the list of backups could not be read,
// creating a missing entry ended the pass, or the pass was stopped.
//
// The tool's own end counts where a wrong guess would cost data: a listing that did not run to its
// end with a success code (it failed, died, hung or could not start) is not read as "the tool no
// longer has this entry". Nothing is created on its word: the pass logs that the tool's list could
// not be read, gives the Restore button back and ends NotDone without a summary. A restore or
// create command that hangs (HangSeconds) is never ended, since ending the tool while it writes
// its own store could damage it: the pass says the tool was left running, hands it to the host
// (PassHost::HoldUntilEnded) and ends NotDone without giving the Restore button back. Without any
// list of backups (a fresh install) the pass says there is none yet and that Start makes one.

#include <cstdint>
#include <memory>
#include <optional>

#include "common/portable/Text.h"
#include "tooldriver/ToolCommands.h"
#include "tooldriver/portable/EntryList.h"
#include "workers/PassHost.h"
#include "workers/portable/PassResult.h"

// The create mode a restore asks for when an entry is missing.
inline constexpr int32_t kRestoreCreateMode = 3;

PassResult RestoreWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host);

// What the tool's listing says of one name.
struct ListedEntry {
    // The record the tool lists under exactly that name, when it lists one.
    std::optional<EntryRecord> record;
    // The listing did not count as done, or was no listing (ToolCommands::ListEntriesRun): it says
    // nothing of the name, and `record` is empty.
    bool listingFailed = false;
    // How the listing command ended.
    CommandEnd listingEnd;
};

// The record the tool lists under exactly `name` (bytes compared, letter case counts): the first
// such in the tool's order. Refills `list` from the tool's listing and walks it, pausing 50 ms after
// each record passed over. An unnamed record is logged (once) and passed over. No record when
// there is no such record, the listing failed, or the pass was stopped meanwhile. On the pass's thread.
ListedEntry FindListedEntry(const ToolCommands& commands, PassHost& host, EntryList& list, const Text& name);

// Whether the tool lists an entry named exactly `name` (bytes compared, letter case counts).
// Refills `list` from the tool's listing and walks it, pausing 50 ms after each record passed
// over. An unnamed record is logged (once) and passed over. False when the pass was stopped meanwhile.
// On the pass's thread.
bool IsEntryListed(const ToolCommands& commands, PassHost& host, EntryList& list, const Text& name);
