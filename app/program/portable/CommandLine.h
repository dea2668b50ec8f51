#pragma once
// What the program is asked to do on its command line, and the exit codes it answers with.
//
//   EntryKeeper.exe                       the window, as always
//   EntryKeeper.exe /backup [/folder:"<folder>"] [/log:"<file>"] [/timeout:<seconds>]
//   EntryKeeper.exe /restore [/log:"<file>"] [/timeout:<seconds>]
//   EntryKeeper.exe /?
//
// A switch begins with '/' or '-'; its name is matched without regard to letter case; a value
// follows the name after a colon. /log and /timeout may also go with the window alone.
//
// Splitting the line into arguments: spaces and tabs separate them outside double quotes; a
// double quote opens or closes a quoted stretch and is dropped; every other character, the
// backslash included, is kept as it stands, so /folder:"C:\Backups\" gives C:\Backups\. (No byte
// of a double-byte character of code page 936 is a quote, a space or a tab.)
//
// Platform-free; any thread.

#include <optional>

#include "common/portable/Text.h"
#include "workers/portable/PassResult.h"

enum class ProgramAction {
    Window,   // no pass switch: the window opens and waits for the user
    Backup,   // /backup: one backup pass, then the program ends
    Restore,  // /restore: one restore pass, then the program ends
    Usage,    // /?, or a line that cannot be followed: the usage message, exit code kExitNotDone
};

struct CommandLineRequest {
    ProgramAction action = ProgramAction::Window;
    // /folder: the backup folder of this run (only with /backup); empty when not given.
    Text folder;
    // /log: the file every log line of this run also goes to; empty when not given.
    Text logFile;
    // /timeout: the hang limit of this run in seconds (0 to 86400, 0 = never), in place of the
    // settings file's HangSeconds; nothing when not given.
    std::optional<int> hangSeconds;
    // With ProgramAction::Usage: what is wrong with the line, for the user; empty after /?.
    Text problem;
    // The line holds /backup or /restore, so it was meant for a run nobody may be watching (a usage
    // then goes to no message box). With ProgramAction::Usage, `logFile` is then /log's value when
    // the line gives exactly one, whatever else is wrong with the line.
    bool passSwitchGiven = false;

    bool RunsAPass() const { return action == ProgramAction::Backup || action == ProgramAction::Restore; }
};

// The arguments of a whole command line (GetCommandLineA's: the program first, then its
// arguments), split as above; the program's own name is left out. A quoted program name ends at
// its closing quote, an unquoted one at the first space or tab, as the system reads it.
TextArray CommandLineArguments(const Text& commandLine);

// The request of a whole command line. Each switch may be given once; /backup and /restore do
// not go together; /folder goes only with /backup; /folder and /log need a value; /timeout needs a
// whole number of seconds from 0 to 86400. Anything else (an unknown switch, a word that is no
// switch) gives ProgramAction::Usage with the problem.
CommandLineRequest ParseCommandLine(const Text& commandLine);

// Exit codes of a run that was given a pass to do.
inline constexpr int kExitAllDone = 0;
inline constexpr int kExitSomeNotDone = 1;
inline constexpr int kExitNotDone = 2;

// The exit code a run answers with when its pass ended with `result`.
int ExitCodeOf(PassResult result);

// The title of the usage message and its text, after the problem when there is one.
inline constexpr char kUsageTitle[] = "Entry Keeper";
inline constexpr char kUsageText[] =
    "Usage:\r\n"
    "  EntryKeeper.exe /backup [/folder:\"<folder>\"] [/log:\"<file>\"] [/timeout:<seconds>]\r\n"
    "  EntryKeeper.exe /restore [/log:\"<file>\"] [/timeout:<seconds>]\r\n"
    "\r\n"
    "/backup   backs up every entry of the tool, as Start does, then ends.\r\n"
    "/restore  restores every entry from the last backup, as Restore does, then ends.\r\n"
    "/folder   backs up into this folder for this run only (the settings keep theirs).\r\n"
    "/log      also writes every log line, with its date, to this file.\r\n"
    "/timeout  seconds the tool may print nothing before it counts as hung (0 = never; default 600).\r\n"
    "\r\n"
    "Without a switch the window opens as usual. Switches may begin with / or -.\r\n"
    "From a command prompt use start /wait EntryKeeper.exe ... to wait for the run and its exit code.\r\n"
    "Exit code: 0 every entry done; 1 some entries failed or were skipped; "
    "2 the pass could not run or keep its result, or the command line was not understood.";
