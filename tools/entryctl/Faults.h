#pragma once
// Misbehaviour on request, for tests and the demo. kFaultsFile in the tool's folder holds one
// switch per line ('#' starts a comment line); a missing file means none:
//
//   backup-silent       backups print their usual success text but write no file
//   backup-torn         backups write the first half of the file straight to the given path (no
//                       temporary file, the file kept open) and then never end (wait until killed),
//                       as a tool does that is stopped or killed while it writes
//   fail-all            every command changes nothing and answers only with an error
//   restore-refuse      restores print an error (no success marker) and change nothing
//   create-fail         creates print an error (no marker)
//   big-listing N       the entry listing shows N generated entries after the real ones
//   slow MS             every line of output is preceded by a pause of MS milliseconds
//   hang                the command never answers (waits until it is killed)
//   hang-after          the command prints its answer, then never ends
//   zero-byte           a zero byte is printed after the first line of the answer
//   stderr              a warning line goes to standard error after the answer's first line
//   only NAME           limits slow, hang, hang-after, zero-byte and stderr to the commands of
//                       that name (the names of CommandShapes.h: list, create, backup, restore,
//                       targets, target05, ...); several "only" lines add up
//
// The admin commands are never affected.

#include <vector>

#include "common/Text.h"

namespace entryctl {

struct Faults {
    bool backupSilent = false;
    bool backupTorn = false;
    bool failAll = false;
    bool restoreRefuse = false;
    bool createFail = false;
    int bigListing = 0;
    int slowMs = 0;
    bool hang = false;
    bool hangAfter = false;
    bool zeroByte = false;
    bool toStderr = false;
    std::vector<Text> only;

    // Whether the output switches apply to the command of this name.
    bool AppliesTo(const Text& commandName) const;
};

Faults LoadFaults();

}  // namespace entryctl
