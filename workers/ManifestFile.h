#pragma once
// The manifest file (its text: ManifestText.h), replaced whole and read whole.
//
// Any thread. A restore may read while a backup replaces the file: the reader never sees a
// half-written manifest, and the replacement waits a moment for a reader to let go.

#include <optional>

#include "common/portable/Text.h"
#include "workers/FileReplace.h"
#include "workers/portable/ManifestText.h"

// Replaces the file at `path` with exactly `content`, whole or not at all: the bytes go to a new
// file beside it, are flushed to disk, and that file then takes the manifest's name in one step
// (FileReplace.h: retried for some seconds while the manifest is held open; a read-only manifest is
// left alone). The new file's name is short (no longer than the manifest's own), so a manifest
// whose path fits the platform's limit can always be replaced. Unless Replaced, the previous
// manifest is untouched and no temporary file stays. Temporary files that another process of this
// program left beside the manifest (killed between writing and renaming) are deleted first.
ReplaceResult ReplaceManifest(const Text& path, const Text& content);

// The whole file, read with every kind of sharing allowed so a concurrent replace is not blocked.
// Empty text when the file (or its folder) is missing or empty; nothing when it exists but cannot
// be read (another program holds it without sharing, access is denied, a read fails), which is
// not the same as having no list of backups.
std::optional<Text> ReadManifest(const Text& path);
