// The cells of the tool's record rows, whatever the tool prints in them:
//  - a corner cell never makes the reading go past the pieces it has; an empty cell gives -1 for
//    all four coordinates, a cell without the corner separator -1 for the second corner, and a
//    well-formed cell "(x1<TAB>y1)-(x2<TAB>y2)" exactly its four numbers;
//  - the midpoint of two coordinates lies between them, half-way, an exact half rounded away from
//    the first (no overflow at the ends of the 32-bit range);
//  - the usable row count is never negative, never above the count reported, never above the
//    rows the text can hold (one per row lead);
//  - a flag cell is true only when it is one of the true texts.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/portable/TextOps.h"
#include "fuzz/FuzzCheck.h"
#include "tooldriver/portable/RowCells.h"

namespace {

std::string ShowCorners(const RowRecord& row) {
    return std::to_string(row.x1) + ", " + std::to_string(row.y1) + ", " + std::to_string(row.x2) + ", " +
           std::to_string(row.y2);
}

// Row leads anywhere in the text, letters in any case: no row can be counted without one.
int32_t LeadsIn(const Text& text) {
    int32_t leads = 0;
    for (size_t at = 0; at + 4 <= text.size(); ++at) {
        if (EqualsIgnoreCase(text.substr(at, 4), "row|"))
            ++leads;
    }
    return leads;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int32_t x1 = input.ConsumeIntegral<int32_t>();
    const int32_t y1 = input.ConsumeIntegral<int32_t>();
    const int32_t x2 = input.ConsumeIntegral<int32_t>();
    const int32_t y2 = input.ConsumeIntegral<int32_t>();
    const int32_t reported = input.ConsumeIntegral<int32_t>();
    const Text cell = input.ConsumeRemainingBytesAsString();

    RowRecord row;
    ReadRowCorners(cell, row);
    if (cell.empty())
        FUZZ_CHECK(row.x1 == -1 && row.y1 == -1 && row.x2 == -1 && row.y2 == -1, ShowCorners(row));
    if (cell.find(")-(") == Text::npos)
        FUZZ_CHECK(row.x2 == -1 && row.y2 == -1, ShowBytes(cell) + " gives " + ShowCorners(row));

    const Text wellFormed =
        "(" + IntToText(x1) + "\t" + IntToText(y1) + ")-(" + IntToText(x2) + "\t" + IntToText(y2) + ")";
    RowRecord exact;
    ReadRowCorners(wellFormed, exact);
    FUZZ_CHECK(exact.x1 == x1 && exact.y1 == y1 && exact.x2 == x2 && exact.y2 == y2,
               ShowBytes(wellFormed) + " gives " + ShowCorners(exact));

    for (auto [from, to] : {std::pair{x1, x2}, {y1, y2}, {x1, y2}}) {
        const int64_t m = Midpoint(from, to);
        const int64_t twice = 2 * m - static_cast<int64_t>(from) - to;
        const std::string where =
            "midpoint of " + std::to_string(from) + " and " + std::to_string(to) + " is " + std::to_string(m);
        FUZZ_CHECK(m >= std::min(from, to) && m <= std::max(from, to), where);
        FUZZ_CHECK(twice >= -1 && twice <= 1, where);
        // An exact half goes away from `from`: the midpoint is never nearer to it than to `to`.
        FUZZ_CHECK(std::abs(m - from) >= std::abs(static_cast<int64_t>(to) - m), where);
    }

    const int32_t usable = UsableRowCount(reported, cell);
    FUZZ_CHECK(usable >= 0 && usable <= std::max(reported, 0) && usable <= LeadsIn(cell),
               std::to_string(usable) + " usable rows of " + std::to_string(reported) + " in " + ShowBytes(cell));

    if (IsTrueText(cell))
        FUZZ_CHECK(cell == "1" || cell == "yes" || cell == "true" || cell == "on", ShowBytes(cell));
    return 0;
}
