#pragma once
// Where a backup pass that took an empty or relative folder for a full one would put its files:
// "\<name>.ekb" is the root of the current drive. Tests list the backup files there before and
// after a pass that must write nothing.

#include <set>
#include <vector>

#include "common/portable/Text.h"

// The roots ("C:\") of C: and of the drives that `paths` are on.
std::set<Text> DriveRootsOf(const std::vector<Text>& paths);

// The backup files, and the files the tool writes them under first, directly inside each of
// `folders` (each with its closing separator), each with its folder.
std::set<Text> BackupFilesIn(const std::set<Text>& folders);
