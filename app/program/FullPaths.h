#pragma once
// The paths of a command line made full first thing, while the current directory is still the one
// the program was started in, and a /log file that would land on one of the program's own files
// refused.
//
// Any thread (reads the current directory; call before anything changes it).

#include "app/program/portable/CommandLine.h"
#include "common/portable/Text.h"

// The usage problems WithFullPaths finds; the path follows each.
inline constexpr char kPathNotFullText[] = "This path cannot be made a full path: ";
inline constexpr char kLogOntoOwnFileText[] =
    "The log file cannot be the program's own list of backups, settings file or lock file: ";

// `request` with /folder and /log made full against the current directory, where a relative path
// counts from: every tool command changes the current directory later. Call first thing. A path
// the system cannot make full, or a log file that is the list of backups, the settings file or the
// pass lock's file of `programFolder`, turns the request into ProgramAction::Usage with the problem
// (a usage request keeps its own problem); the log file is then dropped unless it is full and none
// of those.
CommandLineRequest WithFullPaths(CommandLineRequest request, const Text& programFolder);
