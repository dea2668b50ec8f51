#pragma once
// The log lines the passes write, put together from the fixed texts the way a reader of the log
// meets them, for the tests to compare with.

#include "common/portable/TextOps.h"
#include "workers/portable/PassTexts.h"

// name + text + "(entry k of count)".
inline Text EntryLine(const Text& name, const char* text, int k, int count) {
    return name + text + kProgressLeadIn + IntToText(k) + kProgressMid + IntToText(count) + kProgressTail;
}

// "1 entry", "3 entries".
inline Text EntryCountText(int count) {
    return IntToText(count) + (count == 1 ? kOneEntryTail : kEntriesTail);
}

inline Text BackupCountLine(int count, const Text& folder) {
    return kBackupCountLeadIn + EntryCountText(count) + kBackupCountTail + folder + kBackupCountClose;
}
inline Text BackupDoneLine(int count) {
    return kBackupAllDoneLeadIn + EntryCountText(count) + kBackupAllDoneTail;
}
inline Text BackupSummaryLine(int failed, int count) {
    return kBackupSummaryLeadIn + IntToText(failed) + kBackupSummaryMid + IntToText(count) + kBackupSummaryTail;
}

inline Text RestoreCountLine(int total) {
    return kRestoreCountLeadIn + EntryCountText(total) + kRestoreCountTail;
}
// The closing line of a restore pass: all restored, or how many of the lines failed.
inline Text RestoreSummaryLine(int total, int failed) {
    if (failed == 0)
        return kRestoreAllDoneLeadIn + EntryCountText(total) + kRestoreAllDoneTail;
    return kRestoreSummaryLeadIn + IntToText(failed) + kRestoreSummaryMid + IntToText(total) + kRestoreSummaryTail;
}
