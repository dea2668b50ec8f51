#pragma once
// entryctl keeps everything in the folder of its own program file: the entries, the targets,
// the journal of received command lines and the fault switches. Each copy of the program is
// therefore a tool of its own (tests give every case its own copy).

#include <vector>

#include "common/portable/Text.h"

namespace entryctl {

// File names inside the tool's folder.
inline constexpr char kEntriesFile[] = "entries.db";
inline constexpr char kTargetsFile[] = "targets.txt";
inline constexpr char kJournalFile[] = "journal.log";
inline constexpr char kFaultsFile[] = "faults.txt";
// The records of entry n (UTF-8 rows, printed as they are) live in "records-<n>.txt"; an entry
// without such a file has no records.
inline constexpr char kRecordsFilePrefix[] = "records-";
inline constexpr char kRecordsFileSuffix[] = ".txt";

// Full path of the records file of entry `number`.
Text RecordsFile(int number);
// Removes every records file of the folder.
void RemoveAllRecordsFiles();

// Full path of `name` in the folder of the running program.
Text InToolFolder(const char* name);

// Whole-file access. ReadBytes gives false for a missing or unreadable file.
bool ReadBytes(const Text& path, Text* bytes);
// Writes a sibling temporary file, then moves it over `path`: the old file stays until the new
// one is complete.
bool ReplaceFileBytes(const Text& path, const Text& bytes);
bool AppendBytes(const Text& path, const Text& bytes);

// The lines of a file's bytes, split at "\n" with a closing "\r" removed; a last line without a
// line break counts, an empty remainder after the last one does not.
std::vector<Text> SplitLines(const Text& bytes);

// Held while a command reads or changes the tool's files, so concurrent runs of the same copy
// (two passes at once) see each other's changes whole. A run killed while holding it releases it.
class FolderLock {
public:
    FolderLock();
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    void Release();

private:
    void* mutex_ = nullptr;
};

}  // namespace entryctl
