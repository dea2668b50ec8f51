// Listing and creating entries with the real runner, the real command interpreter and a private
// copy of the stand-in tool.

#include "tooldriver/ToolCommands.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/tooldriver/ToolCommandsToolFolder.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

class EntryListingToolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tool_.Ready()); }

    ToolCopy tool_;
    ToolCommands commands_;
};

TEST_F(EntryListingToolTest, CreatedEntriesAppearInTheListingWithTheirModeAndNumber) {
    struct Case {
        const char* name;
        Text entry;
        int32_t mode;
        const char* kind;
    } cases[] = {
        {"mode 1", "first & (one)", 1, kCreateModeText1},
        {"mode 2", "second ^ two", 2, kCreateModeText2},
        {"mode 3", "\xB5\xDA\xC8\xFD \xCC\xF5\xC4\xBF", 3, kCreateModeText3},
        {"mode 0 counts as mode 2", "fourth", 0, kCreateModeText2},
    };
    EntryList list;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t number = commands_.CreateEntry(c.entry, c.mode);
        ASSERT_GT(number, 0);
        const int32_t count = commands_.ListEntries(list);
        ASSERT_EQ(static_cast<size_t>(count), list.size());
        const EntryRecord& last = list.back();
        EXPECT_EQ(last.number, number);
        EXPECT_EQ(last.text1, c.entry);
        EXPECT_EQ(last.text2, c.kind);
        EXPECT_EQ(last.extra, 0);  // the tool prints seven fields
    }
    EXPECT_EQ(list.size(), 4u);
    // An entry of that name exists now: the tool refuses, without its marker.
    EXPECT_EQ(commands_.CreateEntry("fourth", 3), -1);
}

TEST_F(EntryListingToolTest, ACreateTheToolFailsGivesMinusOne) {
    tool_.Fault("create-fail");
    EXPECT_EQ(commands_.CreateEntry("never", 3), -1);
}

TEST_F(EntryListingToolTest, AnEmptyToolListsNothing) {
    EntryList list(3);
    EXPECT_EQ(commands_.ListEntries(list), 0);
    EXPECT_TRUE(list.empty());
}

TEST_F(EntryListingToolTest, FiveThousandEntriesAreReadWhole) {
    tool_.Admin("generate 5000");
    EntryList list;
    ASSERT_EQ(commands_.ListEntries(list), 5000);
    ASSERT_EQ(list.size(), 5000u);
    // Every line of the listing ends with the line separator: no empty record follows the last.
    for (int k : {1, 2, 2500, 4999, 5000}) {
        SCOPED_TRACE(k);
        char name[32];
        std::snprintf(name, sizeof name, "entry-%05d", k);
        EXPECT_EQ(list[k - 1].number, k);
        EXPECT_EQ(list[k - 1].text1, name);
        EXPECT_EQ(list[k - 1].extra, 0);
    }
}

TEST_F(EntryListingToolTest, AZeroByteInTheListingHidesNoEntry) {
    // The tool prints a zero byte after the first line of its answer; the lines after it count.
    tool_.Admin("generate 3");
    tool_.Fault("zero-byte");
    EntryList list;
    ASSERT_EQ(commands_.ListEntries(list), 3);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        char name[32];
        std::snprintf(name, sizeof name, "entry-%05d", k);
        EXPECT_EQ(list[k - 1].number, k);
        EXPECT_EQ(list[k - 1].text1, name);
    }
}

}  // namespace
