#pragma once
// The manifest: the text file in the program's folder that pairs every backed-up entry's name
// with the path of its backup file. One line per entry: name, manifest separator, path, line
// separator (after every line, the last included); the entry backed up last comes first; an
// empty file when there were no entries. Bytes of the ANSI code page, no header.
//
// Any thread. A restore may read while a backup replaces the file: the reader never sees a
// half-written manifest, and the replacement waits a moment for a reader to let go.

#include "common/Text.h"

// programFolder + the manifest's file name.
Text ManifestPath(const Text& programFolder);

// One manifest line for `name` and `file`.
Text ManifestLine(const Text& name, const Text& file);

// Replaces the file at `path` with exactly `content`, whole or not at all: the bytes go to a new
// file beside it, are flushed to disk, and that file then takes the manifest's name in one step.
// While another handle holds the manifest open the last step is retried for about half a second.
// False when any step failed; the previous manifest is then untouched and no temporary file stays.
bool ReplaceManifest(const Text& path, const Text& content);

// The whole file, read with every kind of sharing allowed so a concurrent replace is not blocked.
// Empty text when the file is missing, empty or unreadable.
Text ReadManifest(const Text& path);
