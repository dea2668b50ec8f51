#pragma once
// The backup pass: every entry the tool lists is written by the tool to a backup file in the folder
// the host's field names, and the list of backups (the manifest) in the program's folder is then
// replaced with one line per entry. Every step is a log line (PassTexts.h words them).
//
// Threads: the body of its own worker thread; returns when the pass has ended or has noticed Stop.
// Ownership: holds `commands` and `host` for as long as it runs and keeps its own list of the
// tool's entries, so a restore pass may run beside it.
//
// What it guarantees on disk, whatever happens (a failed command, Stop, a killed process):
//  - every backup file lies inside the chosen folder (its one canonical spelling), under a name
//    Windows accepts, and no two entries of a pass share a file by any route;
//  - a backup file holds its old backup or its new one, whole: a new one replaces it only once the
//    tool has written it completely and ended with a success code (StagedBackup.h);
//  - the manifest is replaced whole or not at all, and is left as it was when the folder cannot
//    take backups, the tool cannot be found, its listing failed or came back empty where the
//    manifest has lines, the previous manifest cannot be read, two backups in a row hung, or the
//    pass was stopped. An entry whose backup failed keeps its previous line while that file exists.
// After Stop it logs nothing, touches no control, starts no tool command and writes no manifest.
//
// Result: AllDone when every listed entry was backed up (a tool with no entries and no earlier
// list included); SomeNotDone when the pass went to its end but an entry failed or was skipped
// (each has its log line); NotDone when the manifest was left as it was (the cases above) or could
// not be written.

#include <memory>

#include "tooldriver/ToolCommands.h"
#include "workers/PassHost.h"
#include "workers/portable/PassResult.h"

PassResult BackupWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host);
