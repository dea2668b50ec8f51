// The cells of a record row read without the pattern engine: the corners of cell 17, how many
// rows a record text can hold, and the midpoint of two corners.

#include "tooldriver/portable/RowCells.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/portable/SharedTexts.h"

namespace {

struct Point4 {
    int32_t x1, y1, x2, y2;
};

TEST(RowCellsTest, CornerCellsOfEveryShape) {
    const Text t = kCoordSep;
    struct Case {
        const char* name;
        Text cell;
        Point4 want;
    } cases[] = {
        {"two corners", "(10" + t + "20)-(30" + t + "40)", {10, 20, 30, 40}},
        {"negative coordinates", "(-10" + t + "20)-(30" + t + "-40)", {-10, 20, 30, -40}},
        {"every open and close mark is removed", "((10" + t + "20)-(30" + t + "40))", {10, 20, 30, 40}},
        {"marks missing", "10" + t + "20)-(30" + t + "40", {10, 20, 30, 40}},
        {"a third corner is dropped", "(1" + t + "2)-(3" + t + "4)-(5" + t + "6)", {1, 2, 3, 4}},
        {"a third coordinate stays with the second", "(1" + t + "2" + t + "9)-(3" + t + "4)", {1, 2, 3, 4}},
        {"coordinates without numbers read 0", "(a" + t + "b)-(c" + t + "d)", {0, 0, 0, 0}},
        {"empty coordinate before the separator reads 0", "(" + t + "5)-(6" + t + ")", {0, 5, 6, -1}},
        // Outside the format: what the cell does not have stays -1.
        {"one corner", "(10" + t + "20)", {10, 20, -1, -1}},
        {"one corner and the separator", "(10" + t + "20)-(", {10, 20, -1, -1}},
        {"one coordinate in the first corner", "(10)-(30" + t + "40)", {10, -1, 30, 40}},
        {"one coordinate in each corner", "(10)-(30)", {10, -1, 30, -1}},
        {"empty second corner between two separators", "(1" + t + "2)-()-(5" + t + "6)", {1, 2, -1, -1}},
        {"only the separator", ")-(", {-1, -1, -1, -1}},
        {"only marks: a close mark stays in a lone first corner", "()", {0, -1, -1, -1}},
        {"empty", "", {-1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowRecord row;
        ReadRowCorners(c.cell, row);
        EXPECT_EQ(row.x1, c.want.x1);
        EXPECT_EQ(row.y1, c.want.y1);
        EXPECT_EQ(row.x2, c.want.x2);
        EXPECT_EQ(row.y2, c.want.y2);
    }
}

TEST(RowCellsTest, UsableRowCountNeverExceedsTheRowsTheSourceHolds) {
    const Text two = "row|1|a\r\nrow|2|b\r\n";
    struct Case {
        const char* name;
        int32_t reported;
        Text source;
        int32_t want;
    } cases[] = {
        {"as reported", 2, two, 2},
        {"fewer reported", 1, two, 1},
        {"zero", 0, two, 0},
        {"negative", -1, two, 0},
        {"most negative", INT32_MIN, two, 0},
        {"absurdly many", INT32_MAX, two, 2},
        {"more than an empty source holds", 5, "", 0},
        {"row leads in another case count", 9, "ROW|1 Row|2", 2},
        // The lead's first letter is the second byte of a double-byte character here: no row.
        {"lead inside a double-byte character", 9, "\xD2row|1", 0},
        // 0x80 (the euro sign in code page 936) leads no pair: the lead after it counts.
        {"lead after a byte that leads no pair", 9, "\x80row|1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UsableRowCount(c.reported, c.source), c.want);
    }
}

TEST(RowCellsTest, MidpointRoundsAnExactHalfAwayFromZero) {
    struct Case {
        int32_t from, to, want;
    } cases[] = {
        {10, 30, 20},
        {20, 40, 30},
        {10, 21, 16},  // 10 + 5.5
        {21, 10, 15},  // 21 - 5.5
        {-1, -1, -1},
        {0, -3, -2},  // 0 - 1.5
        {-3, 0, -1},  // -3 + 1.5
        {INT32_MIN, INT32_MAX, 0},
        {INT32_MAX, INT32_MIN, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        EXPECT_EQ(Midpoint(c.from, c.to), c.want);
    }
}

}  // namespace
