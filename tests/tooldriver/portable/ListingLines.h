#pragma once
// Lines of the tool's entry listing, for the listing tests.

#include <initializer_list>

#include "common/portable/SharedTexts.h"
#include "common/portable/Text.h"

// One listing line: fields joined with the field separator.
inline Text Line(std::initializer_list<Text> fields) {
    Text line;
    bool first = true;
    for (const Text& field : fields) {
        if (!first)
            line += kCoordSep;
        line += field;
        first = false;
    }
    return line;
}
