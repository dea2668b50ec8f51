#pragma once
// What is wrong with a backup folder (BackupFolderCheck.h finds it; the passes' log lines word it).
//
// Platform-free; a plain value.

// What is wrong with a backup folder, in the order the check finds it.
enum class FolderProblem {
    None,
    Empty,        // no folder given
    NotAbsolute,  // not a full path (would land relative to the current drive or directory)
    TooLong,      // once resolved, too long for a backup file and its staging file within the path limit
    DriveMissing, // on a drive letter this session does not have (a task run whether or not the
                  // user is logged on sees no mapped drives)
    Missing,      // no such file or folder
    NotAFolder,   // a file of that name
    Unreachable,  // the system cannot tell (a server that does not answer, access denied, ...)
    NotWritable,  // a folder in which no new file can be made
};
