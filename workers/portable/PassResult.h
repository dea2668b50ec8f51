#pragma once
// How a backup or restore pass ended, as the pass gives it back when it returns. The window does
// nothing with it (every end is already in the log); a run started from the command line makes
// its exit code of it.
//
// Platform-free.

enum class PassResult {
    // Every entry was backed up, or every line of the list of backups restored (none at all
    // counts: an empty tool or an empty list of backups).
    AllDone,
    // The pass went to its end, but some entries or lines failed or were skipped (each is logged).
    SomeNotDone,
    // The pass could not run or could not keep its result: the backup folder could not take the
    // backups (none given, not a full path, missing, not writable), the tool was not found, its
    // listing failed (or did not finish) or came back empty where a list of backups existed, the
    // list of backups could not be read or written, two backups in a row hung, creating a missing
    // entry ended the restore, a restore or create hung and was left running, or the pass was stopped.
    NotDone,
};
