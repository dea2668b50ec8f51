#pragma once
// The tool's records as a table of fixed-layout rows: reading them out of the tool's record text
// with the pattern matcher (its cells: RowCells.h).
//
// The record text holds one match of kRowQuery (toollink/portable/vocabulary/RowTableTexts.h) per row;
// the match's groups 1 to 17 are the row's cells. Cell 17 holds the row's two corners.

#include <cstdint>

#include "common/portable/Text.h"
#include "tooldriver/portable/RowCells.h"

// Reads every row of `source` with a pattern matcher made for this call (it initialises COM for
// the calling thread and uninitialises it before returning; run it on a thread where that is
// allowed). When the engine cannot be created or refuses the pattern the result is 0 and `rows`
// is left as it was; otherwise `rows` is replaced by exactly the rows read (no rows: empty) and
// their number is returned. Cells are read one group at a time, 17 per row.
// Cell 17 becomes the corners by ReadRowCorners (RowCells.h).
int32_t ImportRows(const Text& source, RowArray& rows);
