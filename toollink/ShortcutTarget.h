#pragma once
// Reads the target path of a shell shortcut file. Any thread: COM is initialised for the calling
// thread for the duration of the call and uninitialised again.

#include "common/portable/Text.h"

// The target path of the shortcut file `path`; empty text when `path` does not contain the
// shortcut extension (case-sensitive), when the shortcut cannot be opened, or when it has no
// file-system target. A shortcut that records its target relative to environment variables gives
// the target as a 32-bit program reads it (ThirtyTwoBitView.h) when that exists: on 64-bit
// Windows the shell would otherwise turn a 32-bit installer's "Program Files (x86)" into the
// "Program Files" of 64-bit programs.
Text ShortcutTarget(const Text& path);
