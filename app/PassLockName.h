#pragma once
// The name of the lock that lets one copy of the program at a time run passes on a program folder
// (PassLock.h). Made from the folder's full path as UTF-16, letter case already folded the way
// Windows compares paths, so every spelling of one folder gives one name. A name cannot hold a
// backslash and is limited in length, so the path is hashed (64-bit FNV-1a over its UTF-16
// code units, low byte first) rather than spelled out; the hash is part of the name every copy,
// of every version, must agree on.
//
// Platform-free; any thread.

#include <string>

#include "common/Text.h"

// In the global namespace, so a copy that the Task Scheduler runs in another session sees it too.
inline constexpr char kPassLockNamePrefix[] = "Global\\EntryKeeper.Passes.";

// kPassLockNamePrefix and the hash of `foldedFolder` as 16 lower-case hexadecimal digits.
Text PassLockName(const std::u16string& foldedFolder);
