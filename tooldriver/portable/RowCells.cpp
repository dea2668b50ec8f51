#include "tooldriver/portable/RowCells.h"

#include <cstring>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/vocabulary/RowTableTexts.h"

namespace {

// The coordinates of one corner: its kCornerMark-free text split at kCoordSep into at most two
// pieces. A coordinate without a piece stays -1.
void ReadCorner(const Text& piece, const char* cornerMark, int32_t* x, int32_t* y) {
    const TextArray coords = SplitText(ReplaceText(piece, cornerMark, Text()), kCoordSep, 2);
    *x = coords.size() >= 1 ? TextToInt(coords[0]) : -1;
    *y = coords.size() >= 2 ? TextToInt(coords[1]) : -1;
}

}  // namespace

void ReadRowCorners(const Text& cell, RowRecord& row) {
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
        if (ActiveLeadBytes().CharLength(source, at) == 2) {
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
