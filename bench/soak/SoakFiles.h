#pragma once
// Whole folders, as the soak empties its folders between rounds and keeps a broken round's files
// for a look.
//
// Any thread.

#include <vector>

#include "common/portable/Text.h"

// Copies every file and folder inside `from` into `to` (created when missing). False when anything
// could not be copied.
bool CopyFolder(const Text& from, const Text& to);

// Deletes everything inside `folder` but the files named in `keep` (names without folder, any
// letter case); the folder itself stays. False when anything could not be deleted.
bool EmptyFolder(const Text& folder, const std::vector<Text>& keep = {});
