#pragma once
// Puts a finished file in another file's place in one step, so that whoever looks finds either
// the old file or the new one under the name, never neither and never a part.
//
// Any thread.

#include "common/portable/Text.h"

enum class ReplaceResult {
    Replaced,
    TargetReadOnly,  // `to` has the read-only attribute: left alone, the user set it to keep the file
    Failed,          // the system refused, or went on refusing for the whole retry time
};

// Renames `from` to `to`, replacing `to` when it exists, with the change written through to disk
// before it returns. Both must be in one folder (one volume), so nothing is copied; the caller
// flushes `from` first (the write-through covers only a move that copies). A read-only `to` is
// refused before anything is tried: Windows refuses to replace it, and Wine would replace it. While
// the system answers "access denied" or "sharing violation" (a virus scanner or the indexer
// holding a file for a moment, a reader of `to`, a file waiting to be deleted) the step is retried
// with growing pauses for about five and a half seconds, or until a stop is requested for the
// calling thread (common/portable/StopSignal.h). Unless Replaced, both files are as they were.
ReplaceResult ReplaceFileInOneStep(const Text& from, const Text& to);

// Test seam: the next `count` attempts of ReplaceFileInOneStep in this process fail with the
// Windows error `error` before the system is asked, as if it had answered so. Any thread.
void InjectReplaceFailures(int count, unsigned long error);
