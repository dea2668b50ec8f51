// Listing, creation and option lines through a recording runner: what the tool's answers turn
// into, and the exact lines sent.

#include "tooldriver/EntryListing.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/tooldriver/ToolCommandsFake.h"
#include "tooldriver/ToolCommands.h"
#include "toollink/ToolLocation.h"
#include "toollink/vocabulary/ToolVocabulary.h"

namespace {

// One listing line: fields joined with the field separator.
Text Line(std::initializer_list<Text> fields) {
    Text line;
    bool first = true;
    for (const Text& field : fields) {
        if (!first)
            line += kCoordSep;
        line += field;
        first = false;
    }
    return line;
}

using EntryListingTest = ToolCommandsWithFake;

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
        {"last line without separator counts", six + L + Line({"No.2", "beta", "k", "l", "s", "p"}),
         {{1, "alpha", 1}, {2, "beta", 1}}},
        {"number mark in any letter case", Line({"no.7", "a", "", "", "", ""}) + L + Line({"NO.8", "b", "", "", "", ""}),
         {{7, "a", 1}, {8, "b", 1}}},
        {"number without mark keeps its value", Line({"42", "x", "", "", "", ""}), {{42, "x", 1}}},
        {"mark inside the number removed everywhere", Line({"No.1No.5", "x", "", "", "", ""}), {{15, "x", 1}}},
        {"number field without digits gives 0", Line({"No.", "x", "", "", "", ""}), {{0, "x", 1}}},
        {"full-width digits read as digits", Line({"No.\xA3\xB1\xA3\xB2", "x", "", "", "", ""}), {{12, "x", 1}}},
        {"spaces around the whole output trimmed", "  " + six + L + "  ", {{1, "alpha", 1}}},
        {"double-byte name kept byte for byte", Line({"No.9", "\xCC\xF5\xC4\xBF \xB1\xED", "", "", "", "", "7"}),
         {{9, "\xCC\xF5\xC4\xBF \xB1\xED", 0}}},
        {"empty line between two entries skipped", six + L + L + six + L, {{1, "alpha", 1}, {1, "alpha", 1}}},
        {"line with two fields kept", Line({"No.5", "e"}) + L + six, {{5, "e", 1}, {1, "alpha", 1}}},
        {"line with empty last fields kept", Line({"No.6", "f", "", "", "", ""}), {{6, "f", 1}}},
        // An empty seventh field does not count, as no empty piece after the last separator does.
        {"seven fields, the seventh empty", Line({"No.6", "f", "k", "l", "s", "p", ""}), {{6, "f", 1}}},
        {"line of one field skipped", "No.5" + L + six, {{1, "alpha", 1}}},
        {"interpreter message instead of a listing", "'entryctl.exe' is not recognized as an internal command.\r\n",
         {}},
        // A zero byte neither ends the listing nor spoils the number field it stands in.
        {"zero byte before a line", six + L + Text(1, '\0') + Line({"No.2", "beta", "k", "l", "s", "p"}),
         {{1, "alpha", 1}, {2, "beta", 1}}},
        {"zero byte inside a field", Line({Text("No.1\0" "2", 6), Text("be\0ta", 5), "", "", "", ""}),
         {{12, "beta", 1}}},
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
        {"an error after some entries", entry + "entryctl: error: the store is damaged\r\n", ListingOutcome::Failed,
         1},
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

TEST_F(EntryListingTest, ListEntriesRunsTheListingInTheToolsFolderAndRefillsTheList) {
    fake_.answer = [](const Text&) { return Line({"No.1", "first", "k", "l", "s", "p", "3"}) + kLineSep; };
    EntryList list(5);
    EXPECT_EQ(Commands().ListEntries(list), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].text1, "first");
    const std::vector<RecordedCall> calls = fake_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].line, kListCommand);
    EXPECT_TRUE(EqualsIgnoreCase(calls[0].currentDirectory, toolDir_.Path()));

    fake_.answer = [](const Text&) { return Text(); };  // the tool cannot be started
    EXPECT_EQ(Commands().ListEntries(list), 0);
    EXPECT_TRUE(list.empty());
}

TEST_F(EntryListingTest, ListEntriesOutcomeRunsTheSameListingAndJudgesIt) {
    fake_.answer = [](const Text&) { return Line({"No.1", "first", "k", "l", "s", "p", "3"}) + kLineSep; };
    EntryList list(5);
    EXPECT_EQ(Commands().ListEntriesOutcome(list), ListingOutcome::Entries);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].text1, "first");
    fake_.answer = [](const Text&) { return Text("entryctl: error: out of order\r\n"); };
    EXPECT_EQ(Commands().ListEntriesOutcome(list), ListingOutcome::Failed);
    EXPECT_TRUE(list.empty());
    fake_.answer = [](const Text&) { return Text(); };
    EXPECT_EQ(Commands().ListEntriesOutcome(list), ListingOutcome::Empty);
    EXPECT_EQ(fake_.Lines(), (TextArray{kListCommand, kListCommand, kListCommand}));
}

TEST_F(EntryListingTest, CreateEntrySendsTheModeTextAndReadsTheNumber) {
    const Text created = kCreateStrip;
    struct Case {
        const char* name;
        int32_t mode;
        const char* modeText;
        Text answer;
        int32_t expected;
    } cases[] = {
        {"mode 1", 1, kCreateModeText1, created + "17\r\n", 17},
        {"mode 2", 2, kCreateModeText2, created + "18\r\n", 18},
        {"mode 3", 3, kCreateModeText3, created + "19\r\n", 19},
        {"mode 0 means mode 2", 0, kCreateModeText2, created + "20\r\n", 20},
        {"mode 9 means mode 2", 9, kCreateModeText2, created + "21\r\n", 21},
        {"mode -1 means mode 2", -1, kCreateModeText2, created + "22\r\n", 22},
        {"answer with spaces around", 3, kCreateModeText3, "  " + created + "23  ", 23},
        {"no marker", 3, kCreateModeText3, "error: name taken\r\n", -1},
        {"tool not started", 3, kCreateModeText3, "", -1},
        {"marker without digits", 3, kCreateModeText3, Text(kCreateMarker) + "\r\n", 0},
        {"marker in other letter case", 3, kCreateModeText3, "CREATED ENTRY 5\r\n", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_.Clear();
        fake_.answer = [&](const Text&) { return c.answer; };
        EXPECT_EQ(Commands().CreateEntry("New (1) & more", c.mode), c.expected);
        EXPECT_EQ(fake_.Lines(),
                  TextArray{Text(kCreateEntryLead) + "New (1) & more" + kCreateEntryText + c.modeText});
    }
}

TEST_F(EntryListingTest, CreateEntryHasOneFormForNumbersAndNames) {
    Commands().CreateEntry("12", 1);
    EXPECT_EQ(fake_.Lines(), TextArray{Text(kCreateEntryLead) + "12" + kCreateEntryText + kCreateModeText1});
}

TEST_F(EntryListingTest, SendOptionsAssemblesGivenOptionsInKeyOrder) {
    const Text S = kArgSep;
    OptionValues all;
    for (size_t k = 0; k < all.size(); ++k)
        all[k] = "v" + std::to_string(k + 1);
    Text allPart = S;
    for (size_t k = 0; k < all.size(); ++k)
        allPart += kOptionKeys[k] + *all[k];
    OptionValues onlyThird;
    onlyThird[2] = "serif";
    OptionValues givenEmpty;
    givenEmpty[4] = "";
    OptionValues lastAndFirst;
    lastAndFirst[11] = "z";
    lastAndFirst[0] = "a";

    struct Case {
        const char* name;
        Text entry;
        std::optional<Text> raw;
        OptionValues options;
        Text part;
    } cases[] = {
        {"nothing given", "12", std::nullopt, {}, S},
        {"raw given wins over every option", "12", Text(" -x 1"), all, " -x 1"},
        {"raw given empty", "12", Text(), all, ""},
        {"only the third option", "12", std::nullopt, onlyThird, S + kOptionKey3 + "serif"},
        {"an option given empty differs from one left out", "12", std::nullopt, givenEmpty, S + kOptionKey5},
        {"options in key order whatever the order of giving", "12", std::nullopt, lastAndFirst,
         S + kOptionKey1 + "a" + kOptionKey12 + "z"},
        {"all twelve", "12", std::nullopt, all, allPart},
        {"name form, nothing given", "box 1", std::nullopt, {}, S},
        {"name form, only the third option", "box 1", std::nullopt, onlyThird, S + kOptionKey3 + "serif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_.Clear();
        EXPECT_EQ(Commands().SendOptions(c.entry, c.raw, c.options), c.part);
        const Text line = IsAllDigits(c.entry) ? kSendOptionsLeadNumber + c.entry + c.part
                                               : kSendOptionsLeadName + c.entry + kPathMark + c.part;
        EXPECT_EQ(fake_.Lines(), TextArray{line});
    }
}

TEST_F(EntryListingTest, SendOptionsRefusesOperatorsWhereValuesStandOutsideQuotes) {
    OptionValues withAmpersand;
    withAmpersand[0] = "red&calc";
    // Numeric form: the values stand inside the entry's open quote, so operators are literal.
    EXPECT_EQ(Commands().SendOptions("12", std::nullopt, withAmpersand), kArgSep + Text(kOptionKey1) + "red&calc");
    EXPECT_EQ(fake_.Lines().size(), 1u);

    struct Case {
        const char* name;
        std::optional<Text> raw;
        Text value;
    } cases[] = {
        {"ampersand in an option", std::nullopt, "red&calc"},
        {"pipe in an option", std::nullopt, "a|b"},
        {"redirection in an option", std::nullopt, "a>b"},
        {"caret in an option", std::nullopt, "a^b"},
        {"parenthesis in an option", std::nullopt, "(a)"},
        {"ampersand in raw", Text(" & calc"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_.Clear();
        OptionValues options;
        options[5] = c.value;
        EXPECT_EQ(Commands().SendOptions("box", c.raw, options), "");
        EXPECT_TRUE(fake_.Calls().empty());
    }
}

}  // namespace
