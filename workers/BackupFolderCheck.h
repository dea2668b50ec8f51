#pragma once
// Whether the backup pass may write into a folder, and the one spelling of it that every backup
// path of the pass is built from. It must be named in full (a drive or a server share, never a
// place that depends on the current drive or directory), leave room within the platform's path
// limit for a backup file and its staging file, exist, be a folder, and take a new file. The check
// creates nothing that stays: the file it writes to find out is deleted again, and a missing
// folder is not created.
//
// Any thread.

#include "common/portable/Text.h"
#include "workers/portable/FolderProblem.h"

struct FolderCheck {
    FolderProblem problem = FolderProblem::None;
    // The folder as the system resolves it (common/ResolvedPath.h: CanonicalFolder): full, long
    // names, "." and ".." taken, no closing separator but a drive root's. Empty unless the folder
    // is absolute.
    Text canonical;
};

// Checks `folder` as the field gives it. Writing is tried by creating a file of a name no other
// process uses in the folder and deleting it again (the system deletes it on close in any case).
FolderCheck CheckBackupFolder(const Text& folder);
