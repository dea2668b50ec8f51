#pragma once
// Matching one received command line against the shapes of CommandShapes.h.

#include <vector>

#include "common/Text.h"
#include "tools/entryctl/CommandShapes.h"

namespace entryctl {

struct MatchedLine {
    const Shape* shape = nullptr;
    Text entry, a, b, path, target, rest;
    std::vector<int> numbers;
};

// The shape `line` has, with its slots filled; shape == nullptr when it has none. An argument
// never holds a double quote (the quotes are the fixed texts' own); the program token of an
// entry line may be spelled any way (bare name, quoted full path).
MatchedLine MatchCommandLine(const Text& line);

// Whether `text` is a non-empty run of the digits 0-9 (the numeric form of a designator).
bool IsDigits(const Text& text);

}  // namespace entryctl
