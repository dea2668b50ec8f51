#pragma once
// The passes' one existence test for backup files. Any thread.

#include "common/portable/Text.h"

// True when `path` names an existing file (a folder of that name does not count).
bool PathIsPresent(const Text& path);
