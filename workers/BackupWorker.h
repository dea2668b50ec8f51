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
//  - an entry whose backup the tool did not write is logged as failed, keeps its previous backup
//    file, and is counted; the closing line then reports the failures;
//  - a name or folder that cannot be passed to the tool or recorded in the manifest is skipped
//    with the reason, and counted;
//  - every backup file lands inside the chosen folder under a name Windows accepts, one per entry;
//  - the manifest is replaced whole or not at all; a manifest that cannot be written is logged
//    as an error instead of the closing line.
// After Stop it logs nothing, touches no control and writes no manifest.

#include <memory>

#include "tooldriver/ToolCommands.h"
#include "workers/PassHost.h"

void BackupWorker(std::shared_ptr<ToolCommands> commands, PassHostPtr host);
