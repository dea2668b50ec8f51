// What the tool's entry listing turns into: records, their count, and whether it was a listing.

#include "tooldriver/portable/EntryListing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/portable/SharedTexts.h"
#include "tests/tooldriver/portable/ListingLines.h"

namespace {

// What a record is expected to hold; only the fields a case names are compared.
struct Expected {
    int32_t number;
    Text name;
    int32_t extra;
};

TEST(EntryListingParseTest, ListingLinesBecomeRecords) {
    const Text L = kLineSep;
    const Text six = Line({"No.1", "alpha", "k", "label", "state", "pos"});
    struct Case {
        const char* name;
        Text output;
        std::vector<Expected> records;
    } cases[] = {
        {"empty output", "", {}},
        {"blank output", "  \xA1\xA1 ", {}},
        {"seven fields give extra 0", Line({"No.3", "gamma", "k", "l", "s", "p", "12"}) + L, {{3, "gamma", 0}}},
        {"six fields give extra 1", six + L, {{1, "alpha", 1}}},
        {"eight fields give extra 1", Line({"No.4", "delta", "k", "l", "s", "p", "12", "more"}) + L, {{4, "delta", 1}}},
        {"final separator gives no empty record", six + L + six + L, {{1, "alpha", 1}, {1, "alpha", 1}}},
        {"last line without separator counts",
         six + L + Line({"No.2", "beta", "k", "l", "s", "p"}),
         {{1, "alpha", 1}, {2, "beta", 1}}},
        {"number mark in any letter case",
         Line({"no.7", "a", "", "", "", ""}) + L + Line({"NO.8", "b", "", "", "", ""}),
         {{7, "a", 1}, {8, "b", 1}}},
        {"number without mark keeps its value", Line({"42", "x", "", "", "", ""}), {{42, "x", 1}}},
        {"mark inside the number removed everywhere", Line({"No.1No.5", "x", "", "", "", ""}), {{15, "x", 1}}},
        {"number field without digits gives 0", Line({"No.", "x", "", "", "", ""}), {{0, "x", 1}}},
        {"full-width digits read as digits", Line({"No.\xA3\xB1\xA3\xB2", "x", "", "", "", ""}), {{12, "x", 1}}},
        {"spaces around the whole output trimmed", "  " + six + L + "  ", {{1, "alpha", 1}}},
        {"double-byte name kept byte for byte",
         Line({"No.9", "\xCC\xF5\xC4\xBF \xB1\xED", "", "", "", "", "7"}),
         {{9, "\xCC\xF5\xC4\xBF \xB1\xED", 0}}},
        {"empty line between two entries skipped", six + L + L + six + L, {{1, "alpha", 1}, {1, "alpha", 1}}},
        {"line with two fields kept", Line({"No.5", "e"}) + L + six, {{5, "e", 1}, {1, "alpha", 1}}},
        {"line with empty last fields kept", Line({"No.6", "f", "", "", "", ""}), {{6, "f", 1}}},
        // An empty seventh field does not count, as no empty piece after the last separator does.
        {"seven fields, the seventh empty", Line({"No.6", "f", "k", "l", "s", "p", ""}), {{6, "f", 1}}},
        {"line of one field skipped", "No.5" + L + six, {{1, "alpha", 1}}},
        {"interpreter message instead of a listing",
         "'entryctl.exe' is not recognized as an internal command.\r\n",
         {}},
        // A zero byte neither ends the listing nor spoils the number field it stands in.
        {"zero byte before a line",
         six + L + Text(1, '\0') + Line({"No.2", "beta", "k", "l", "s", "p"}),
         {{1, "alpha", 1}, {2, "beta", 1}}},
        {"zero byte inside a field",
         Line({Text("No.1\0"
                    "2",
                    6),
               Text("be\0ta", 5), "", "", "", ""}),
         {{12, "beta", 1}}},
        // A field that ends in a lone lead byte still ends at the separator after it: no code page
        // takes a tab or a line break as a second byte.
        {"lone lead byte before a field separator",
         Line({"No.1", "a\xF0", "k\xB0", "", "", "", "7"}) + L,
         {{1, "a\xF0", 0}}},
        // Every line break ends a line: a field never holds one, whatever the tool printed.
        {"lines ended by a lone line feed",
         Line({"No.1", "a", "", "", "", ""}) + "\n" + Line({"No.2", "b", "k"}) + "\n",
         {{1, "a", 1}, {2, "b", 1}}},
        {"lines ended by a lone carriage return",
         Line({"No.1", "a", "x\ry"}) + "\r" + Line({"No.2", "b"}),
         {{1, "a", 1}, {2, "b", 1}}},
        {"a carriage return doubled before the line feed",
         six + "\r\r\n" + six + L,
         {{1, "alpha", 1}, {1, "alpha", 1}}},
        {"lone lead byte before a line separator",
         Line({"No.1", "x", "", "", "", "\xB0"}) + L + six,
         {{1, "x", 1}, {1, "alpha", 1}}},
        // A tool that dies mid-listing leaves its last line cut short anywhere.
        {"cut inside the last field", six + L + "No.2\tbe", {{1, "alpha", 1}, {2, "be", 1}}},
        {"cut after a lead byte", six + L + Line({"No.2", "\xD6\xD0\xCE"}), {{1, "alpha", 1}, {2, "\xD6\xD0\xCE", 1}}},
        {"cut between carriage return and line feed", six + "\r", {{1, "alpha", 1}}},
        {"cut after the number field", six + L + "No.3\t", {{1, "alpha", 1}}},
        {"cut after the seventh field's separator", Line({"No.3", "c", "k", "l", "s", "p", ""}) + L, {{3, "c", 1}}},
        // Trimming the whole output reads characters: A1 A1 is a blank only where it is one character.
        {"double-byte space after the last line trimmed",
         six + L + Line({"No.2", "b"}) + "\xA1\xA1 ",
         {{1, "alpha", 1}, {2, "b", 1}}},
        {"A1 A1 that is no double-byte space kept", Line({"No.2", "b\xB0\xA1\xA1"}), {{2, "b\xB0\xA1\xA1", 1}}},
        {"lone lead byte before a trailing space", Line({"No.2", "b\xB0"}) + " ", {{2, "b\xB0", 1}}},
        {"blanks before the first line trimmed", " \xA1\xA1" + six, {{1, "alpha", 1}}},
        // Second bytes in the ASCII range stay part of their character.
        {"second bytes that look like ASCII",
         Line({"No.8", "\x81\x40\xB0\x5C\xD6\x7E", "k"}),
         {{8, "\x81\x40\xB0\x5C\xD6\x7E", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EntryList list(3);  // leftovers of an earlier listing must go
        list[0].text1 = "old";
        ASSERT_EQ(ParseEntryListing(c.output, list), static_cast<int32_t>(c.records.size()));
        ASSERT_EQ(list.size(), c.records.size());
        for (size_t i = 0; i < c.records.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(list[i].number, c.records[i].number);
            EXPECT_EQ(list[i].text1, c.records[i].name);
            EXPECT_EQ(list[i].extra, c.records[i].extra);
        }
    }
}

TEST(EntryListingParseTest, TellsAFailedListingFromAnEmptyOne) {
    const Text L = kLineSep;
    const Text entry = Line({"No.1", "alpha", "k", "l", "s", "p", "0"}) + L;
    struct Case {
        const char* name;
        Text output;
        ListingOutcome outcome;
        size_t records;
    } cases[] = {
        {"entries", entry + entry, ListingOutcome::Entries, 2},
        {"nothing printed", "", ListingOutcome::Empty, 0},
        {"only blanks and line ends", " \r\n\r\n ", ListingOutcome::Empty, 0},
        {"only a zero byte", Text(1, '\0'), ListingOutcome::Empty, 0},
        {"the tool's error alone", "entryctl: error: the tool is out of order\r\n", ListingOutcome::Failed, 0},
        {"text without an entry line", "Service starting, try again later\r\n", ListingOutcome::Failed, 0},
        {"the interpreter cannot find the tool", "'entryctl.exe' is not recognized as an internal command.\r\n",
         ListingOutcome::Failed, 0},
        {"an error after some entries", entry + "entryctl: error: the store is damaged\r\n", ListingOutcome::Failed, 1},
        {"an error before the entries", "error: partial listing" + L + entry, ListingOutcome::Failed, 1},
        // An entry may be called anything, the error marker included.
        {"an entry named like an error", Line({"No.4", "error: not one", "", "", "", "", "0"}) + L + entry,
         ListingOutcome::Entries, 2},
        {"a warning beside the entries", entry + "entryctl: warning: written to standard error\r\n" + entry,
         ListingOutcome::Entries, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EntryList list(2);
        EXPECT_EQ(ParseEntryListingOutcome(c.output, list), c.outcome);
        EXPECT_EQ(list.size(), c.records);
    }
}

TEST(EntryListingParseTest, MissingFieldsOfAShortLineAreEmpty) {
    EntryList list;
    ASSERT_EQ(ParseEntryListing(Line({"No.3", "name", "two"}), list), 1);
    EXPECT_EQ(list[0].number, 3);
    EXPECT_EQ(list[0].text1, "name");
    EXPECT_EQ(list[0].text2, "two");
    EXPECT_EQ(list[0].text3, "");
    EXPECT_EQ(list[0].text5, "");
    EXPECT_EQ(list[0].extra, 1);
}

TEST(EntryListingParseTest, EveryFieldLandsInItsPlace) {
    EntryList list;
    ASSERT_EQ(ParseEntryListing(Line({"No.17", "name", "two", "three", "four", "five", "seven"}) + kLineSep, list), 1);
    EXPECT_EQ(list[0].number, 17);
    EXPECT_EQ(list[0].text1, "name");
    EXPECT_EQ(list[0].text2, "two");
    EXPECT_EQ(list[0].text3, "three");
    EXPECT_EQ(list[0].text4, "four");
    EXPECT_EQ(list[0].text5, "five");
    EXPECT_EQ(list[0].extra, 0);
}

// Every field of each record, for comparing whole records.
std::vector<Text> Fields(const EntryRecord& r) {
    return {std::to_string(r.number), r.text1, r.text2, r.text3, r.text4, r.text5, std::to_string(r.extra)};
}

TEST(EntryListingParseTest, AListReadAgainHoldsOnlyTheNewListing) {
    const Text L = kLineSep;
    const Text full = Line({"No.1", "a long name that does not fit", "kind", "label", "state", "pos", "9"}) + L;
    const Text shortLine = Line({"No.2", "b"}) + L;
    struct Case {
        const char* name;
        Text earlier;
        Text now;
    } cases[] = {
        {"full records, then short lines", full + full + full, shortLine + shortLine},
        {"fewer records than before", full + full + full, full},
        {"more records than before", shortLine, full + shortLine + full + shortLine},
        {"seven fields, then six", full, Line({"No.3", "c", "k", "l", "s", "p"}) + L},
        {"entries, then an empty listing", full + full, ""},
        {"entries, then a failed listing", full, "error: the store is damaged" + L},
        {"double-byte names, then ASCII ones",
         Line({"No.4", "\xD6\xD0\xCE\xC4\xC3\xFB\xB3\xC6\xB5\xC4\xCC\xF5\xC4\xBF", "\xBC\xD7", "", "", "", "1"}) + L,
         shortLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EntryList fresh;
        const ListingOutcome freshOutcome = ParseEntryListingOutcome(c.now, fresh);
        EntryList reused;
        ParseEntryListing(c.earlier, reused);
        EXPECT_EQ(ParseEntryListingOutcome(c.now, reused), freshOutcome);
        ASSERT_EQ(reused.size(), fresh.size());
        for (size_t i = 0; i < fresh.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Fields(reused[i]), Fields(fresh[i]));
        }
    }
}

// A listing of 100,000 lines, as a big tool prints it, with the variety a real one has spread over
// it: double-byte names (with second bytes in the ASCII range and a double-byte space inside),
// names too long for a short text, lines of two to eight fields, all three kinds of line end, empty
// lines, zero bytes inside characters and blanks around the whole output. Every record is compared
// with what its line was made from.
TEST(EntryListingParseTest, AHundredThousandLinesAreReadWhole) {
    constexpr int kLines = 100000;
    std::vector<EntryRecord> made;
    made.reserve(kLines);
    Text output = " \xA1\xA1 ";
    static const char* const kMarks[] = {"No.", "no.", "NO.", ""};
    for (int i = 1; i <= kLines; ++i) {
        const Text digits = std::to_string(i);
        Text name;
        Text printedName;
        switch (i % 5) {
            case 0:
                name = "\xD6\xD0\xCE\xC4\x81\x40\xA1\xA1\xB0\x5C" + digits;
                printedName = name;
                break;
            case 1:
                name = "an entry with a name longer than a short text " + digits;
                printedName = name;
                break;
            case 2:
                // A zero byte between a lead byte and its second byte: gone, the pair is one again.
                name = "z\xD6\xD0" + digits;
                printedName = Text("z\xD6\0\xD0", 4) + digits;
                break;
            default:
                name = "e" + digits;
                printedName = name;
        }
        const size_t fieldCount = 2 + static_cast<size_t>(i % 7);  // 2 to 8
        std::vector<Text> printed = {kMarks[i % 4] + digits, printedName, "kind" + digits, "label", "\xD7\xB4\xCC\xAC",
                                     "pos" + digits,         "7",         "more"};
        printed.resize(fieldCount);
        EntryRecord& m = made.emplace_back();
        m.number = i;
        m.text1 = name;
        Text* const texts[] = {&m.text2, &m.text3, &m.text4, &m.text5};
        for (size_t k = 2; k < fieldCount && k < 6; ++k)
            *texts[k - 2] = printed[k];
        m.extra = fieldCount == 7 ? 0 : 1;

        Text line;
        for (size_t k = 0; k < printed.size(); ++k)
            line += (k ? Text(kCoordSep) : Text()) + printed[k];
        output += line + (i % 11 == 0 ? "\n" : i % 13 == 0 ? "\r" : kLineSep);
        if (i % 1000 == 0)
            output += kLineSep;  // an empty line, which is no entry
    }
    output += " \xA1\xA1";

    EntryList list(3);
    list[2].text5 = "left from an earlier listing";
    ASSERT_EQ(ParseEntryListingOutcome(output, list), ListingOutcome::Entries);
    ASSERT_EQ(list.size(), made.size());
    int shown = 0;
    for (size_t i = 0; i < made.size() && shown < 10; ++i) {
        const EntryRecord& r = list[i];
        const EntryRecord& m = made[i];
        if (r.number != m.number || r.text1 != m.text1 || r.text2 != m.text2 || r.text3 != m.text3 ||
            r.text4 != m.text4 || r.text5 != m.text5 || r.extra != m.extra) {
            ++shown;  // the first few differences are enough to see what went wrong
            SCOPED_TRACE("record " + std::to_string(i + 1));
            EXPECT_EQ(Fields(r), Fields(m));
        }
    }
}

}  // namespace
