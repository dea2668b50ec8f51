#pragma once
// Record lines in the tool's row format, for the row table tests.

#include <array>

#include "common/portable/SharedTexts.h"
#include "common/portable/Text.h"
#include "toollink/portable/vocabulary/RowTableTexts.h"

// Cells 1 to 17 of one row; the defaults give a plain row without flags or corners.
struct RowCells {
    Text column1 = "1";
    Text column2;
    Text column3;
    Text column4;
    Text column5;
    Text column6;
    std::array<Text, 10> flags;  // cells 7 to 16
    Text corners;                // cell 17
};

// One line: the row lead, the 17 cells, the line separator.
inline Text RowLine(const RowCells& c) {
    Text line = Text(kRowLead) + c.column1;
    for (const Text* cell : {&c.column2, &c.column3, &c.column4, &c.column5, &c.column6})
        line += kRowCellSep + *cell;
    for (const Text& flag : c.flags)
        line += kRowCellSep + flag;
    return line + kRowCellSep + c.corners + kLineSep;
}

// Cell 17 with two corners in the tool's spelling.
inline Text Corners(int x1, int y1, int x2, int y2) {
    return Text(kCornerOpen) + std::to_string(x1) + kCoordSep + std::to_string(y1) + kCornerSep + std::to_string(x2) +
           kCoordSep + std::to_string(y2) + kCornerClose;
}

// A row found by its second (and fourth) cell, with its corners.
inline Text NamedRow(const Text& column2, const Text& column4, const Text& corners) {
    RowCells c;
    c.column2 = column2;
    c.column4 = column4;
    c.corners = corners;
    return RowLine(c);
}
