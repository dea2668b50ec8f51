#pragma once
// Matching the arguments of one received command line against the shapes of CommandShapes.h.
//
// Each shape's own line, with a mark in place of every slot, is split by the same rules as the
// received line (Arguments.h); the received arguments must then agree with it argument by
// argument: the fixed text where the shape has fixed text, anything (but a double quote) in a
// slot. The program token (the first argument) of an entry line may be spelled any way (bare
// name, quoted full path); in a target line it is the tool's path slot.

#include <vector>

#include "common/portable/Text.h"
#include "tools/entryctl/CommandShapes.h"

namespace entryctl {

struct MatchedLine {
    const Shape* shape = nullptr;
    Text entry, a, b, path, target;
    std::vector<Text> rest;  // the options command: its arguments from the entry's on
    std::vector<int> numbers;
};

// The shape that `arguments` (program first) have, with its slots filled; shape == nullptr when
// they have none.
MatchedLine MatchCommandLine(const std::vector<Text>& arguments);

// Whether `text` is a non-empty run of the digits 0-9 (the numeric form of a designator).
bool IsDigits(const Text& text);

}  // namespace entryctl
