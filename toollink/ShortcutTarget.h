#pragma once
// Reads the target path of a shell shortcut file. Any thread: COM is initialised for the calling
// thread for the duration of the call and uninitialised again.

#include "common/Text.h"

// The target path of the shortcut file `path`; empty text when `path` does not contain the
// shortcut extension (case-sensitive), when the shortcut cannot be opened, or when it has no
// file-system target.
Text ShortcutTarget(const Text& path);
