#pragma once
// The retention rule as the settings file and the command line give it: the [History] section's
// four counts, which the program reads and never writes (a settings file it writes keeps only its
// designed items), and /keep:N, a count for one run.
//
// Platform-free (the file's calls are the caller's); any thread.

#include <optional>

#include "common/portable/Text.h"
#include "workers/portable/Retention.h"

inline constexpr char kHistorySection[] = "History";
inline constexpr char kKeepLastKey[] = "KeepLast";
inline constexpr char kKeepDailyKey[] = "KeepDaily";
inline constexpr char kKeepWeeklyKey[] = "KeepWeekly";
inline constexpr char kKeepMonthlyKey[] = "KeepMonthly";

// Each count is a whole number from 0 to this (/keep from 1).
inline constexpr int kMaxKeepCount = 9999;

struct HistorySettings {
    RetentionRule rule;
    // One log line for each value that was not used (its key's default applies instead).
    TextArray problems;
};

// The rule the stored texts give; nullopt for a key that is missing, which keeps its default. A
// value is a whole number from 0 to kMaxKeepCount, spaces and tabs around it allowed; any other
// keeps the default and adds a line to `problems`.
HistorySettings HistorySettingsFromTexts(const std::optional<Text>& keepLast, const std::optional<Text>& keepDaily,
                                         const std::optional<Text>& keepWeekly,
                                         const std::optional<Text>& keepMonthly);

// The count /keep:N gives: a whole number from 1 to kMaxKeepCount, spaces and tabs around it
// allowed. Nothing for 0 and for anything else, which the command line reports as a usage error.
std::optional<int> ParseKeepCount(const Text& value);
