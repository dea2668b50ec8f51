#pragma once
// The fixed texts of the backup and restore passes: file names of the manifest and of backup
// files, and the pieces of every log line the passes write. Each line reads on its own: it names
// the entry, the folder or the file it is about, and says what happened to the user's data.

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
// Stands for the entry's name in a staging name that would be too long with it.
inline constexpr char kShortStagingStem[] = "~";
// Added before a number to a backup file name already used by another entry of the same pass.
inline constexpr char kDuplicateMark[] = "~";
// Replaces each character a Windows file name cannot hold, and goes in front of a device name.
inline constexpr char kFileNameFiller = '_';
// The file that tries whether the backup folder can be written (deleted at once): lead-in, the
// process id, '-', a count, ending. As long as the shortest staging name (kShortStagingStem,
// kBackupFileExt, '.', the same kind of token, kStagingFileExt), so it fits wherever that does.
inline constexpr char kWriteCheckFileLeadIn[] = "~ek-check-";
inline constexpr char kWriteCheckFileExt[] = ".tmp";

// Where an entry stands in its pass, after the entry's line: kProgressLeadIn, the position,
// kProgressMid, the count, kProgressTail ("(entry 3 of 30)"; EntryPositionText in PassWording.h).
inline constexpr char kProgressLeadIn[] = "(entry ";
inline constexpr char kProgressMid[] = " of ";
inline constexpr char kProgressTail[] = ")";
// A number of entries: the number, then one of these ("1 entry", "30 entries").
inline constexpr char kOneEntryTail[] = " entry";
inline constexpr char kEntriesTail[] = " entries";

// Backup pass.
// Before the listing: the backup folder cannot take backups. The line is kNothingBackedUpLeadIn,
// what is wrong (kNoFolderText, or kFolderLeadIn + folder + kFolderTail + a reason), then
// kNothingBackedUpTail.
inline constexpr char kNothingBackedUpLeadIn[] = "Nothing was backed up: ";
inline constexpr char kNothingBackedUpTail[] = ". The list of backups was not changed.";
inline constexpr char kNoFolderText[] =
    "no backup folder is given (type one into the Backup folder field or choose one with Browse)";
inline constexpr char kFolderLeadIn[] = "the backup folder \"";
inline constexpr char kFolderTail[] = "\" ";
inline constexpr char kFolderNotAbsoluteText[] = "is not a full path such as C:\\Backups";
inline constexpr char kFolderMissingText[] = "does not exist";
inline constexpr char kFolderDriveMissingText[] =
    "is on a drive this session does not have (a task that runs whether or not the user is logged on sees no "
    "mapped drive letters: give a UNC path such as \\\\server\\share\\backups)";
inline constexpr char kFolderNotAFolderText[] = "is a file, not a folder";
inline constexpr char kFolderUnreachableText[] = "cannot be reached";
inline constexpr char kFolderNotWritableText[] = "cannot be written to";
inline constexpr char kFolderTooLongText[] =
    "is too long: the paths of backup files in it would be longer than Windows allows (259 characters); "
    "a shorter folder path would do";
// The folder was changed during the pass to one that cannot take backups: name + this + what is
// wrong (as above) + " " + position.
inline constexpr char kEntryFolderLeadIn[] = ": not backed up, ";
// After the listing: kBackupCountLeadIn, the number of entries, kBackupCountTail, the folder,
// kBackupCountClose.
inline constexpr char kBackupCountLeadIn[] = "Backup started: ";
inline constexpr char kBackupCountTail[] = " to back up into \"";
inline constexpr char kBackupCountClose[] = "\".";
inline constexpr char kToolMissingText[] =
    "The tool could not be found (is it installed?), so nothing was backed up. The list of backups was not changed.";
// Each entry: name + text + position.
inline constexpr char kBackupStartText[] = ": backing up ";
inline constexpr char kBackupDoneText[] = ": backed up ";
// At the end, when every entry was backed up: lead-in, the number of entries, tail.
inline constexpr char kBackupAllDoneLeadIn[] = "Backup finished: ";
inline constexpr char kBackupAllDoneTail[] = " backed up.";
inline constexpr char kListingFailedText[] =
    "The tool did not list its entries (it reported an error or printed no entry), so nothing was backed up. "
    "The list of backups was not changed.";
inline constexpr char kEmptyListingKeptText[] =
    "The tool listed no entries, so nothing was backed up. The list of backups was not changed.";
// A restore finds entries by name: an entry that shares its name with another is left out. Each
// is name + text + position.
inline constexpr char kSameNameSkippedText[] =
    ": not backed up, an earlier entry in the tool's list has the same name, and a restore could not tell "
    "the two apart ";
inline constexpr char kDefaultNameTakenText[] =
    ": not backed up, this entry has no name and another entry is really named so, and a restore could not tell "
    "the two apart ";
inline constexpr char kBackupFailedText[] = ": not backed up, the tool wrote no backup file ";
inline constexpr char kReplaceFailedText[] =
    ": not backed up, the new backup file could not replace the previous one (is that open in another program?) ";
inline constexpr char kNotSavedText[] =
    ": not backed up, the new backup file could not be written to the disk (is it still open in another program?) ";
inline constexpr char kReadOnlyBackupText[] =
    ": not backed up, its backup file is read-only, so the new backup may not replace it (clear the file's "
    "read-only attribute to let new backups replace it) ";
// Followed by the path of the earlier backup file that stays in the list of backups.
inline constexpr char kKeptEarlierText[] =
    ": its backup from an earlier pass stays in the list of backups and can still be restored: ";
// A backup that did not count as done (see CommandEnd.h): name + lead-in + how the tool ended
// (kToolEnd...) + tail + position. The entry's earlier backup line follows when there is one.
inline constexpr char kBackupNotDoneLeadIn[] = ": not backed up, ";
inline constexpr char kBackupNotDoneTail[] =
    "; what it wrote was discarded and the earlier backup file, if there is one, was kept as it was ";
// After two hung backup commands in a row the pass ends; this line is its last.
inline constexpr char kHungTwiceText[] =
    "The tool did not answer twice in a row, so the backup ended here: the entries after this one were not "
    "backed up, and the list of backups was not changed.";
// A listing that did not count as done: lead-in + how the tool ended + tail.
inline constexpr char kListingNotDoneLeadIn[] = "The tool's listing of its entries did not finish: ";
inline constexpr char kListingNotDoneTail[] = ". Nothing was backed up, and the list of backups was not changed.";
// How a tool command ended, inside a line.
inline constexpr char kToolEndCodeLeadIn[] = "the tool ended with exit code ";
inline constexpr char kToolEndCodeTail[] =
    ", which is not a success code (the codes that are: SuccessExitCodes under [Tool] in EntryKeeper.ini)";
inline constexpr char kToolEndNotStarted[] = "the tool could not be started";
inline constexpr char kToolEndStopped[] = "it was stopped";
inline constexpr char kToolEndRefused[] = "its command line could not be made";
inline constexpr char kToolEndHungLeadIn[] = "the tool printed nothing for ";
inline constexpr char kToolEndHungMid[] =
    " seconds (HangSeconds under [Tool] in EntryKeeper.ini, or /timeout) and was ended with everything it "
    "started";
// Before the processes ended, each "name (process id)", separated by ", ".
inline constexpr char kToolEndProcessesLeadIn[] = ": ";
// At the end, when some entries were not backed up: lead-in, failed, mid, count, tail.
inline constexpr char kBackupSummaryLeadIn[] = "Backup finished, but not every entry was backed up: ";
inline constexpr char kBackupSummaryMid[] = " of ";
inline constexpr char kBackupSummaryTail[] = " not backed up (see the lines above).";
inline constexpr char kManifestReadOnlyText[] =
    "Backup not finished: the list of backups is read-only, so it was kept as it was (clear its read-only "
    "attribute to let backups update it): ";
inline constexpr char kManifestWriteFailedText[] =
    "Backup not finished: the list of backups could not be saved, so the previous list was kept: ";

// The list of backups exists but cannot be read: lead-in, its path, then the tail of the pass.
inline constexpr char kManifestUnreadableLeadIn[] = "The list of backups \"";
inline constexpr char kBackupManifestUnreadableTail[] =
    "\" could not be read (is it open in another program?), so nothing was backed up. "
    "The list of backups was not changed.";
inline constexpr char kRestoreManifestUnreadableTail[] =
    "\" could not be read (is it open in another program?), so nothing was restored.";

// Restore pass.
// No list of backups at all (a fresh install).
inline constexpr char kNoManifestYetText[] =
    "There is no list of backups yet, so there is nothing to restore. Start makes one: it backs up every entry "
    "of the tool.";
// The listing a restore asks for did not count as done: name + lead-in + how the tool ended + tail.
inline constexpr char kRestoreListingFailedLeadIn[] = ": the tool's list of entries could not be read (";
inline constexpr char kRestoreListingFailedTail[] =
    "), so nothing was created or restored on its word and the restore stopped here; the entries after this one "
    "were not restored.";
// Stands for how the tool ended when its listing ran to its end but was no listing.
inline constexpr char kToolListedNothingText[] = "it reported an error or printed no entry line";
// A restore or create command that hung: name + lead-in + seconds + tail. It was left running.
inline constexpr char kToolLeftRunningLeadIn[] = ": the tool has not answered for ";
inline constexpr char kToolLeftRunningTail[] =
    " seconds and was left running (ending it while it writes its own entries could damage them), so the restore "
    "stopped here; the entries after this one were not restored. Restore can be used again once that tool has "
    "ended.";
// Logged once a pass when the program runs in a job (the Task Scheduler's) that does not let the
// restore and create commands leave it: stopping the task would end them mid-write.
inline constexpr char kBreakawayRefusedText[] =
    "Note: this program runs inside a job that does not let the tool's restore and create commands run outside it, "
    "so ending that job (stopping the scheduled task) would also end a restore the tool is writing.";
inline constexpr char kRestoreToolMissingText[] =
    "The tool could not be found (is it installed?), so nothing was restored.";
// After reading the list of backups: lead-in, the number of lines, tail.
inline constexpr char kRestoreCountLeadIn[] = "Restore started: ";
inline constexpr char kRestoreCountTail[] = " in the list of backups.";
// Each entry: name + text + position.
inline constexpr char kRestoreCreateText[] = ": the tool no longer has this entry, creating it ";
inline constexpr char kRestoreExistsText[] = ": the tool still has this entry, writing the backup over it ";
inline constexpr char kRestoreDoneText[] = ": restored ";
inline constexpr char kRestoreRefusedText[] = ": not restored, the tool did not accept the backup file ";
inline constexpr char kCreatedNotListedText[] =
    ": created, but the tool does not list it afterwards, so it cannot be told from the entry of that number; "
    "not restored ";
// Name + text + position: a line of a name an earlier line of the walk already had (the tool, given
// the name, would reach the entry restored from that earlier line again).
inline constexpr char kSameNameAgainText[] =
    ": skipped, the list of backups names this entry more than once and only its first backup is restored ";
// After the entry's name; the pass ends with it.
inline constexpr char kCreateFailedText[] =
    ": the tool could not create this entry, so the restore stopped here; the entries after it were not restored.";
// After the entry's name; the path of the missing backup file follows.
inline constexpr char kFileMissingText[] = ": skipped, its backup file no longer exists: ";
inline constexpr char kBadLineText[] = "A blank or damaged line in the list of backups was skipped.";
inline constexpr char kUnnamedEntryText[] =
    ": the tool lists an entry without a name; it was passed over while looking for this one";
// At the end, when every line was restored: lead-in, the number of lines, tail.
inline constexpr char kRestoreAllDoneLeadIn[] = "Restore finished: ";
inline constexpr char kRestoreAllDoneTail[] = " restored.";
// At the end, when some lines could not be restored: lead-in, failed, mid, total, tail.
inline constexpr char kRestoreSummaryLeadIn[] = "Restore finished, but not every entry was restored: ";
inline constexpr char kRestoreSummaryMid[] = " of ";
inline constexpr char kRestoreSummaryTail[] = " failed (see the lines above).";

// Names and paths that cannot be used. A line is name + lead-in + reason + tail.
inline constexpr char kUnsafeNameLeadIn[] = ": skipped, its name holds ";
inline constexpr char kUnsafeNameTail[] = ", which cannot be passed to the tool";
inline constexpr char kUnsafePathLeadIn[] = ": skipped, the path of its backup file holds ";
inline constexpr char kUnrecordableTail[] = ", which the list of backups cannot hold";
// The backup's lines for them read as its total does ("not backed up"), and a name's line says
// what the user can do about it.
inline constexpr char kNameNotBackedUpLeadIn[] = ": not backed up, its name holds ";
inline constexpr char kPathNotBackedUpLeadIn[] = ": not backed up, the path of its backup file holds ";
inline constexpr char kRenameEntryTail[] = "; rename the entry in the tool to back it up";
// The tool reads a designator of digits only as an entry number: an entry whose name is all digits
// (or that has no name) is passed by the number the listing gives it, and without one it is skipped.
inline constexpr char kNoNumberText[] =
    ": skipped, the tool can only be told this entry by its number (its name is empty or digits only), "
    "and the tool's list gives it none";
inline constexpr char kNoNumberNotBackedUpText[] =
    ": not backed up, the tool can only be told this entry by its number (its name is empty or digits only), "
    "and the tool's list gives it none";
// After the entry's name: its backup file or the staging file beside it would not fit.
inline constexpr char kPathTooLongText[] =
    ": not backed up, the path of its backup file would be longer than Windows allows (259 characters); "
    "a shorter name or backup folder would do";
inline constexpr char kReasonDoubleQuote[] = "a double quote";
inline constexpr char kReasonLineBreak[] = "a line break";
inline constexpr char kReasonZeroByte[] = "a zero byte";
inline constexpr char kReasonIncompleteDoubleByte[] = "an incomplete double-byte character";
inline constexpr char kReasonManifestSep[] = "a tab";
inline constexpr char kReasonOther[] = "a character that is not allowed";
