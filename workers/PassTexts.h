#pragma once
// The fixed texts of the backup and restore passes: file names of the manifest and of backup
// files, and the pieces of every log line the passes write. The progress separator between a
// position and a count ("2/3") is kProgressSep in common/SharedTexts.h.

// The manifest, in the program's folder (which is given without a closing separator).
inline constexpr char kManifestFileName[] = "\\EntryKeeper-backups.txt";
// Between an entry's name and its backup file's path on one manifest line. A tab: the tool's
// listing splits its fields at tabs, so no listed name holds one, and no Windows path can.
inline constexpr char kManifestSep[] = "\t";
// Ending of every backup file name.
inline constexpr char kBackupFileExt[] = ".ekb";
// Name given to an entry that the tool lists without one, followed by its position counted from 0.
inline constexpr char kDefaultNamePrefix[] = "Unnamed entry ";
// The tool writes a new backup beside the old one, under the backup file's path followed by a dot,
// a writer's token (digits and '-') and this ending; only a complete file then takes the backup
// file's name. Not ending in kBackupFileExt, such a name is never another entry's backup file.
inline constexpr char kStagingFileExt[] = ".partial";
// Added before a number to a backup file name already used by another entry of the same pass.
inline constexpr char kDuplicateMark[] = "~";
// Replaces each character a Windows file name cannot hold, and goes in front of a device name.
inline constexpr char kFileNameFiller = '_';

// Shared by both passes: begins the count lines and the restore summary.
inline constexpr char kCountLeadIn[] = "Total: ";

// Backup pass.
inline constexpr char kBackupCountTail[] = " entries to back up";
inline constexpr char kToolMissingText[] =
    "The tool could not be found, so nothing was backed up; the previous list of backups was kept.";
inline constexpr char kBackupStartText[] = ": backing up ";
inline constexpr char kBackupDoneText[] = ": backed up ";
inline constexpr char kBackupAllDoneTail[] = " entries backed up. Backup finished.";
inline constexpr char kListingFailedText[] =
    "The tool did not list its entries (it reported an error or printed no entry), so nothing was backed up; "
    "the previous list of backups was kept.";
inline constexpr char kEmptyListingKeptText[] =
    "The tool listed no entries, so nothing was backed up; the previous list of backups was kept.";
inline constexpr char kBackupFailedText[] = ": backup failed, the tool wrote no backup file ";
inline constexpr char kReplaceFailedText[] =
    ": backup failed, the new backup file could not take the place of the previous one (is it open elsewhere?) ";
// Followed by the path of the earlier backup file that stays in the list of backups.
inline constexpr char kKeptEarlierText[] = ": the backup from an earlier pass stays in the list of backups: ";
inline constexpr char kBackupSummaryMid[] = " entries listed, ";
inline constexpr char kBackupSummaryTail[] = " not backed up (see the lines above). Backup finished.";
inline constexpr char kManifestWriteFailedText[] =
    "The list of backups could not be saved; the previous list was kept: ";

// Restore pass.
inline constexpr char kRestoreCountTail[] = " entries to restore";
inline constexpr char kRestoreCreateText[] = ": not found in the tool, creating it ";
inline constexpr char kCreateFailedText[] = "The tool could not create a missing entry. Restore stopped.";
inline constexpr char kRestoreExistsText[] = ": found in the tool, restoring ";
inline constexpr char kRestoreDoneText[] = ": restored ";
inline constexpr char kRestoreRefusedText[] = ": restore failed, the tool did not accept the backup file ";
inline constexpr char kCreatedNotListedText[] =
    ": created, but the tool does not list it afterwards, so it cannot be told from the entry of that number; "
    "not restored ";
inline constexpr char kFileMissingText[] = ": skipped, its backup file no longer exists";
inline constexpr char kBadLineText[] = "A line of the list of backups is blank or damaged; skipped";
inline constexpr char kUnnamedEntryText[] =
    ": the tool lists an entry without a name; it was passed over while looking for this one";
inline constexpr char kRestoreSummaryMid[] = " entries in the list of backups, ";
inline constexpr char kRestoreSummaryTail[] = " could not be restored. Restore finished.";

// Names and paths that cannot be used. A line is name + lead-in + reason + tail.
inline constexpr char kUnsafeNameLeadIn[] = ": skipped, its name holds ";
inline constexpr char kUnsafeNameTail[] = ", which cannot be passed to the tool";
inline constexpr char kUnsafePathLeadIn[] = ": skipped, the path of its backup file holds ";
inline constexpr char kUnrecordableTail[] = ", which the list of backups cannot hold";
// The tool reads a designator of digits only as an entry number: an entry whose name is all digits
// (or that has no name) is passed by the number the listing gives it, and without one it is skipped.
inline constexpr char kNoNumberText[] =
    ": skipped, the tool can only be told this entry by its number (its name is empty or digits only), "
    "and the tool's list gives it none";
inline constexpr char kReasonDoubleQuote[] = "a double quote";
inline constexpr char kReasonPercent[] = "a percent sign";
inline constexpr char kReasonLineBreak[] = "a line break";
inline constexpr char kReasonZeroByte[] = "a zero byte";
inline constexpr char kReasonIncompleteDoubleByte[] = "an incomplete double-byte character";
inline constexpr char kReasonManifestSep[] = "a tab";
inline constexpr char kReasonOther[] = "a character that is not allowed";
