#pragma once
// What one round of the soak ends, and when. Drawn from the round's random source, so a round's
// plan follows from the seed alone; the moment is a share of a window the round measures, so on a
// replay the same share may fall some milliseconds apart.
//
// Any thread.

#include <random>

#include "common/portable/Text.h"

enum class Pass { Backup, Restore };

enum class Victim {
    ProgramInPass,  // the program, during a backup or a restore
    ToolInBackup,   // the tool, while it writes an entry's backup
    ToolInListing,  // the tool, while it lists the entries for a backup or a restore
    RunCutOff,      // a command-line run and everything it started, as when a scheduled task is stopped
};

struct KillPlan {
    Victim victim = Victim::ProgramInPass;
    Pass pass = Pass::Backup;
    // ProgramInPass: the pass started by its button in the window instead of /backup or /restore.
    bool throughWindow = false;
    // ToolInBackup: the tool writes the backup file itself and is caught halfway (its backup-torn
    // fault) instead of answering slowly after writing it.
    bool torn = false;
    // Tool kills: which backup or listing command of the pass is ended, from 1.
    int command = 1;
    // Where in the kill's window the kill falls, from 0 (its start) to 1 (its end).
    double moment = 0;
    // The exit code the ended process reports (never 0: no one ends a process as a success).
    unsigned long exitCode = 1;
};

// A plan for a round whose tool starts with `entryCount` entries. The four victims come about
// equally often, and the program as often in a backup as in a restore.
KillPlan PlanKill(std::mt19937_64& random, int entryCount);

// The kind of kill, for the report's tally ("the tool while it lists the entries, in a restore").
Text KillKind(const KillPlan& plan);

// The whole plan, for the description of a broken state.
Text DescribePlan(const KillPlan& plan);
