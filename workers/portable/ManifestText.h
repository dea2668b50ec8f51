#pragma once
// The manifest's text: the file in the program's folder that pairs every backed-up entry's name
// with the path of its backup file. One line per entry: name, manifest separator, path, line
// separator (after every line, the last included); the entry backed up last comes first; an
// empty file when there were no entries. Bytes of the ANSI code page, no header.
//
// Writing and reading the file itself: ManifestFile.h. Platform-free; any thread.

#include <vector>

#include "common/portable/Text.h"

// programFolder + the manifest's file name.
Text ManifestPath(const Text& programFolder);

// One manifest line for `name` and `file`.
Text ManifestLine(const Text& name, const Text& file);

// One line of a manifest as it was read.
struct ManifestEntry {
    // The line can be restored from: it has exactly two fields and the first (the name) is not
    // empty. A line without two fields, a blank one included, or with an empty name cannot.
    bool usable = false;
    Text name;  // the first field and the second of a usable line; empty otherwise
    Text file;
    Text text;  // the whole line as it stood, without its line separator
};

// The lines of `content` (a manifest's whole text) in the file's order: it is split at the line
// separator (an empty piece between two separators is a line, the empty piece after the last one
// is not) and each line at the manifest separator.
std::vector<ManifestEntry> ReadManifestLines(const Text& content);
