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
//   exit-code N         the command does its work and answers as usual, then exits with N
//   die-backup          backups write the first part of the given file and then end at once with
//                       kDiedExitCode, as a tool does that crashes while it writes
//   die-list N          the entry listing prints its first N lines and then ends at once with
//                       kDiedExitCode, as a tool does that crashes while it lists
//   only NAME           limits slow, hang, hang-after, zero-byte, stderr and exit-code to the
//                       commands of that name (the names of CommandShapes.h: list, create, backup,
//                       restore, targets, target05, ...); several "only" lines add up
//
// Exit codes: 0 for an answer, the faults' answers included (backup-silent, zero-byte, stderr,
// slow, big-listing); 1 for a failure it reports (fail-all, restore-refuse, create-fail among
// them); 2 for a line of no known shape; kDiedExitCode for the faults that end it abruptly.
// The admin commands are never affected.

#include <vector>

#include "common/portable/Text.h"

namespace entryctl {

// The code of a tool that ended abruptly (die-backup, die-list): an access violation's.
inline constexpr unsigned kDiedExitCode = 0xC0000005u;

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
    bool exitCodeGiven = false;
    unsigned exitCode = 0;
    bool dieBackup = false;
    int dieListAfter = -1;  // -1: the listing does not die
    std::vector<Text> only;

    // Whether the output switches apply to the command of this name.
    bool AppliesTo(const Text& commandName) const;
};

Faults LoadFaults();

}  // namespace entryctl
