#include "workers/portable/HistorySettings.h"

#include "common/portable/TextOps.h"

namespace {

std::optional<int> ReadCount(const Text& value) {
    const size_t first = value.find_first_not_of(" \t");
    if (first == Text::npos)
        return std::nullopt;
    const Text digits = value.substr(first, value.find_last_not_of(" \t") - first + 1);
    int count = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        count = count * 10 + (c - '0');
        if (count > kMaxKeepCount)
            return std::nullopt;
    }
    return count;
}

void ReadKey(const std::optional<Text>& value, const char* key, int defaultCount, int& count, TextArray& problems) {
    if (!value)
        return;
    if (const std::optional<int> read = ReadCount(*value)) {
        count = *read;
        return;
    }
    problems.push_back(Text("The settings file's ") + key + " under [" + kHistorySection + "] (\"" + *value +
                       "\") is not a whole number from 0 to " + IntToText(kMaxKeepCount) + ", so the default of " +
                       IntToText(defaultCount) + " applies.");
}

}  // namespace

HistorySettings HistorySettingsFromTexts(const std::optional<Text>& keepLast, const std::optional<Text>& keepDaily,
                                         const std::optional<Text>& keepWeekly,
                                         const std::optional<Text>& keepMonthly) {
    HistorySettings settings;
    RetentionRule& rule = settings.rule;
    ReadKey(keepLast, kKeepLastKey, kDefaultKeepLast, rule.keepLast, settings.problems);
    ReadKey(keepDaily, kKeepDailyKey, kDefaultKeepDaily, rule.keepDaily, settings.problems);
    ReadKey(keepWeekly, kKeepWeeklyKey, kDefaultKeepWeekly, rule.keepWeekly, settings.problems);
    ReadKey(keepMonthly, kKeepMonthlyKey, kDefaultKeepMonthly, rule.keepMonthly, settings.problems);
    return settings;
}

std::optional<int> ParseKeepCount(const Text& value) {
    const std::optional<int> count = ReadCount(value);
    if (!count || *count < 1)
        return std::nullopt;
    return count;
}
