#pragma once
// How a tool command ended, as a pass judges the two kinds of command whose result replaces what
// the user keeps: a pass's entry listing and a backup. Such a command counts as done only when it
// ran to its end with one of the success exit codes (the command interpreter hands on the tool's
// code). A command that could not be started, that was stopped, or that the program gave up on as
// hung is never judged by its code: a process ended from outside may report any code, 0 included.
// Every other command keeps its own verdict; this only says how it ended.
//
// Also the rules the runner applies to such commands (CommandPolicy): the success codes and the
// hang limit, from the settings file ([Tool] SuccessExitCodes, HangSeconds) or the command line.
//
// Platform-free; any thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "common/portable/Text.h"
#include "tooldriver/portable/CaptureLoop.h"

// How long a listing, backup, restore or create command may print nothing (and not grow the file it
// writes) before it counts as hung, by default, and the largest value allowed; 0 means never.
inline constexpr int kDefaultHangSeconds = 600;
inline constexpr int kMaxHangSeconds = 86400;

// Exit codes that can never mean success: the system's "still running" value (which Wine's
// interpreter hands on as 0) and the interpreter's "program not found".
inline constexpr uint32_t kStillActiveCode = 259;
inline constexpr uint32_t kProgramNotFoundCode = 9009;

struct CommandPolicy {
    // The exit codes that mean success; never empty, never 259 or 9009.
    std::vector<uint32_t> successCodes{0};
    // See kDefaultHangSeconds.
    int hangSeconds = kDefaultHangSeconds;
};

enum class CommandVerdict {
    Done,             // ran to its end with a success code
    FailedCode,       // ran to its end with another code
    NotStarted,       // could not be started
    Stopped,          // the pass was stopped while it ran (it runs on by itself)
    Hung,             // printed nothing for the hang limit; ended with what it started, or left running
    Refused,          // an argument could not be put on a command line; nothing was run
};

struct CommandEnd {
    CommandVerdict verdict = CommandVerdict::NotStarted;
    // With FailedCode (and Done): the code it ended with.
    uint32_t exitCode = 0;
    // With Hung: the limit it went past, in seconds.
    int hangSeconds = 0;
    // With Hung: the processes ended, "name (process id)"; empty when it was left running.
    TextArray processesEnded;
    // With Hung: the command's process when it was left running (restore and create commands).
    std::shared_ptr<const RunningProcess> leftRunning;
    // The program runs in a job that refused to let the command break away from it.
    bool breakawayRefused = false;

    bool Done() const { return verdict == CommandVerdict::Done; }
};

// How the command whose capture is `capture` ended, under `policy`.
CommandEnd JudgeCommand(const Capture& capture, const CommandPolicy& policy);

// The end of a command that was refused before it could run.
CommandEnd RefusedCommand();

// The success codes a settings value lists: comma-separated decimal numbers (or 0x hexadecimal),
// blanks around them allowed, each one 0 to 4294967295. Nothing when the value is empty, a piece
// is no such number, or it lists 259 or 9009; `problem` then says why, for the log.
std::optional<std::vector<uint32_t>> ParseSuccessCodes(const Text& value, Text* problem);

// The hang limit a settings value or /timeout gives: whole seconds, 0 to kMaxHangSeconds, blanks
// around allowed. Nothing for anything else.
std::optional<int> ParseHangSeconds(const Text& value);

// "3 (0x00000003)": a code in decimal and in hexadecimal.
Text ExitCodeText(uint32_t code);
