// Reading rows out of record text through the system's real pattern engine, and the small
// rules of the row table: flag cells, the usable row count and the midpoint of two corners.

#include "tooldriver/RowTable.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/tooldriver/RowTableTestRows.h"

namespace {

struct Point4 {
    int32_t x1, y1, x2, y2;
};

void ExpectCorners(const RowRecord& row, const Point4& want) {
    EXPECT_EQ(row.x1, want.x1);
    EXPECT_EQ(row.y1, want.y1);
    EXPECT_EQ(row.x2, want.x2);
    EXPECT_EQ(row.y2, want.y2);
}

std::array<bool, 10> Flags(const RowRecord& r) {
    return {r.flag7, r.flag8, r.flag9, r.flag10, r.flag11, r.flag12, r.flag13, r.flag14, r.flag15, r.flag16};
}

TEST(RowTableTest, EveryCellLandsInItsField) {
    RowCells c;
    c.column1 = "42";
    c.column2 = "second";
    c.column3 = "third";
    c.column4 = "fourth";
    c.column5 = "fifth";
    c.column6 = "sixth";
    c.flags = {kTrueText1, "", kTrueText2, "no", kTrueText3, "0", kTrueText4, "x", "", kTrueText2};
    c.corners = Corners(10, 20, 30, 40);
    RowArray rows;
    ASSERT_EQ(ImportRows("header line\r\n" + RowLine(c) + "footer\r\n", rows), 1);
    ASSERT_EQ(rows.size(), 1u);
    const RowRecord& r = rows[0];
    EXPECT_EQ(r.column1, 42);
    EXPECT_EQ(r.column2, "second");
    EXPECT_EQ(r.column3, "third");
    EXPECT_EQ(r.column4, "fourth");
    EXPECT_EQ(r.column5, "fifth");
    EXPECT_EQ(r.column6, "sixth");
    const std::array<bool, 10> wantFlags = {true, false, true, false, true, false, true, false, false, true};
    EXPECT_EQ(Flags(r), wantFlags);
    ExpectCorners(r, {10, 20, 30, 40});
}

TEST(RowTableTest, RowsComeInTheirOrderAndLinesBetweenThemAreSkipped) {
    const Text source = NamedRow("first", "a", Corners(1, 2, 3, 4)) + "not a row|1|2\r\n" +
                        NamedRow("second", "b", "") + "\r\n" + NamedRow("third", "c", Corners(-5, 6, 7, -8));
    RowArray rows;
    ASSERT_EQ(ImportRows(source, rows), 3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].column2, "first");
    EXPECT_EQ(rows[1].column2, "second");
    EXPECT_EQ(rows[2].column2, "third");
    ExpectCorners(rows[0], {1, 2, 3, 4});
    ExpectCorners(rows[1], {-1, -1, -1, -1});  // empty corner cell
    ExpectCorners(rows[2], {-5, 6, 7, -8});
}

TEST(RowTableTest, ImportReplacesWhatTheTableHeld) {
    RowArray rows(3);
    rows[0].column2 = "stale";
    rows[2].x1 = 99;

    // No rows at all: the table ends up empty, not as it was.
    EXPECT_EQ(ImportRows("nothing that looks like a row\r\n", rows), 0);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(ImportRows("", rows), 0);
    EXPECT_TRUE(rows.empty());

    // Fewer rows than before: nothing of the old rows is left in the new ones.
    rows.assign(4, RowRecord());
    rows[0].column3 = "stale";
    rows[0].flag16 = true;
    rows[1].column2 = "stale";
    ASSERT_EQ(ImportRows(NamedRow("fresh", "", ""), rows), 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].column2, "fresh");
    EXPECT_EQ(rows[0].column3, "");
    EXPECT_FALSE(rows[0].flag16);
}

TEST(RowTableTest, FlagCellsCountOnlyTheTrueTextsExactly) {
    struct Case {
        const char* name;
        Text cell;
        bool want;
    } cases[] = {
        {"first true text", kTrueText1, true},
        {"second true text", kTrueText2, true},
        {"third true text", kTrueText3, true},
        {"fourth true text", kTrueText4, true},
        {"second true text in capitals", "YES", false},
        {"second true text capitalised", "Yes", false},
        {"third true text in capitals", "TRUE", false},
        {"fourth true text capitalised", "On", false},
        {"second true text with a space before", " yes", false},
        {"second true text with a space after", "yes ", false},
        {"first true text twice", "11", false},
        {"empty", "", false},
        {"zero", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsTrueText(c.cell), c.want);
        // The same cell read from a row, in each flag column in turn.
        for (int column = 0; column < 10; ++column) {
            RowCells cells;
            cells.flags[column] = c.cell;
            RowArray rows;
            ASSERT_EQ(ImportRows(RowLine(cells), rows), 1);
            std::array<bool, 10> want{};
            want[column] = c.want;
            EXPECT_EQ(Flags(rows[0]), want) << "flag cell " << column + 7;
        }
    }
}

TEST(RowTableTest, CornerCellsOfEveryShape) {
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
        RowCells cells;
        cells.corners = c.cell;
        RowArray rows;
        ASSERT_EQ(ImportRows(RowLine(cells), rows), 1);
        ExpectCorners(rows[0], c.want);
    }
}

TEST(RowTableTest, DoubleByteCellsKeepTheirBytes) {
    // Code page 936 text, and a character whose second byte is the cell separator's byte
    // ('|', 0x7C): it is part of the character, not the end of the cell.
    const Text chinese = "\xD6\xD0\xCE\xC4\xC3\xFB\xB3\xC6";
    const Text withBarByte = "\xB1\x7C\xB1\xED";
    RowCells c;
    c.column2 = chinese;
    c.column3 = withBarByte;
    c.column4 = "ok";
    RowArray rows;
    ASSERT_EQ(ImportRows(RowLine(c), rows), 1);
    EXPECT_EQ(rows[0].column2, chinese);
    EXPECT_EQ(rows[0].column3, withBarByte);
    EXPECT_EQ(rows[0].column4, "ok");
}

TEST(RowTableTest, UsableRowCountNeverExceedsTheRowsTheSourceHolds) {
    const Text two = NamedRow("a", "", "") + NamedRow("b", "", "");
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UsableRowCount(c.reported, c.source), c.want);
    }
}

TEST(RowTableTest, MidpointRoundsAnExactHalfAwayFromZero) {
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
