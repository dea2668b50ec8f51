#pragma once
// What the soak checks after a kill. Each check returns its findings, one line each for the report,
// and none when the state is sound. A state is broken only where the user has lost a good copy or
// would be misled: a pass that ended saying it did not finish is no finding by itself.
//
// Any thread; no run of the program or the tool may be alive while a check reads.

#include <map>
#include <vector>

#include "bench/soak/ToolStore.h"
#include "common/portable/Text.h"

// For each entry that must still be restorable: the versions a restore may rightly bring back (the
// last backup that finished "all done", and a newer one that a cut-off pass may have written whole).
using GoodVersions = std::map<Text, std::vector<ToolEntry>>;

// The tool's store after the run: whole (ToolStore.h), no entry of `before` gone, and every entry
// either as it was before, or - after a restore - as its good version in `restorable`, or for an
// entry the restore had to create, created and still empty. `restorable` is empty after a backup,
// which changes no entry.
std::vector<Text> CheckToolStore(const Text& storePath, const ToolEntries& before, const GoodVersions& restorable);

// The list of backups at `listPath` still leads every entry of `good` to a whole backup file of it
// that holds one of its good versions, and no two of its lines lead to one file.
std::vector<Text> CheckListOfBackups(const Text& listPath, const GoodVersions& good);

// After a restore that ran to its end on its own: every entry of `good` is in the tool's store as one
// of its good versions.
std::vector<Text> CheckRestored(const Text& storePath, const GoodVersions& good);

// After a clean backup: the program folder holds only the program's own files and the backup folder
// only backup files: no staging file, no temporary list. A temporary file that the tool itself left
// beside a staging file it was writing when it was ended is not the program's: it goes to `notes`.
std::vector<Text> CheckNoTemporaryFiles(const Text& programFolder, const Text& backupFolder, std::vector<Text>* notes);
