#pragma once
// An entry's new backup, written by the tool beside the backup file under a staging name and put
// in the backup file's place in one step once it is complete. The backup file never leaves its
// name: whenever the program stops (Stop, closing, a crash), every entry's backup file holds the
// old backup or the new one, whole. An interrupted pass leaves at most a staging file, which the
// next pass removes.
//
// Use: StagingPath() is what the tool is told to write; Commit() once the tool's command has
// ended. Any thread; one object per entry and pass.

#include "common/portable/Text.h"

class StagedBackup {
public:
    // `file` is the entry's backup file path. The staging path beside it is new to this object:
    // it holds this process's id and a number no other object of the process had.
    explicit StagedBackup(const Text& file);

    const Text& File() const { return file_; }
    const Text& StagingPath() const { return staging_; }

    enum class Outcome {
        Replaced,        // the new backup now stands under the backup file's name
        NothingWritten,  // the tool wrote no file, or an empty one; the backup file is untouched
        NotSaved,        // the new backup could not be flushed to the disk (still held open for
                         // writing elsewhere, a disk error); the backup file is untouched
        ReadOnly,        // the backup file is read-only and stays as it is
        NotReplaced,     // the new backup could not take the backup file's place (held open
                         // elsewhere for longer than the retries wait); the backup file is untouched
    };

    // Only after the tool has surely ended: a tool left running after Stop may still be writing,
    // and its file then stays for the next pass to remove. The new backup is flushed to the disk
    // before it takes the backup file's place, so once the pass has gone on, the system's cache
    // holds none of it. A staging file that is not used is deleted (unless another program still
    // holds it open, when the next pass removes it).
    Outcome Commit();

    // The tool's command did not end as a backup must (it failed, died or was ended): whatever it
    // wrote is deleted and the backup file is left as it was. A file still held open by a tool left
    // running stays for the next pass to remove.
    void Discard();

private:
    Text file_;
    Text staging_;
};

// Deletes every staging file that an earlier, interrupted pass left in `folder`. Files of other
// names are never touched; a staging file still held open by a tool stays for a later pass.
void RemoveLeftoverStagingFiles(const Text& folder);
