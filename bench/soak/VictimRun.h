#pragma once
// The run of a round in which one process is ended at a random moment (KillPlan.h): the program
// during its pass, the tool during a backup or a listing, or a command-line run together with
// everything it started. The tool's fault switches widen the moment where needed (a slow answer,
// a slow listing, a backup caught halfway) and are cleared right after the kill, so the rest of the
// run goes at its usual pace. Afterwards nothing the run started is alive any more.
//
// One thread.

#include <windows.h>

#include <optional>
#include <vector>

#include "bench/soak/KillPlan.h"
#include "common/portable/Text.h"

// Where the run happens and how long its pass is expected to take.
struct VictimSetting {
    Text programFolder;
    Text backupFolder;
    Text toolFolder;
    Text logFile;
    // From the program's start to its end, for a pass like this one without faults.
    DWORD expectedRunMs = 3000;
    // Entries in the tool's store when the run starts.
    int entryCount = 0;
};

struct VictimOutcome {
    // The plan's process was ended while it did its part.
    bool killed = false;
    // How the run ended when it ended by itself (a kill of the tool leaves the program running on).
    std::optional<DWORD> exitCode;
    // What happened, for the report: what was ended and when, and how the run ended.
    Text account;
    // Broken states the run itself showed (a run that never ended after its tool was ended).
    std::vector<Text> findings;
};

VictimOutcome RunVictim(const KillPlan& plan, const VictimSetting& setting);
