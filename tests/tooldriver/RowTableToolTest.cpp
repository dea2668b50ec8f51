// Capturing the tool's records and pointing at a row, end to end: the real command runner, the
// real command interpreter, the real pattern engine and a private copy of the stand-in tool,
// whose journal shows every command line it received.

#include "tooldriver/ToolCommands.h"

#include <gtest/gtest.h>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/support/portable/TextSearches.h"
#include "tests/tooldriver/RowTableTestRows.h"
#include "tests/tooldriver/ToolCommandsToolFolder.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

// "中文名称" in UTF-8, as the tool prints it, and in code page 936, as the program holds it.
const Text kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87\xE5\x90\x8D\xE7\xA7\xB0";
const Text kChinese936 = "\xD6\xD0\xCE\xC4\xC3\xFB\xB3\xC6";

// The part of a built line after the program's name: what the tool must receive as it is.
Text AfterProgram(const Text& line) {
    const Text program = "entryctl.exe";
    const int at = FindText(line, program, /*ignoreCase=*/true);
    return at < 0 ? line : line.substr(at - 1 + program.size());
}

class RowTableToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tool_.Ready());
        ASSERT_GT(tool_.Add(kEntry), 0);
    }

    // Gives `entry` the records `utf8Rows` (the tool prints them as they are).
    void GiveRecords(const Text& entry, const Text& utf8Rows) {
        const Text file = files_.File("rows.txt");
        ASSERT_TRUE(WriteWholeFile(file, utf8Rows));
        tool_.Admin("records \"" + entry + "\" \"" + file + "\"");
    }

    // The lines the tool received, each checked against the line the program should have built.
    void ExpectJournal(const TextArray& built) {
        const TextArray journal = tool_.Journal();
        ASSERT_EQ(journal.size(), built.size()) << "lines received: " << JoinLines(journal);
        for (size_t i = 0; i < built.size(); ++i)
            EXPECT_TRUE(EndsWith(journal[i], AfterProgram(built[i]))) << journal[i] << "\nwanted " << built[i];
    }

    static Text JoinLines(const TextArray& lines) {
        Text all;
        for (const Text& line : lines)
            all += "\n  " + line;
        return all;
    }

    // The lines of one capture of `entry`'s records (name form).
    static Text CheckLine(const Text& entry) { return kEntryPrefixName + entry + kCaptureRowsTextName; }
    static Text ShowLine(const Text& entry) {
        return kEntryPrefixName + entry + kQueryTextTextName + kRecordsQuery + kPathMark;
    }
    static Text PointLine(const Text& entry, int x, int y) {
        return kEntryPrefixName + entry + kPointAtTextName + IntToText(x) + kArgSep + IntToText(y) + kPathMark;
    }

    const Text kEntry = "row owner";
    ToolCopy tool_;
    ScratchFolder files_;
    ToolCommands commands_;  // the real runner
};

TEST_F(RowTableToolTest, CaptureBringsTheUtf8RecordsOverAsCodePage936Text) {
    RowCells chinese;
    chinese.column1 = "7";
    chinese.column2 = kChineseUtf8;
    chinese.column3 = kChineseUtf8 + " & (x) < y ^ z";
    chinese.flags[0] = kTrueText1;
    chinese.corners = Corners(10, 20, 30, 40);
    GiveRecords(kEntry, "records of the entry\r\n" + RowLine(chinese) + NamedRow("plain", "four", ""));

    RowArray rows(5);  // whatever it held is replaced
    ASSERT_EQ(commands_.CaptureRows(kEntry, rows), 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].column1, 7);
    EXPECT_EQ(rows[0].column2, kChinese936);  // byte for byte
    EXPECT_EQ(rows[0].column3, kChinese936 + " & (x) < y ^ z");
    EXPECT_TRUE(rows[0].flag7);
    EXPECT_EQ(rows[0].x2, 30);
    EXPECT_EQ(rows[1].column2, "plain");
    EXPECT_EQ(rows[1].column4, "four");
    EXPECT_EQ(rows[1].y2, -1);
    ExpectJournal({CheckLine(kEntry), ShowLine(kEntry)});
}

TEST_F(RowTableToolTest, CaptureByNumberUsesTheNumericForm) {
    const int32_t number = tool_.Add("numbered");
    const Text designator = IntToText(number);
    GiveRecords("numbered", NamedRow("by number", "", Corners(1, 2, 3, 4)));
    RowArray rows;
    ASSERT_EQ(commands_.CaptureRows(designator, rows), 1);
    EXPECT_EQ(rows[0].column2, "by number");
    ExpectJournal({kEntryPrefixNumber + designator + kCaptureRowsTextNumber,
                   kEntryPrefixNumber + designator + kQueryTextTextNumber + kRecordsQuery + kPathMark});
}

TEST_F(RowTableToolTest, WithoutTheMarkerNoSecondCommandRunsAndTheTableIsEmpty) {
    struct Case {
        const char* name;
        Text entry;
    } cases[] = {
        {"entry without records", kEntry},
        {"entry the tool does not have", "missing entry"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tool_.Admin("clear");
        ASSERT_GT(tool_.Add(kEntry), 0);
        RowArray rows(2);
        rows[0].column2 = "stale";
        EXPECT_EQ(commands_.CaptureRows(c.entry, rows), 0);
        EXPECT_TRUE(rows.empty());
        ExpectJournal({CheckLine(c.entry)});
    }
}

TEST_F(RowTableToolTest, RecordsWithoutRowsEmptyTheTable) {
    GiveRecords(kEntry, "");
    RowArray rows(3);
    rows[1].column2 = "stale";
    EXPECT_EQ(commands_.CaptureRows(kEntry, rows), 0);
    EXPECT_TRUE(rows.empty());
    ExpectJournal({CheckLine(kEntry), ShowLine(kEntry)});
}

TEST_F(RowTableToolTest, PointAtRowByTextPointsAtTheMidpointOfTheFirstMatchingRow) {
    struct Case {
        const char* name;
        Text rows;
        Text needle;
        int x, y;
    } cases[] = {
        {"corners 10,20 and 30,40",
         NamedRow("other", "", Corners(0, 0, 2, 2)) + NamedRow("Target Row", "", Corners(10, 20, 30, 40)) +
             NamedRow("target row too", "", Corners(1, 1, 1, 1)),
         "target", 20, 30},
        {"odd differences round away from zero", NamedRow("odd", "", Corners(10, 20, 21, 41)), "odd", 16, 31},
        {"corners in reverse", NamedRow("reverse", "", Corners(21, 41, 10, 20)), "reverse", 15, 30},
        {"empty corner cell", NamedRow("no corners", "", ""), "corners", -1, -1},
        {"one corner only: the missing one counts as -1,-1", NamedRow("half", "", "(11\t21)"), "half", 5, 10},
        {"empty needle: the first row with a second cell",
         NamedRow("", "", Corners(0, 0, 0, 0)) + NamedRow("x", "", Corners(4, 4, 8, 8)), "", 6, 6},
        {"double-byte needle", NamedRow(kChineseUtf8, "", Corners(2, 2, 4, 4)), kChinese936.substr(0, 4), 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tool_.Admin("clear");
        ASSERT_GT(tool_.Add(kEntry), 0);
        GiveRecords(kEntry, c.rows);
        EXPECT_TRUE(commands_.PointAtRowByText(kEntry, c.needle));
        ExpectJournal({CheckLine(kEntry), ShowLine(kEntry), PointLine(kEntry, c.x, c.y)});
    }
}

TEST_F(RowTableToolTest, ModeOtherThanOneFindsTheRowWithoutPointing) {
    for (int32_t mode : {0, 2, -1}) {
        SCOPED_TRACE(mode);
        tool_.Admin("clear");
        ASSERT_GT(tool_.Add(kEntry), 0);
        GiveRecords(kEntry, NamedRow("Target Row", "", Corners(10, 20, 30, 40)));
        EXPECT_TRUE(commands_.PointAtRowByText(kEntry, "target row", mode));
        ExpectJournal({CheckLine(kEntry), ShowLine(kEntry)});
    }
    // Mode 1 given explicitly is the same as leaving it out.
    tool_.Admin("clear");
    ASSERT_GT(tool_.Add(kEntry), 0);
    GiveRecords(kEntry, NamedRow("Target Row", "", Corners(10, 20, 30, 40)));
    EXPECT_TRUE(commands_.PointAtRowByText(kEntry, "target row", 1));
    ExpectJournal({CheckLine(kEntry), ShowLine(kEntry), PointLine(kEntry, 20, 30)});
}

TEST_F(RowTableToolTest, LetterCaseCountsForTheFourthColumnOnly) {
    // The same text in cells 2 and 4; the needle differs from it only in letter case.
    GiveRecords(kEntry, NamedRow("Target Row", "Target Row", Corners(10, 20, 30, 40)));

    EXPECT_FALSE(commands_.PointAtRowByColumn4(kEntry, "TARGET ROW"));
    ExpectJournal({CheckLine(kEntry), ShowLine(kEntry)});

    EXPECT_TRUE(commands_.PointAtRowByText(kEntry, "TARGET ROW"));
    EXPECT_TRUE(commands_.PointAtRowByColumn4(kEntry, "Row"));
    ExpectJournal({CheckLine(kEntry), ShowLine(kEntry), CheckLine(kEntry), ShowLine(kEntry), PointLine(kEntry, 20, 30),
                   CheckLine(kEntry), ShowLine(kEntry), PointLine(kEntry, 20, 30)});
}

TEST_F(RowTableToolTest, NoMatchingRowPointsNowhere) {
    GiveRecords(kEntry, NamedRow("alpha", "", Corners(1, 2, 3, 4)) + NamedRow("", "beta", ""));
    EXPECT_FALSE(commands_.PointAtRowByText(kEntry, "beta"));      // only in a fourth cell
    EXPECT_FALSE(commands_.PointAtRowByColumn4(kEntry, "alpha"));  // only in a second cell
    ExpectJournal({CheckLine(kEntry), ShowLine(kEntry), CheckLine(kEntry), ShowLine(kEntry)});
}

TEST_F(RowTableToolTest, AnEntryUnsafeOnACommandLineRunsNothing) {
    RowArray rows(1);
    EXPECT_EQ(commands_.CaptureRows("bad \" entry", rows), 0);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(commands_.PointAtRowByText("bad \r\n entry", ""));
    EXPECT_FALSE(commands_.PointAtRowByColumn4("bad \" entry", ""));
    ExpectJournal({});
}

TEST_F(RowTableToolTest, ImportRowsOfTheCommandObjectReadsRows) {
    RowArray rows;
    EXPECT_EQ(commands_.ImportRows(NamedRow("a", "", "") + NamedRow("b", "", ""), rows), 2);
    EXPECT_EQ(rows[1].column2, "b");
    EXPECT_TRUE(commands_.IsTrueText(kTrueText3));
    EXPECT_FALSE(commands_.IsTrueText("True"));
}

}  // namespace
