// The retention rule: which generations stay after a backup. Every case is also run with the
// generations handed in reversed, since the caller's order (folder listing order) means nothing.

#include "workers/portable/Retention.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

struct Gen {
    uint64_t sequence;
    const char* local;  // "YYYY-MM-DD HH:MM:SS"
    bool pinned = false;
    bool beingRead = false;
    bool justWritten = false;
};

CalendarTime At(const char* local) {
    CalendarTime t;
    EXPECT_EQ(std::sscanf(local, "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second), 6);
    EXPECT_TRUE(IsValidCalendarTime(t)) << local;
    return t;
}

std::vector<RetentionCandidate> Candidates(const std::vector<Gen>& gens) {
    std::vector<RetentionCandidate> candidates;
    for (const Gen& g : gens)
        candidates.push_back({g.sequence, At(g.local), g.pinned, g.beingRead, g.justWritten});
    return candidates;
}

std::vector<uint64_t> Sequences(const std::vector<RetentionCandidate>& candidates, const std::vector<size_t>& at) {
    std::vector<uint64_t> sequences;
    for (size_t i : at)
        sequences.push_back(candidates.at(i).sequence);
    return sequences;
}

// The sequence numbers kept, newest first, after checking that the plan accounts for every
// generation exactly once, each list newest first.
std::vector<uint64_t> Kept(const std::vector<RetentionCandidate>& candidates, const RetentionRule& rule) {
    const RetentionPlan plan = PlanRetention(candidates, rule);
    std::vector<size_t> all = plan.keep;
    all.insert(all.end(), plan.remove.begin(), plan.remove.end());
    std::sort(all.begin(), all.end());
    std::vector<size_t> each(candidates.size());
    for (size_t i = 0; i < each.size(); ++i)
        each[i] = i;
    EXPECT_EQ(all, each) << "every generation kept or removed, once";
    const std::vector<uint64_t> kept = Sequences(candidates, plan.keep);
    const std::vector<uint64_t> removed = Sequences(candidates, plan.remove);
    EXPECT_TRUE(std::is_sorted(kept.rbegin(), kept.rend()));
    EXPECT_TRUE(std::is_sorted(removed.rbegin(), removed.rend()));
    return kept;
}

RetentionRule Rule(int last, int daily, int weekly, int monthly, int newest = 0) {
    return RetentionRule{last, daily, weekly, monthly, newest};
}

// Daily backups at 02:00 on 1 to 30 January 2026 (sequence numbers 1 to 30), a break of three
// weeks, and one on Saturday 21 February (31).
std::vector<Gen> JanuaryThenABreak() {
    static char dates[31][20];
    std::vector<Gen> gens;
    for (int day = 1; day <= 30; ++day) {
        std::snprintf(dates[day - 1], sizeof dates[0], "2026-01-%02d 02:00:00", day);
        gens.push_back({static_cast<uint64_t>(day), dates[day - 1]});
    }
    gens.push_back({31, "2026-02-21 02:00:00"});
    return gens;
}

TEST(RetentionTest, KeepsTheNewestOfEachPeriodBySequenceNumber) {
    struct Case {
        const char* name;
        RetentionRule rule;
        std::vector<Gen> gens;
        std::vector<uint64_t> kept;
    } cases[] = {
        {"the newest few",
         Rule(3, 0, 0, 0),
         {{1, "2026-03-01 02:00:00"}, {2, "2026-03-02 02:00:00"}, {3, "2026-03-03 02:00:00"},
          {4, "2026-03-04 02:00:00"}, {5, "2026-03-05 02:00:00"}},
         {5, 4, 3}},
        {"the newest of each day",
         Rule(0, 2, 0, 0),
         {{1, "2026-03-01 10:00:00"}, {2, "2026-03-01 23:00:00"}, {3, "2026-03-02 00:30:00"},
          {4, "2026-03-02 23:59:59"}, {5, "2026-03-03 00:00:00"}},
         {5, 4}},
        {"equal times: the higher number is the newer",
         Rule(0, 1, 0, 0),
         {{8, "2026-03-01 02:00:00"}, {7, "2026-03-01 02:00:00"}},
         {8}},
        {"daylight saving ends: the same local hour twice, the later pass with the earlier clock",
         Rule(0, 2, 0, 0),
         {{1, "2026-10-24 12:00:00"}, {2, "2026-10-25 02:30:00"}, {3, "2026-10-25 02:10:00"}},
         {3, 1}},
        {"daylight saving starts: a short day is one day",
         Rule(0, 2, 0, 0),
         {{1, "2026-03-28 23:00:00"}, {2, "2026-03-29 01:59:59"}, {3, "2026-03-29 03:00:00"}},
         {3, 1}},
        {"weeks start on Monday",
         Rule(0, 0, 2, 0),
         // Sunday 1 March ends a week; Monday 2 and Sunday 8 March are one week.
         {{1, "2026-03-01 02:00:00"}, {2, "2026-03-02 02:00:00"}, {3, "2026-03-08 02:00:00"}},
         {3, 1}},
        {"a week across a year's end",
         Rule(0, 0, 3, 0),
         // Monday 29 December 2025 to Sunday 4 January 2026 is one week.
         {{1, "2025-12-28 02:00:00"}, {2, "2025-12-29 02:00:00"}, {3, "2026-01-01 02:00:00"},
          {4, "2026-01-04 02:00:00"}, {5, "2026-01-05 02:00:00"}},
         {5, 4, 1}},
        {"week 53 runs into the next year",
         Rule(0, 0, 2, 0),
         {{1, "2020-12-28 02:00:00"}, {2, "2021-01-03 02:00:00"}, {3, "2021-01-04 02:00:00"}},
         {3, 2}},
        {"months of two years are different months",
         Rule(0, 0, 0, 3),
         {{1, "2025-11-30 02:00:00"}, {2, "2025-12-01 02:00:00"}, {3, "2025-12-31 23:59:59"},
          {4, "2026-01-01 00:00:00"}, {5, "2026-01-15 02:00:00"}, {6, "2026-12-01 02:00:00"}},
         {6, 5, 3}},
        {"a day across a year's end",
         Rule(0, 2, 0, 0),
         {{1, "2025-12-31 23:59:58"}, {2, "2025-12-31 23:59:59"}, {3, "2026-01-01 00:00:00"}},
         {3, 2}},
        {"only days that have a generation count",
         Rule(0, 3, 0, 0),
         {{1, "2026-01-01 02:00:00"}, {2, "2026-01-02 02:00:00"}, {3, "2026-01-03 02:00:00"},
          {4, "2026-01-04 02:00:00"}, {5, "2026-02-01 02:00:00"}},
         {5, 4, 3}},
        {"the default rule after a break of three weeks",
         RetentionRule{},
         JanuaryThenABreak(),
         // 10 newest: 31-22; 14 days: 31, 30-18; weeks: 31, 30, 25, 18, 11, 4; months: 31, 30.
         {31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 11, 4}},
        {"a clock set back: the newest stays the newest",
         Rule(1, 2, 0, 0),
         {{1, "2026-05-10 02:00:00"}, {2, "2026-05-11 02:00:00"}, {3, "2026-05-12 02:00:00"},
          {4, "2026-05-09 02:00:00"}},
         {4, 3}},
        {"a clock set back into a day met before",
         Rule(0, 2, 0, 0),
         {{1, "2026-05-10 02:00:00"}, {2, "2026-05-11 02:00:00"}, {3, "2026-05-10 01:00:00"}},
         {3, 2}},
        {"a count for this run keeps exactly that many",
         Rule(10, 14, 8, 12, 2),
         {{1, "2025-01-01 02:00:00"}, {2, "2025-06-01 02:00:00"}, {3, "2026-01-01 02:00:00"},
          {4, "2026-06-01 02:00:00"}},
         {4, 3}},
        {"history off removes nothing, whatever this run's count",
         Rule(0, 0, 0, 0, 1),
         {{1, "2026-01-01 02:00:00"}, {2, "2026-01-02 02:00:00"}},
         {2, 1}},
        {"pinned ones stand outside the rule",
         Rule(2, 0, 0, 0),
         {{1, "2026-01-01 02:00:00", true}, {2, "2026-01-02 02:00:00"}, {3, "2026-01-03 02:00:00"},
          {4, "2026-01-04 02:00:00", true}, {5, "2026-01-05 02:00:00"}},
         {5, 4, 3, 1}},
        {"pinned ones stand outside a count for this run",
         Rule(10, 14, 8, 12, 1),
         {{1, "2026-01-01 02:00:00"}, {2, "2026-01-02 02:00:00", true}, {3, "2026-01-03 02:00:00"}},
         {3, 2}},
        {"one a restore reads stays, and counts in the rule",
         Rule(2, 0, 0, 0),
         {{1, "2026-01-01 02:00:00", false, true}, {2, "2026-01-02 02:00:00"},
          {3, "2026-01-03 02:00:00", false, true}, {4, "2026-01-04 02:00:00"}},
         {4, 3, 1}},
        {"the one just written stays, even below a higher number copied in",
         Rule(1, 0, 0, 0, 1),
         {{90, "2026-01-01 02:00:00"}, {5, "2026-01-02 02:00:00", false, false, true}, {4, "2026-01-01 01:00:00"}},
         {90, 5}},
        {"no generation at all", RetentionRule{}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<RetentionCandidate> candidates = Candidates(c.gens);
        EXPECT_EQ(Kept(candidates, c.rule), c.kept);
        std::reverse(candidates.begin(), candidates.end());
        EXPECT_EQ(Kept(candidates, c.rule), c.kept) << "handed in reversed";
    }
}

TEST(RetentionTest, ThePlanNamesTheCallersPositions) {
    // Listed as a folder listing might, by name; the numbers say otherwise.
    const std::vector<RetentionCandidate> candidates = Candidates({
        {3, "2026-01-01 02:00:00"},
        {1, "2026-01-02 02:00:00"},
        {4, "2026-01-03 02:00:00"},
        {2, "2026-01-04 02:00:00"},
    });
    const RetentionPlan plan = PlanRetention(candidates, Rule(2, 0, 0, 0));
    EXPECT_EQ(plan.keep, (std::vector<size_t>{2, 0}));
    EXPECT_EQ(plan.remove, (std::vector<size_t>{3, 1}));
}

}  // namespace
