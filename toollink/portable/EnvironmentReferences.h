#pragma once
// Expanding %NAME% references in a path with variables the caller supplies, so that a path can be
// expanded as a program of the other width on the same system would expand it: on 64-bit Windows
// a 32-bit program's %ProgramFiles% is the folder of 32-bit programs, "Program Files (x86)".
// Pure text; any thread.

#include <functional>
#include <optional>

#include "common/portable/Text.h"

// The value of the variable `name`, or nullopt when it is not defined.
using VariableLookup = std::function<std::optional<Text>(const Text& name)>;

// `text` with every %NAME% that `lookup` defines replaced by its value, as the system expands
// references: percent signs pair up from the left, a pair around an undefined or empty name stays
// as it is ("%NO%PATH%" stays whole), and an unpaired last percent sign stays too. '%' is never
// the second byte of a double-byte character, so the text is scanned byte by byte.
Text ExpandReferences(const Text& text, const VariableLookup& lookup);

// The variable of a 64-bit program's environment that holds what a 32-bit program on the same
// 64-bit system sees as `name`: "ProgramFiles(x86)" for "ProgramFiles", "CommonProgramFiles(x86)"
// for "CommonProgramFiles" (names compared without regard to letter case), `name` itself for
// every other variable.
Text ThirtyTwoBitSourceVariable(const Text& name);
