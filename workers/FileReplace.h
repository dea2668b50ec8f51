#pragma once
// Puts a finished file in another file's place in one step, so that whoever looks finds either
// the old file or the new one under the name, never neither and never a part.
//
// Any thread.

#include "common/Text.h"

// Renames `from` to `to`, replacing `to` when it exists, with the change written through to disk
// before it returns. Both must be in one folder (one volume), so nothing is copied. While another
// handle holds `to` open without allowing its deletion (a reader holds it only for a moment) the
// step is retried for about half a second. False when it could not be done: both files are then
// as they were.
bool ReplaceFileInOneStep(const Text& from, const Text& to);
