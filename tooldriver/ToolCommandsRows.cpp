// The row table operations of ToolCommands: capturing the tool's records as rows and pointing
// at a row found in them.

#include "tooldriver/ToolCommands.h"

#include "common/portable/TextOps.h"
#include "tooldriver/CodePageConversion.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

const Text& Column2Of(const RowRecord& row) {
    return row.column2;
}

const Text& Column4Of(const RowRecord& row) {
    return row.column4;
}

// Captures `target`'s rows and finds the first whose cell (`cellOf`) holds `needle` (an empty
// needle matches any non-empty cell). When there is one and `point` is set, points at its
// midpoint. False when no row matches.
bool FindRowAndPoint(const ToolCommands& commands,
                     const Text& target,
                     const Text& needle,
                     bool ignoreCase,
                     const Text& (*cellOf)(const RowRecord&),
                     bool point) {
    RowArray rows;
    commands.CaptureRows(target, rows);
    for (const RowRecord& row : rows) {
        if (FindText(cellOf(row), needle, ignoreCase) > 0) {
            if (point)
                commands.PointAt(target, Midpoint(row.x1, row.x2), Midpoint(row.y1, row.y2));
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t ToolCommands::CaptureRows(const Text& entry, RowArray& records) const {
    records.clear();
    const std::optional<Text> answer = Issue(CaptureRowsLines(entry));
    if (!answer || !link_.Contains(*answer, kRecordsMarker))
        return 0;
    // The records arrive as UTF-8; the rows hold code page 936 text.
    return ImportRows(Utf8ToCp936(QueryText(entry, kRecordsQuery)), records);
}

int32_t ToolCommands::ImportRows(const Text& source, RowArray& rows) const {
    return ::ImportRows(source, rows);
}

bool ToolCommands::IsTrueText(const Text& cell) const {
    return ::IsTrueText(cell);
}

// Both lookups leave the tool's folder to the runner, which makes it current for every line it
// starts (under the lock that keeps other threads from changing it in between).
bool ToolCommands::PointAtRowByText(const Text& target, const Text& needle, int32_t mode) const {
    return FindRowAndPoint(*this, target, needle, /*ignoreCase=*/true, Column2Of, /*point=*/mode == 1);
}

bool ToolCommands::PointAtRowByColumn4(const Text& target, const Text& needle) const {
    return FindRowAndPoint(*this, target, needle, /*ignoreCase=*/false, Column4Of, /*point=*/true);
}
