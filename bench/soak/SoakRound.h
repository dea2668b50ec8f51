#pragma once
// One round of the soak. From a known start (the round's entries in the tool, backed up by a clean
// backup that finished "all done") one run of the program in which one process is ended at a random
// moment (KillPlan.h), then the checks (RoundChecks.h): the tool's store; the list of backups; a
// clean restore, after the tool's entries were damaged, that must bring back every entry's last
// good backup byte for byte. The round ends with the next round's entries in the tool and a clean
// backup of them, after which no temporary file may stay: that backup is the next round's start.
//
// A round's entries and plan depend on the seed and its number only, so it can be run again alone
// (from an empty backup folder: a first round, or one after a broken end, starts with its own
// clean backup). One thread.

#include <cstdint>
#include <vector>

#include "bench/soak/KillPlan.h"
#include "bench/soak/SoakPlace.h"
#include "common/portable/Text.h"

// What one round hands the next.
struct SoakState {
    // The tool holds the next round's entries and a clean backup of them finished "all done".
    bool startReady = false;
    // How long that backup ran, from the program's start to its end: the window of a backup's kill.
    DWORD backupMs = 0;
    // What a restore takes against a backup of the same entries, learnt as the soak goes: with
    // backupMs, the window of a restore's kill.
    double restorePerBackup = 1.6;
};

struct RoundOutcome {
    KillPlan plan;
    // The plan's process was ended while it did its part (otherwise the round had no kill).
    bool killed = false;
    // What was ended, when, and how the run ended.
    Text account;
    // The broken state: what the checks found, one line each; empty when the state was sound.
    std::vector<Text> findings;
    // What the checks noticed that is not the program's fault.
    std::vector<Text> notes;
    // Where the round's logs, the state after the kill and the reference were kept (broken rounds).
    Text keptFolder;
    DWORD elapsedMs = 0;
};

RoundOutcome RunRound(const SoakPlace& place, uint64_t seed, int round, SoakState& state);
