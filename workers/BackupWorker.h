#pragma once
// The backup pass: the tool lists its entries; each is written by the tool to a backup file in the
// folder the user chose; the manifest pairing every entry name with its backup file is then
// written into the program's folder. Every step is a log line.
//
// Runs on its own worker thread, as that thread's whole body; returns when the pass is done or
// has noticed Stop. The pass keeps `commands` and `host` alive for as long as it runs, and reads
// the tool's entries into a list of its own, so a restore pass may run at the same time.
//
// Beyond the plain walk:
//  - before anything else the backup folder is checked (BackupFolderCheck.h): one that is not
//    given, not a full path, too long for a backup file, missing, not a folder or not writable
//    backs up nothing and leaves the previous manifest as it was; the log line names the folder
//    and what is wrong with it. A missing folder is not created. A folder the user changes to
//    during the pass is checked when an entry first meets it, and each entry it would take fails
//    with the same words. Every backup path is built from the folder's one spelling (full, long
//    names, no closing separator but a drive root's), which the pass's first line names;
//  - a tool that cannot be found is located once more (ToolReach.h); still missing, it backs up
//    nothing and leaves the previous manifest as it was;
//  - a listing that failed (the tool printed no entry line, or reported an error), or that came
//    back empty while the previous manifest has lines, backs up nothing and leaves the previous
//    manifest as it was. The log says which, and the pass ends without its closing line;
//  - a previous manifest that exists but cannot be read backs up nothing and leaves it as it was:
//    without its lines a failed entry could not keep its earlier backup;
//  - an entry whose name is all digits, or empty, is passed to the tool by its listed number;
//  - the tool writes each new backup under a staging name beside the backup file, which only a
//    complete new file replaces, in one step: the backup file never leaves its name. A stopped
//    pass leaves at most a staging file; the next pass removes those of the folders it uses;
//  - a listing or backup counts as done only when the tool ran to its end with a success exit code
//    (ToolCommands::ListEntriesRun, BackupEntryRun): a listing that did not backs up nothing and
//    leaves the previous manifest as it was; a backup that did not has its staging file discarded,
//    and its line gives the tool's code in decimal and hexadecimal (or that it hung and was ended,
//    with the processes ended). After two hung backups in a row the pass ends, the manifest as it was;
//  - an entry whose backup failed is logged and counted, and keeps the line the previous manifest
//    has for exactly its name while that line's file exists; the closing line reports the failures;
//  - a name or folder that cannot be passed to the tool or recorded in the manifest is skipped
//    with the reason, and counted (and keeps its previous line likewise);
//  - a restore finds an entry by its name, so of entries that share a name only the first is
//    backed up; the others are skipped with the reason and counted (they keep no earlier line).
//    An unnamed entry's made-up name gives way likewise to an entry that really bears it;
//  - every backup file lands inside the chosen folder under a name Windows accepts, one per entry:
//    no two entries of a pass share a file, neither new backups nor kept ones, whatever the
//    spelling or route (a file that exists is told by its volume and file number);
//  - a backup file or manifest that is read-only is left as it is, and the log says so;
//  - the manifest is replaced whole or not at all; a manifest that cannot be written is logged
//    as an error instead of the closing line.
// After Stop it logs nothing, touches no control and writes no manifest.
//
// Gives back how the pass ended: AllDone when every listed entry was backed up (a tool with no
// entries and no earlier list of backups included); SomeNotDone when the pass went to its end but
// an entry failed or was skipped (even where its earlier backup stays in the list); NotDone when
// the tool was not found, its listing failed (or did not finish) or came back empty where a list
// of backups existed, two backups in a row hung,
// the previous list of backups could not be read,
// the list of backups could not be written, or the pass was stopped.

#include <memory>

#include "tooldriver/ToolCommands.h"
#include "workers/PassHost.h"
#include "workers/portable/PassResult.h"

PassResult BackupWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host);
