// Reading rows out of record text through the system's real pattern engine. The cells' own rules
// (corners, the usable row count, the midpoint): RowCellsTest.cpp.

#include "tooldriver/RowTable.h"

#include <gtest/gtest.h>

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

}  // namespace
