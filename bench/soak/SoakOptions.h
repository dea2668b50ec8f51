#pragma once
// The soak's command line:
//
//   CrashSoak.exe <folder> [--kills N] [--seed S] [--round R]
//
// <folder>: where the soak works (an existing folder; what it holds is the soak's to change).
// --kills: how many kills to make before it stops (default 100). --seed: the seed of every random
// choice (default: one drawn from the clock, printed so the run can be replayed). --round: run only
// that round of the seed, to replay a broken state.
//
// Platform-free; any thread.

#include <cstdint>
#include <optional>

#include "common/portable/Text.h"

struct SoakOptions {
    Text folder;
    int kills = 100;
    std::optional<uint64_t> seed;
    int onlyRound = 0;  // 0: every round until the kills are made
};

// The options of `arguments` (without the program's name); nothing when they cannot be read.
std::optional<SoakOptions> ReadSoakOptions(int count, const char* const* arguments);

inline constexpr char kSoakUsage[] = "usage: CrashSoak.exe <folder> [--kills N] [--seed S] [--round R]";
