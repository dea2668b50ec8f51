#include "workers/portable/Retention.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace {

// Marks the newest generation of each of the `count` last periods that have one. `byAge` is newest
// first, so the first generation met in a period is its newest, and the periods are met from the
// last backwards; a period met again further down (a clock set back) has its newest already.
template <typename PeriodOf>
void KeepNewestOfEachPeriod(const std::vector<RetentionCandidate>& generations, const std::vector<size_t>& byAge,
                            int count, PeriodOf periodOf, std::vector<bool>& keep) {
    std::set<int64_t> periods;
    for (size_t i : byAge) {
        const int64_t period = periodOf(generations[i].localStart);
        if (periods.count(period) != 0)
            continue;
        if (periods.size() >= static_cast<size_t>(std::max(count, 0)))
            break;
        periods.insert(period);
        keep[i] = true;
    }
}

void KeepNewest(const std::vector<size_t>& byAge, int count, std::vector<bool>& keep) {
    for (size_t k = 0; k < byAge.size() && k < static_cast<size_t>(std::max(count, 0)); ++k)
        keep[byAge[k]] = true;
}

}  // namespace

RetentionPlan PlanRetention(const std::vector<RetentionCandidate>& generations, const RetentionRule& rule) {
    std::vector<size_t> newestFirst(generations.size());
    std::iota(newestFirst.begin(), newestFirst.end(), size_t{0});
    std::stable_sort(newestFirst.begin(), newestFirst.end(),
                     [&](size_t a, size_t b) { return generations[a].sequence > generations[b].sequence; });

    std::vector<bool> keep(generations.size(), rule.HistoryOff());
    std::vector<size_t> ruled;  // the generations the rule decides on, newest first
    for (size_t i : newestFirst) {
        const RetentionCandidate& g = generations[i];
        if (g.pinned || g.beingRead || g.justWritten)
            keep[i] = true;
        if (!g.pinned)
            ruled.push_back(i);
    }
    if (rule.keepNewest > 0) {
        KeepNewest(ruled, rule.keepNewest, keep);
    } else {
        KeepNewest(ruled, rule.keepLast, keep);
        KeepNewestOfEachPeriod(generations, ruled, rule.keepDaily, DayNumber, keep);
        KeepNewestOfEachPeriod(generations, ruled, rule.keepWeekly, WeekStartDayNumber, keep);
        KeepNewestOfEachPeriod(
            generations, ruled, rule.keepMonthly,
            [](const CalendarTime& t) { return static_cast<int64_t>(t.year) * 12 + t.month; }, keep);
    }

    RetentionPlan plan;
    for (size_t i : newestFirst)
        (keep[i] ? plan.keep : plan.remove).push_back(i);
    return plan;
}
