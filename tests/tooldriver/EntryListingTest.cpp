// Listing, creation and option lines through a recording runner: what the tool's answers turn
// into, and the exact lines sent. The listing's parsing itself: EntryListingParseTest.cpp.

#include "tooldriver/portable/EntryListing.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/tooldriver/ToolCommandsFake.h"
#include "tests/tooldriver/portable/ListingLines.h"
#include "tooldriver/ToolCommands.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

using EntryListingTest = ToolCommandsWithFake;

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

TEST_F(EntryListingTest, ListEntriesRunRunsTheSameListingAndJudgesIt) {
    fake_.answer = [](const Text&) { return Line({"No.1", "first", "k", "l", "s", "p", "3"}) + kLineSep; };
    EntryList list(5);
    EXPECT_EQ(Commands().ListEntriesRun(list).outcome, ListingOutcome::Entries);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].text1, "first");
    fake_.answer = [](const Text&) { return Text("entryctl: error: out of order\r\n"); };
    EXPECT_EQ(Commands().ListEntriesRun(list).outcome, ListingOutcome::Failed);
    EXPECT_TRUE(list.empty());
    fake_.answer = [](const Text&) { return Text(); };
    EXPECT_EQ(Commands().ListEntriesRun(list).outcome, ListingOutcome::Empty);
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
