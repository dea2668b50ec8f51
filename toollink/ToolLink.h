#pragma once
// ToolLink finds the external console tool, remembers which of the tool's targets is selected,
// and issues the tool's target-directed commands.
//
// The object holds only the function that runs a command line; everything it finds is kept in
// the process-wide ToolDir, ToolPath and TargetId (toollink/portable/ToolLocation.h). Every command makes
// ToolDir the process's current directory just before it runs (and leaves it so).
//
// Threads: construction on the window thread at start-up; the other operations on any thread.
// A command blocks its thread until the tool ends (the runner keeps window messages flowing).
//
// Command lines: every text argument is placed inside double quotes, quoted by the C runtime's
// rule (toollink/portable/CommandLineQuoting.h). An argument, target id or tool path that is not safe
// there (toollink/portable/CommandLineSafety.h) is refused: the tool is not started and the operation
// returns its failure value (false, 0 with an emptied list, or empty text).
//
// Failures are never reported otherwise: a tool that cannot be started gives empty output, so
// verdicts are false, line counts 0, values and outputs empty text.
//
// The member functions are declared in the order of the class's operation table.

#include <cstdint>
#include <optional>

#include "common/portable/CommandRunnerFn.h"
#include "common/portable/Text.h"

class ToolLink {
public:
    // Locates the tool (Locate without a path); when that found the tool's program, runs the
    // tool's target listing once through `runner`, output discarded.
    explicit ToolLink(CommandRunnerFn runner);

    // Release: nothing to undo (the located texts are process-wide).
    ~ToolLink();
    // Copy: another object running its commands through the same runner.
    ToolLink(const ToolLink& other);
    ToolLink& operator=(const ToolLink& other);

    // Finds the tool's folder (FindToolDir) and checks that the tool's program is there: the
    // program is `*pathOut` when given, otherwise the tool's program file in that folder. On
    // success ToolPath becomes that path, the folder becomes the current directory, and the
    // result is true. False (ToolPath unchanged) when the folder is not found, the program does
    // not exist, or the path is not safe on a command line.
    bool Locate(const Text* pathOut = nullptr);

    // Looks the tool's folder up and stores it in ToolDir: the install-folder value under the
    // local-machine registry (plus the subfolder that holds the program) or, without that value,
    // the folder of the target of the first desktop shortcut to the tool that exists. ToolDir
    // keeps its new value even when the program is not there, and is left alone when neither
    // the value nor a shortcut exists. Returns ToolDir when the tool's program exists in it,
    // empty text otherwise.
    Text FindToolDir();

    // Runs the tool's target listing and returns the identifiers of the targets, each followed
    // by the line separator, with spaces trimmed from both ends of the whole. Empty text when
    // the tool reports no target or prints fewer than two lines. `*listOut`, when given, is
    // emptied (and not filled). Handles pending window messages once per listing line.
    Text ListTargets(TextArray* listOut = nullptr);

    // Without `id`: selects entry `position` (1-based) of ListTargets' result, trimmed, as
    // TargetId; true when it is not empty. An entry that is empty after trimming becomes TargetId
    // all the same and gives false. False, TargetId unchanged, for a position outside the list
    // (below 1 too) and for an entry that is not safe on a command line.
    // With `id`: makes the tool's folder current, selects `*id` as it is and returns true;
    // false, TargetId unchanged, when `*id` is not safe on a command line.
    bool SelectTarget(int32_t position, const Text* id = nullptr);

    // Target command 1: verdict.
    bool Command01(const Text& a);  // the stand-in tool's attach

    // True when `needle` occurs in `text` (case-sensitive, double-byte characters stepped over
    // as pairs). An empty needle is found in a non-empty text and not in an empty one.
    // Touches no shared state.
    bool Contains(const Text& text, const Text& needle) const;

    // Target commands 2 to 27. Verdicts: true when the tool printed the command's success marker.
    bool Command02(const Text& a);  // the stand-in tool's detach
    bool Command03(const Text& a, const Text& b);  // the stand-in tool's send
    bool Command04(const Text& a, const Text& b);  // the stand-in tool's link
    // Lines: `listOut` is emptied, then receives the marked lines of the output with the marker
    // removed; returns their count.
    int32_t Command05(TextArray& listOut);  // the stand-in tool's sessions
    int32_t Command06(TextArray& listOut);  // the stand-in tool's devices
    // Value: the output trimmed, the marker removed.
    Text Command07(const Text& a);  // the stand-in tool's get
    bool Command08(const Text& a);  // the stand-in tool's check
    bool Command09(const Text& a, const Text& b);  // the stand-in tool's resize
    void Command10(const Text& a);  // the stand-in tool's say
    void Command11(const Text& a);  // the stand-in tool's open
    void Command12(const Text& a);  // the stand-in tool's close
    void Command13(int32_t x, int32_t y);  // the stand-in tool's move
    // The stand-in tool's box.
    void Command14(int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::optional<int32_t> n = std::nullopt);
    void Command15(const Text& a);  // the stand-in tool's press
    void Command16(const Text& a);  // the stand-in tool's type
    void Command17(const Text& a);  // the stand-in tool's select
    void Command18(const Text& a);  // the stand-in tool's label
    void Command19(const Text& a);  // the stand-in tool's title
    // Observed outputs: `observer` sees every chunk as it arrives (it may be null); the result
    // holds the chunks it accepted.
    Text Command20(const ChunkObserver* observer);  // the stand-in tool's watch
    void Command21();  // the stand-in tool's wake
    Text Command22(const Text& a, const ChunkObserver* observer);  // the stand-in tool's follow
    Text Command23(const Text& a, const ChunkObserver* observer);  // the stand-in tool's tail
    void Command24(const Text& a);  // the stand-in tool's log
    bool Command25();  // the stand-in tool's ping
    void Command26();  // the stand-in tool's sleep
    // The only command that addresses no target: the tool's own output is returned.
    Text Command27();  // the stand-in tool's version

private:
    CommandRunnerFn runner_;
};
