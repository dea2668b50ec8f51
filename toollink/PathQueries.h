#pragma once
// The path checks and folder lookups that locating the tool is built on. Any thread; they touch
// no shared state (the current directory only matters for relative paths).

#include <cstdint>

#include "common/portable/Text.h"

// True exactly when `path` names an existing directory. Empty text gives false.
bool IsDirectory(const Text& path);

// True when a file or directory named `path` exists (no wildcard matching).
bool PathExists(const Text& path);

// True when a search for exactly `path` finds something; the search is closed at once. Wildcard
// characters (* ? and the < > " the file system also reads as wildcards) can never be part of an
// existing name, so a path holding one is reported as not existing instead of matching others.
bool FileOrFolderExists(const Text& path);

// A well-known folder, always ending with the directory separator; empty text when the kind is
// unknown or the lookup fails. Kinds: 0 or 3 the desktop, 1 documents, 2 favourites, 4 fonts,
// 5 start menu, 6 programs, 7 start-up, 8 application data, 9 the Windows folder, 10 the system
// folder, 11 the temporary folder, 12 the internet cache.
Text SpecialFolder(int32_t kind = 0);

// The folder part of `path` including its closing separator; empty when `path` holds none.
Text FolderOf(const Text& path);
