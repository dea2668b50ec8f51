#pragma once
// The three process-wide texts that say where the tool is and which target it addresses:
//   ToolDir  - the tool's folder; every tool command first makes it the current directory.
//   ToolPath - the full path of the tool's program, placed after the opening quote of every
//              command line that ToolLink builds.
//   TargetId - the identifier of the selected target, placed in every target-directed line.
// All three start empty and are written only by ToolLink (FindToolDir, Locate, SelectTarget).
//
// Any thread: reads and writes are guarded, and every read returns a copy, so a reader never
// sees a half-written text nor one freed under it.

#include "common/portable/Text.h"

Text ToolDir();
Text ToolPath();
Text TargetId();

void SetToolDir(const Text& value);
void SetToolPath(const Text& value);
void SetTargetId(const Text& value);

// Empties all three (the exit step; tests start from a known state with it).
void ClearToolLocation();
