#pragma once
// What each command of the tool does. Runs with the folder lock held.

#include "common/portable/Text.h"
#include "tools/entryctl/Faults.h"
#include "tools/entryctl/LineMatch.h"

namespace entryctl {

struct Reply {
    Text out;  // standard output
    Text err;  // standard error (error messages: "entryctl: error: ...")
    int exitCode = 0;
    // The backup-torn and die-backup faults: once the folder lock is released, the first half of
    // `tornBytes` is written to `tornPath`; then the command never ends (backup-torn) or ends at
    // once with kDiedExitCode (`dies`).
    Text tornPath;
    Text tornBytes;
    // The die-list fault: once `out` (cut short) is printed, the command ends with kDiedExitCode.
    bool dies = false;
};

// Carries out the matched command on the tool's files and says what to print.
Reply RunCommand(const MatchedLine& line, const Faults& faults);

// The reply to a line that has no known shape.
Reply UnknownCommand();

}  // namespace entryctl
