#pragma once
// Whether a pass can reach the tool at all, before it asks the tool anything: a tool whose program
// is not in its folder answers nothing, and a pass must not read that silence as "no entries" or
// as "this entry is missing".
//
// The tool is located once at start-up; one installed or registered later is found by the first
// pass that misses it, which locates it once more before giving up.
//
// On a pass's thread.

#include "tooldriver/ToolCommands.h"

// True when ToolDir names a folder holding the tool's program.
bool ToolIsReachable();

// ToolIsReachable, after locating the tool once more when it is not (ToolCommands::LocateAgain).
bool ReachTool(ToolCommands& commands);
