#pragma once
// The soak's tally and its report: how many kills of each kind, the rounds without a kill, every
// broken state with what a developer needs to replay it, what was noticed besides, and the time.
//
// One thread.

#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

#include "bench/soak/SoakRound.h"
#include "common/portable/Text.h"

class SoakReport {
  public:
    explicit SoakReport(uint64_t seed) : seed_(seed) {}

    void Add(int round, const RoundOutcome& outcome);

    int Kills() const { return kills_; }
    int Rounds() const { return rounds_; }
    int BrokenStates() const { return static_cast<int>(broken_.size()); }

    // The round just added, for the progress output: its line, and below it what happened.
    Text RoundLine(int round, const RoundOutcome& outcome) const;
    // The whole report, with `elapsedMs` as the time taken.
    Text Summary(DWORD elapsedMs) const;

  private:
    uint64_t seed_;
    int rounds_ = 0;
    int kills_ = 0;
    std::map<Text, int> killsByKind_;
    std::map<Text, int> missesByKind_;
    std::vector<Text> broken_;
    std::vector<Text> notes_;
};
