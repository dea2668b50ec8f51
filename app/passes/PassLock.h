#pragma once
// One copy of the program at a time runs passes on a program folder: a copy that the Task
// Scheduler started and one the user clicked must not write the same list of backups and backup
// files at once. The lock is a file in the program folder, kPassLockFileName, that a copy holds
// open without sharing while any of its passes runs (both of one copy may run together); it is
// created when missing and deleted by the system when the copy lets go. Every route to the folder
// (another spelling, a share, a second drive letter, a link) meets the same file, and a copy that
// ends without letting go, by a crash too, lets go as the system closes its handles. No name that
// another program could take first is involved; but anyone who can write the program folder can
// hold the file, and with it keep this copy's passes from starting.
//
// What opening the file answers decides (Acquire):
//  - a sharing violation: another copy holds it;
//  - "access denied": Windows answers so for a file that waits to be deleted (the last copy's
//    file, still open in a virus scanner, say), so the file is tried again for up to
//    kPassLockRetryMs; a lock file that still exists after that is held by another copy;
//  - anything else, or "access denied" without a lock file: when the folder takes no new file
//    either (a read-only program folder, which is a designed case), the pass runs without the
//    lock and its caller says so; when it does take one, something keeps this one name from
//    being opened, and that counts as held.
//
// Acquire may wait up to kPassLockRetryMs on the calling thread without handling its messages.
// One thread at a time (the window thread in the program); a file handle belongs to no thread.

#include <windows.h>

#include <functional>

#include "common/WinHandles.h"
#include "common/portable/Text.h"
#include "tooldriver/portable/CaptureLoop.h"

inline constexpr char kPassLockFileName[] = "EntryKeeper.lock";
// How long "access denied" is tried again before it is believed.
inline constexpr DWORD kPassLockRetryMs = 1000;

// Logged, instead of anything of the pass, when another copy is running passes on this folder.
inline constexpr char kPassLockedText[] =
    "Another copy of Entry Keeper is backing up or restoring with this program folder (it holds the file "
    "EntryKeeper.lock there), so this pass did not start. Try again when it has finished.";
// Logged before a pass that runs without the lock because the program folder takes no new file.
inline constexpr char kPassUnlockedText[] =
    "The program folder cannot be written to, so the file EntryKeeper.lock that keeps other copies of Entry "
    "Keeper out could not be made there: this pass runs, but another copy could back up or restore with this "
    "program folder at the same time.";

// The lock file of `programFolder` (given without a closing separator).
Text PassLockPath(const Text& programFolder);

// Opens the file at `path` as the lock holds it, creating it when missing: read and write, no
// sharing, deleted when closed. The handle, or none with the system's error code in `error`.
using LockFileOpener = std::function<UniqueFileHandle(const Text& path, DWORD& error)>;
UniqueFileHandle OpenLockFile(const Text& path, DWORD& error);

enum class PassLockResult {
    Held,               // this object holds the lock
    HeldElsewhere,      // another copy holds it: no pass may start
    FolderNotWritable,  // the program folder takes no file: passes run without the lock
};

class PassLock {
public:
    // The lock of `programFolder`; `opener` opens every file Acquire tries (tests answer for the
    // system with it).
    explicit PassLock(const Text& programFolder, LockFileOpener opener = OpenLockFile);
    // Lets go if held.
    ~PassLock() = default;
    PassLock(const PassLock&) = delete;
    PassLock& operator=(const PassLock&) = delete;

    // Takes the lock unless another copy holds it, as described above; already held counts as Held.
    PassLockResult Acquire();
    // Lets go (the file goes with it); nothing when not held.
    void Release() { file_.reset(); }
    // While held: `tool`, a tool command left running, holds the lock too, until it ends, whether
    // this object lets go or this program ends first, so no copy starts a pass while that tool
    // still writes. False when not held or the tool could not be given the file.
    bool ShareWith(const RunningProcess& tool);
    bool Held() const { return static_cast<bool>(file_); }

private:
    bool LockFileExists() const;
    // Whether a file of a name no one else uses can be made in the program folder (it goes again at once).
    bool FolderTakesNewFiles() const;

    Text path_;
    LockFileOpener open_;
    UniqueFileHandle file_;  // set exactly while held
};
