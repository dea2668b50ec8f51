#pragma once
// One copy of the program at a time runs passes on a program folder: a copy that the Task
// Scheduler started and one the user clicked must not write the same manifest and backup files at
// once. The lock is a named mutex, named after the program folder (PassLockName.h); a copy holds
// it while any of its passes runs (both of one copy may run together) and lets go when the last
// has ended. A copy that ends while holding it lets go with the process.
//
// The folder's name is made full and long (no short 8.3 names), its separators '\', a closing one
// dropped, and its letter case folded as Windows compares paths, so every spelling of one folder
// gives one lock.
//
// A lock another user's copy holds cannot be opened and counts as held; so does one taken by any
// program that spells the same name.
//
// Window thread only: a mutex belongs to the thread that took it. (A lock destroyed on another
// thread while held only closes its handle; the system lets go of the mutex when the window
// thread ends.)

#include <windows.h>

#include "common/Text.h"
#include "common/WinHandles.h"

// Logged, instead of anything of the pass, when another copy is running passes on this folder.
inline constexpr char kPassLockedText[] =
    "Another copy of Entry Keeper is backing up or restoring with this program folder, so this pass did not start. "
    "Try again when it has finished.";

// The lock's name for `programFolder`, as described above.
Text PassLockNameOf(const Text& programFolder);

class PassLock {
public:
    explicit PassLock(const Text& programFolder);
    // Lets go if held.
    ~PassLock();
    PassLock(const PassLock&) = delete;
    PassLock& operator=(const PassLock&) = delete;

    // Takes the lock unless another copy holds it. True when this object now holds it (already
    // held counts). A lock left behind by a copy that ended without letting go is taken.
    bool Acquire();
    // Lets go; nothing when not held.
    void Release();
    bool Held() const { return static_cast<bool>(mutex_); }

private:
    Text name_;
    UniqueHandle mutex_;  // set exactly while held
};
