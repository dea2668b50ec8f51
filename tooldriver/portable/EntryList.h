#pragma once
// The tool's entries as one listing gave them. Each pass reads the listing into a list of its
// own, so a list is never shared between threads; the caller owns it.

#include <cstdint>
#include <vector>

#include "common/portable/Text.h"

// One line of the tool's entry listing. A new record holds number 0, empty texts and extra 0.
struct EntryRecord {
    int32_t number = 0;  // first field, every number mark removed, read as an integer
    Text text1;          // second field: the entry's name (the stand-in tool's name)
    Text text2;          // third field (the stand-in tool's kind)
    Text text3;          // fourth field (the stand-in tool's label)
    Text text4;          // fifth field (the stand-in tool's state)
    Text text5;          // sixth field (the stand-in tool's position)
    int32_t extra = 0;   // 0 when the line had exactly seven fields, 1 otherwise
};

// Record k of the listing (counted from 1) is element k-1.
using EntryList = std::vector<EntryRecord>;
