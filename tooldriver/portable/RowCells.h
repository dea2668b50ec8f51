#pragma once
// The cells of the tool's record rows, read without the pattern matcher: the row record, flag
// cells as booleans, the corners of cell 17, how many rows a record text can hold, and the point
// a row stands for. Platform-free; any thread.

#include <cstdint>
#include <vector>

#include "common/portable/Text.h"

// One row. A new record holds zeros, false and empty texts. Fields in the table's layout order.
struct RowRecord {
    Text column2;
    Text column4;
    Text column5;
    Text column6;
    // The corners from cell 17: (x1, y1) the first, (x2, y2) the second. An empty cell gives -1
    // for all four; so does every coordinate that a malformed cell does not have (ReadRowCorners).
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    int32_t column1 = 0;  // cell 1 as a number (0 when it holds none)
    Text column3;
    // IsTrueText of cells 7 to 16.
    bool flag7 = false;
    bool flag8 = false;
    bool flag9 = false;
    bool flag10 = false;
    bool flag11 = false;
    bool flag12 = false;
    bool flag13 = false;
    bool flag14 = false;
    bool flag15 = false;
    bool flag16 = false;
};

// Row k of a table (counted from 1) is element k-1. The caller owns the table.
using RowArray = std::vector<RowRecord>;

// Cell 17 as the row's corners: split at kCornerSep into at most two corners (anything after a
// second kCornerSep is dropped); every kCornerOpen is removed from the first, every kCornerClose
// from the second, and each corner is split at kCoordSep into at most two coordinates read as
// numbers (a piece without a number reads 0). A corner or coordinate that the cell does not have
// is -1, as for an empty cell: "(10<TAB>20)" gives 10, 20, -1, -1 and "(10)-(30<TAB>40)" gives
// 10, -1, 30, 40.
void ReadRowCorners(const Text& cell, RowRecord& row);

// True when `cell` is exactly (whole text, letter case respected) one of kTrueText1 to kTrueText4.
bool IsTrueText(const Text& cell);

// The number of rows to make for a match count the engine reported for `source`: never below 0,
// and never more than the rows `source` can hold (every row starts with kRowLead, and no row
// holds a second one), so a count that the engine got wrong cannot size the table beyond what
// is there to read.
int32_t UsableRowCount(int32_t reportedCount, const Text& source);

// The point half-way between `from` and `to`: from plus the whole number nearest to
// (to - from) / 2, an exact half rounded away from zero (from 10 to 21 gives 16, from 21 to 10
// gives 15). Never overflows: the result lies between the two.
int32_t Midpoint(int32_t from, int32_t to);
