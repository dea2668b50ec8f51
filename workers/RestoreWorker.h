#pragma once
// The restore pass: reads the list of backups (the manifest) and, last line first, has the tool
// restore each backup file into the entry of that name, creating the entry first when the tool
// does not list it. Every step is a log line; a closing summary counts the lines not restored.
//
// Threads: the body of its own worker thread; returns when the pass has ended or has noticed Stop.
// Ownership: holds `commands` and `host` for as long as it runs and keeps its own list of the
// tool's entries, so a backup pass may run beside it.
//
// What it guarantees:
//  - an entry is addressed so that the tool reaches that entry and no other: an all-digit name by
//    the number the listing gives it, never by its name; a later line of a name already restored
//    is skipped;
//  - nothing is created on the word of a listing that did not run to its end with a success code:
//    the pass says the tool's list could not be read and ends;
//  - a restore or create command that hangs is never ended (it writes the tool's own store): the
//    pass says so, hands it to the host (PassHost::HoldUntilEnded) and ends without giving the
//    Restore button back.
// After Stop it logs nothing and touches no control (the Restore button then stays disabled).
//
// Result: AllDone when every line of the list of backups was restored (no list, or an empty one,
// included); SomeNotDone when the pass went to its end but a line failed or was skipped (each has
// its log line); NotDone when the tool was not found, the list of backups could not be read, the
// tool's list could not be read, a missing entry could not be created, a tool command was left
// running, or the pass was stopped.

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
