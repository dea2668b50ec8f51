#pragma once
// The lines of the tool's target listing and of its target commands, as pieces for
// BuildCommandLine (toollink/portable/CommandLineQuoting.h). Each starts the tool by its program path
// (kPathMark opens the quote around it); a target command then carries the target option, the
// selected target and its own parts:
//   kPathMark ToolPath kTargetOption TargetId verb [arguments]
// The program path is a ProgramPath piece, the target id and every text argument Argument pieces,
// so BuildCommandLine refuses the line when one of them is not safe there.
//
// Platform-free (the Win32 side, ToolLink, runs the lines); any thread.

#include <cstdint>
#include <optional>

#include "common/portable/Text.h"
#include "toollink/portable/CommandLineQuoting.h"

// Where a target command goes: ToolPath and TargetId as they are when the command runs.
struct TargetAddress {
    Text toolPath;
    Text targetId;
};

// The target listing: kPathMark ToolPath kListTail.
LinePieces TargetListingLine(const Text& toolPath);

// Target commands 1 to 26, by number; the own parts of each after TargetId are given beside it
// (M = kPathMark, S = kArgSep).
LinePieces TargetCommand01Line(const TargetAddress& to, const Text& a);                 // a M
LinePieces TargetCommand02Line(const TargetAddress& to, const Text& a);                 // a
LinePieces TargetCommand03Line(const TargetAddress& to, const Text& a, const Text& b);  // a Mid3 b
LinePieces TargetCommand04Line(const TargetAddress& to, const Text& a, const Text& b);  // a Mid4 b M
LinePieces TargetCommand05Line(const TargetAddress& to);
LinePieces TargetCommand06Line(const TargetAddress& to);
LinePieces TargetCommand07Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand08Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand09Line(const TargetAddress& to, const Text& a, const Text& b);  // a Mid9 b
LinePieces TargetCommand10Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand11Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand12Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand13Line(const TargetAddress& to, int32_t x, int32_t y);  // x S y
// x1 S y1 S x2 S y2, and S n when `n` is given.
LinePieces TargetCommand14Line(const TargetAddress& to,
                               int32_t x1,
                               int32_t y1,
                               int32_t x2,
                               int32_t y2,
                               std::optional<int32_t> n);
LinePieces TargetCommand15Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand16Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand17Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand18Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand19Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand20Line(const TargetAddress& to);
LinePieces TargetCommand21Line(const TargetAddress& to);
LinePieces TargetCommand22Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand23Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand24Line(const TargetAddress& to, const Text& a);
LinePieces TargetCommand25Line(const TargetAddress& to);
LinePieces TargetCommand26Line(const TargetAddress& to);

// Command 27 addresses no target: kPathMark ToolPath kVerb27.
LinePieces TargetCommand27Line(const Text& toolPath);
