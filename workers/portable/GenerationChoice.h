#pragma once
// Which generation a /from:<value> names, among the complete generations of a history folder: the
// one whose folder name is the value, or else the newest (by sequence number) whose name begins
// with it ("2026-12-10" for the last of that day). A value that is a full path to a generation
// folder is the caller's to tell (it holds a separator) before it asks here.
//
// Platform-free; any thread.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/portable/Text.h"

struct OfferedGeneration {
    Text name;  // its folder's name
    uint64_t sequence = 0;
};

struct GenerationChoice {
    // The position of the chosen generation in the caller's list; nothing when the value names none.
    std::optional<size_t> chosen;
    // When none is chosen: the names nearest the value, for the line that says so - the one just
    // before it and the one just after it in the order of the names' text (which for generation
    // names is their date), fewer at either end, none when there is no generation.
    TextArray nearest;
};

// The generation `value` names among `offered`. Letter case does not count, as it does not in
// folder names. An exact name wins over names it begins; among several names it begins, the one
// of the highest sequence number wins (the first of them in the list, for one number). An empty
// value names none.
GenerationChoice ChooseGeneration(const Text& value, const std::vector<OfferedGeneration>& offered);
