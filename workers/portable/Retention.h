#pragma once
// Which generations the history keeps after a backup pass has written its own, and which it
// removes. The rule keeps, together:
//  - the keepLast newest generations;
//  - the newest of each of the keepDaily last local calendar days that have a generation;
//  - the newest of each of the keepWeekly last weeks (Monday to Sunday) that have one;
//  - the newest of each of the keepMonthly last calendar months that have one.
// Only periods that have a generation count, so a break of weeks never shrinks the history to
// the keepLast newest. "Newest" and "last" always go by sequence number, never by name or time:
// the period a generation falls in is the only thing its time decides. A newer generation with an
// older time (a clock set back) is still the newer one.
//
// Pinned generations stand outside the rule: they are always kept and take no place the rule
// gives. A generation being read by a restore and the one just written are always kept too, and
// count in the rule like any other.
//
// Platform-free; any thread.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "workers/portable/CalendarTime.h"

inline constexpr int kDefaultKeepLast = 10;
inline constexpr int kDefaultKeepDaily = 14;
inline constexpr int kDefaultKeepWeekly = 8;
inline constexpr int kDefaultKeepMonthly = 12;

struct RetentionRule {
    int keepLast = kDefaultKeepLast;
    int keepDaily = kDefaultKeepDaily;
    int keepWeekly = kDefaultKeepWeekly;
    int keepMonthly = kDefaultKeepMonthly;
    // Above 0 for a run that was given a count of its own (/keep:N): exactly the keepNewest newest
    // generations are kept, in place of the four counts above. 0: not given.
    int keepNewest = 0;

    // All four counts at 0: no generation is made and none is removed (a count of this run's own
    // does not turn history on).
    bool HistoryOff() const { return keepLast <= 0 && keepDaily <= 0 && keepWeekly <= 0 && keepMonthly <= 0; }
};

// One complete generation of the history, as the caller read it from its folder.
struct RetentionCandidate {
    uint64_t sequence = 0;
    // The local date and time of its recorded start (UTC), as the caller converted it.
    CalendarTime localStart;
    bool pinned = false;       // its folder's name ends in the pin
    bool beingRead = false;    // a restore is reading it
    bool justWritten = false;  // the generation the pass that asks has just written
};

// Positions in the caller's list, each list newest first (by sequence number; generations of one
// number keep the caller's order). Every position is in exactly one of the two.
struct RetentionPlan {
    std::vector<size_t> keep;
    std::vector<size_t> remove;
};

// The plan for `generations` under `rule`. With history off, everything is kept.
RetentionPlan PlanRetention(const std::vector<RetentionCandidate>& generations, const RetentionRule& rule);
