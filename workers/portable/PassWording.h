#pragma once
// The parts of the passes' log lines that are made from values: where an entry stands in its
// pass, a number of entries, and what is wrong with a backup folder. The fixed pieces are in
// PassTexts.h.
//
// Platform-free; any thread.

#include "common/portable/Text.h"
#include "tooldriver/portable/CommandEnd.h"
#include "workers/portable/FolderProblem.h"

// "(entry 3 of 30)": the entry's position in its pass (from 1) and the pass's count.
Text EntryPositionText(int position, int count);

// "1 entry", "30 entries".
Text EntryCount(int count);

// What is wrong with `folder`, to stand inside a line: "no backup folder is given ..." or
// "the backup folder "<folder>" does not exist" and the like. Empty for FolderProblem::None.
Text FolderProblemPhrase(FolderProblem problem, const Text& folder);

// How a tool command ended, to stand inside a line: "the tool ended with exit code 1 (0x00000001),
// which is not a success code (...)", "the tool printed nothing for 600 seconds (...) and was ended
// with everything it started: cmd.exe (12), entryctl.exe (14)", and the like. Empty when it is done.
Text CommandEndPhrase(const CommandEnd& end);
