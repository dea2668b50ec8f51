#pragma once
// The figures of the progress the window shows outside the log (WindowProgress.h shows them): the
// title ("Entry Keeper - backing up 12/50", "Entry Keeper - restoring 3/8", both when both run)
// and the share of the work done that the taskbar button shows. A pass's position is the entry or
// line it is at (1 for the first) out of its total.
//
// Platform-free; any thread.

#include <cstdint>
#include <optional>

#include "common/portable/Text.h"

struct PassPosition {
    int position;
    int total;
};

// The backup's and the restore's positions; nullopt for a pass that is not showing progress.
struct PassesShown {
    std::optional<PassPosition> backup;
    std::optional<PassPosition> restore;
};

// Between the program's name and what it does, and between the two passes.
inline constexpr char kProgressTitleSep[] = " - ";
inline constexpr char kProgressPassesSep[] = ", ";
inline constexpr char kBackingUpText[] = "backing up ";
inline constexpr char kRestoringText[] = "restoring ";

// kMainWindowTitle alone when no pass shows progress; else the title, kProgressTitleSep and what
// each pass does with its position ("backing up 12/50"), the backup first.
Text ProgressTitle(const PassesShown& shown);

// The work done and the whole work, for the taskbar: the entries and lines finished (those before
// each pass's position) out of the totals, both passes together. A total of 0 means no progress.
struct WorkDone {
    uint64_t done;
    uint64_t total;
};
WorkDone TaskbarWorkDone(const PassesShown& shown);
