#include "tooldriver/RowTable.h"

#include <iterator>

#include "automation/PatternMatcher.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/vocabulary/RowTableTexts.h"

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

}  // namespace

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
        ReadRowCorners(matcher.GroupText(i, kCornerColumn), row);
    }
    return count;
}
