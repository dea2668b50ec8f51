#include "tooldriver/RowTable.h"

#include <algorithm>
#include <cstring>

#include "automation/PatternMatcher.h"
#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "toollink/vocabulary/RowTableTexts.h"

namespace {

// The cells of a row as groups of its match.
constexpr int32_t kFirstFlagColumn = 7;
constexpr int32_t kCornerColumn = 17;

// The flag fields in column order, 7 to 16.
constexpr bool RowRecord::*kFlagFields[] = {
    &RowRecord::flag7,  &RowRecord::flag8,  &RowRecord::flag9,  &RowRecord::flag10, &RowRecord::flag11,
    &RowRecord::flag12, &RowRecord::flag13, &RowRecord::flag14, &RowRecord::flag15, &RowRecord::flag16,
};
static_assert(kFirstFlagColumn + std::size(kFlagFields) == kCornerColumn, "cells 7 to 16 are the flags");

// The coordinates of one corner: its kCornerMark-free text split at kCoordSep into at most two
// pieces. A coordinate without a piece stays -1.
void ReadCorner(const Text& piece, const char* cornerMark, int32_t* x, int32_t* y) {
    const TextArray coords = SplitText(ReplaceText(piece, cornerMark, Text()), kCoordSep, 2);
    *x = coords.size() >= 1 ? TextToInt(coords[0]) : -1;
    *y = coords.size() >= 2 ? TextToInt(coords[1]) : -1;
}

void ReadCorners(const Text& cell, RowRecord& row) {
    row.x1 = row.y1 = row.x2 = row.y2 = -1;
    if (cell.empty())
        return;
    // Three pieces at most, so that a second kCornerSep ends the second corner and whatever
    // follows it (the third piece) is dropped.
    const TextArray corners = SplitText(cell, kCornerSep, 3);
    if (corners.size() >= 1)
        ReadCorner(corners[0], kCornerOpen, &row.x1, &row.y1);
    if (corners.size() >= 2)
        ReadCorner(corners[1], kCornerClose, &row.x2, &row.y2);
}

}  // namespace

int32_t UsableRowCount(int32_t reportedCount, const Text& source) {
    if (reportedCount <= 0)
        return 0;
    // One pass over the characters: the lead (plain ASCII) counts where a character starts, with
    // letter case ignored as the pattern runs. A double-byte character is stepped over whole, so
    // its second byte never starts a lead.
    const size_t leadLength = std::strlen(kRowLead);
    int32_t leads = 0;
    size_t at = 0;
    while (at < source.size() && leads < reportedCount) {
        if (static_cast<unsigned char>(source[at]) >= 0x80) {
            at += 2;
        } else if (EqualsIgnoreCase(source.substr(at, leadLength), kRowLead)) {
            ++leads;
            at += leadLength;
        } else {
            ++at;
        }
    }
    return leads;
}

int32_t ImportRows(const Text& source, RowArray& rows) {
    PatternMatcher matcher;  // COM for this thread, until the end of the call
    if (!matcher.Match(kRowQuery, source))
        return 0;
    const int32_t count = UsableRowCount(matcher.MatchCount(), source);
    rows.assign(static_cast<size_t>(count), RowRecord());
    for (int32_t i = 1; i <= count; ++i) {
        RowRecord& row = rows[static_cast<size_t>(i - 1)];
        // One group per cell, in cell order.
        row.column1 = TextToInt(matcher.GroupText(i, 1));
        row.column2 = matcher.GroupText(i, 2);
        row.column3 = matcher.GroupText(i, 3);
        row.column4 = matcher.GroupText(i, 4);
        row.column5 = matcher.GroupText(i, 5);
        row.column6 = matcher.GroupText(i, 6);
        for (size_t f = 0; f < std::size(kFlagFields); ++f)
            row.*kFlagFields[f] = IsTrueText(matcher.GroupText(i, kFirstFlagColumn + static_cast<int32_t>(f)));
        ReadCorners(matcher.GroupText(i, kCornerColumn), row);
    }
    return count;
}

bool IsTrueText(const Text& cell) {
    for (const char* truth : {kTrueText1, kTrueText2, kTrueText3, kTrueText4}) {
        if (cell == truth)
            return true;
    }
    return false;
}

int32_t Midpoint(int32_t from, int32_t to) {
    const int64_t difference = static_cast<int64_t>(to) - from;
    // Division truncates toward zero; adding the remainder (-1, 0 or 1) moves an exact half one
    // further from zero.
    const int64_t half = difference / 2 + difference % 2;
    return static_cast<int32_t>(from + half);
}
