// What the tool's entry listing turns into: records, their count, and whether it was a listing.

#include "tooldriver/portable/EntryListing.h"

#include <gtest/gtest.h>

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
        {"lone lead byte before a field separator", Line({"No.1", "a\xF0", "k\xB0", "", "", "", "7"}) + L,
         {{1, "a\xF0", 0}}},
        // Every line break ends a line: a field never holds one, whatever the tool printed.
        {"lines ended by a lone line feed", Line({"No.1", "a", "", "", "", ""}) + "\n" + Line({"No.2", "b", "k"}) + "\n",
         {{1, "a", 1}, {2, "b", 1}}},
        {"lines ended by a lone carriage return", Line({"No.1", "a", "x\ry"}) + "\r" + Line({"No.2", "b"}),
         {{1, "a", 1}, {2, "b", 1}}},
        {"a carriage return doubled before the line feed", six + "\r\r\n" + six + L, {{1, "alpha", 1}, {1, "alpha", 1}}},
        {"lone lead byte before a line separator", Line({"No.1", "x", "", "", "", "\xB0"}) + L + six,
         {{1, "x", 1}, {1, "alpha", 1}}},
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

}  // namespace
