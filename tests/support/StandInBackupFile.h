#pragma once
// The backup files the stand-in tool (tools/entryctl) writes, read as a test checks them:
// "entryctl backup 1", then "key: value" lines (the name escaped, the size in bytes), an empty
// line, and exactly `size` bytes of content. Any thread; the files are only read.

#include "common/portable/Text.h"

// The name and content of the backup file at `path`. False for anything but a whole backup of the
// tool, a missing or half-written file among them (the outputs are then unspecified).
bool ReadStandInBackup(const Text& path, Text* name, Text* content);

// Whether `path` is a whole backup file the tool wrote of the entry named `name`.
bool IsStandInBackupOf(const Text& path, const Text& name);

// Whether a file in `folder` holds the start of a backup but not the whole of one: what the tool
// leaves when it is caught writing (its backup-torn fault).
bool FolderHoldsTornBackup(const Text& folder);
