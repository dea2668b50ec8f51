#pragma once
// The names of generation folders inside the backup folder's history folder. A name is for people
// to read: the local time its pass started, "2026-12-11_020003", then "_2", "_3"... when that name
// was taken, then "_before-restore" for the safety copy a restore makes before it writes over
// entries, then "-keep" when a user pinned it by renaming the folder. A name never orders
// generations (each records its sequence number for that) and decides only what a folder is:
// the history is cleaned up only in folders whose names read exactly so.
//
// Platform-free; any thread.

#include <optional>

#include "common/portable/Text.h"
#include "workers/portable/CalendarTime.h"

// The folder inside the backup folder that holds the generations.
inline constexpr char kHistoryFolderName[] = "EntryKeeper-history";
// Goes before the number of a name that was taken ("2026-12-11_020003_2").
inline constexpr char kGenerationNumberMark[] = "_";
// Ends the name of a generation that a restore made of the entries it was about to write over.
inline constexpr char kBeforeRestoreSuffix[] = "_before-restore";
// Ends the name of a generation a user pinned: retention never removes it.
inline constexpr char kPinSuffix[] = "-keep";

enum class GenerationKind {
    Backup,         // left by a backup pass
    BeforeRestore,  // the entries a restore wrote over, as they were before it
};

// What a generation folder's name says.
struct GenerationName {
    CalendarTime localStart;  // to the second
    int number = 1;           // 1 for a name without a number, else 2 and up
    GenerationKind kind = GenerationKind::Backup;
    bool pinned = false;
};

// The name of a new generation that started at `localStart`: its time, then the number when above
// 1, then the kind's suffix. Empty text when `localStart` is not a valid time or `number` is below 1.
Text GenerationFolderName(const CalendarTime& localStart, int number, GenerationKind kind);

// The first of GenerationFolderName(localStart, 1, kind), (localStart, 2, kind)... that is not
// taken by a name in `taken` (the names already in the history folder). Letter case does not tell
// names apart, as it does not in Windows' folder names, and a pinned name takes its unpinned form
// too, so that no two generations differ only by a user's pin. Empty text for an invalid time.
Text FreeGenerationName(const CalendarTime& localStart, GenerationKind kind, const TextArray& taken);

// What `folderName` says when it is exactly a generation name as above: valid date and time, a
// number of 2 or more without leading zeros, the suffixes in that order (their letters in any
// case). Nothing for every other name, which then is no generation: never offered, never removed.
std::optional<GenerationName> ReadGenerationName(const Text& folderName);
