#pragma once
// The texts of the tool's record query: whether records can be given, the query that prints
// them (as UTF-8), and the layout of one record row.

#include "common/portable/SharedTexts.h"

// Present in the answer to the records check (kCaptureRowsText*) when records can be given.
inline constexpr char kRecordsMarker[] = "records ready";
// The argument of the show command (QueryText) that prints the records as UTF-8 text.
inline constexpr char kRecordsQuery[] = "records";

// One record is one line: kRowLead, then 17 cells separated by kRowCellSep, then kLineSep.
// Cell 1 is a decimal number; cells 7 to 16 are flags (true when one of kTrueText1..4);
// cell 17 holds two corners: kCornerOpen x1 kCoordSep y1 kCornerSep x2 kCoordSep y2 kCornerClose,
// e.g. "(10<TAB>20)-(30<TAB>40)", or is empty. No cell holds kRowCellSep or a line break.
inline constexpr char kRowLead[] = "row|";
inline constexpr char kRowCellSep[] = "|";
// The pattern (for the pattern-matching engine: global, multi-line, letter case ignored) whose
// matches are the rows and whose groups 1 to 17 are the cells.
inline constexpr char kRowQuery[] =
    "row\\|(-?[0-9]+)"
    "\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)"
    "\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)"
    "\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)"
    "\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)\\|([^|\\r\\n]*)";
inline constexpr char kCornerSep[] = ")-(";
inline constexpr char kCornerOpen[] = "(";
inline constexpr char kCornerClose[] = ")";

// Flag cells that count as true (exact, letter case respected).
inline constexpr const char* kTrueText1 = kMonthNumberTexts[0];
inline constexpr char kTrueText2[] = "yes";
inline constexpr char kTrueText3[] = "true";
inline constexpr char kTrueText4[] = "on";
