// The test helpers for the stand-in tool read what the tool itself keeps: a helper that misreads
// the store would let a test pass over an entry that a restore lost.

#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include "tests/support/StandInBackupFile.h"

namespace {

// Each entry as Entries() gives it: its name and content as stored, tab between.
Text Listed(const Text& name, const Text& content) {
    return name + "\t" + content;
}

TEST(StandInToolTest, EntriesListEveryEntryTheToolKeepsEmptyFieldsIncluded) {
    struct Case {
        const char* name;
        std::vector<std::pair<Text, Text>> seeded;
        std::vector<Text> listed;
    };
    const Case cases[] = {
        {"plain", {{"B", "2"}, {"A", "1"}}, {Listed("A", "1"), Listed("B", "2")}},
        {"an empty content", {{"A", "1"}, {"Empty", ""}}, {Listed("A", "1"), Listed("Empty", "")}},
        {"only empty contents", {{"X", ""}, {"Y", ""}}, {Listed("X", ""), Listed("Y", "")}},
        {"an unnamed entry", {{"", "unnamed"}, {"A", "1"}}, {Listed("", "unnamed"), Listed("A", "1")}},
        {"escaped as stored", {{"tab\there", "line\r\nbreak"}}, {Listed("tab\\there", "line\\r\\nbreak")}},
        {"none", {}, {}},
    };
    StandInTool tool;
    ASSERT_TRUE(tool.HasProgram());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool.Seed(c.seeded));
        EXPECT_EQ(tool.Entries(), c.listed);
    }
}

TEST(StandInToolTest, AnEntryTheToolAddsWithAnEmptyContentIsListedAndRead) {
    StandInTool tool;
    ASSERT_TRUE(tool.Admin("add \"Full\" \"data\""));
    ASSERT_TRUE(tool.Admin("add \"Empty\" \"\""));
    EXPECT_EQ(tool.Entries(), (std::vector<Text>{Listed("Empty", ""), Listed("Full", "data")}));
    EXPECT_EQ(tool.Contents(), (std::vector<Text>{"data", ""}));
    EXPECT_EQ(tool.ContentOf("Full"), "data");
}

TEST(StandInToolTest, ContentsAreReadUnescapedInTheToolsOrder) {
    StandInTool tool;
    ASSERT_TRUE(tool.Seed({{"A", "two\r\nlines"}, {"B", ""}, {"A", "again"}}));
    EXPECT_EQ(tool.Contents(), (std::vector<Text>{"two\r\nlines", "", "again"}));
    EXPECT_EQ(tool.ContentOf("A"), "two\r\nlines") << "the first entry of a name";
    EXPECT_EQ(tool.ContentOf("missing"), "");
}

TEST(StandInToolTest, ABackupFileIsReadWholeOrNotAtAll) {
    ScratchFolder folder;
    const Text whole = "entryctl backup 1\r\nname: A\\tB\r\nsize: 5\r\n\r\nhello";
    struct Case {
        const char* name;
        Text bytes;
        bool read;
    };
    const Case cases[] = {
        {"whole", whole, true},
        {"cut short", whole.substr(0, whole.size() - 1), false},
        {"longer than its size", whole + "!", false},
        {"no header", whole.substr(whole.find("\r\n") + 2), false},
        {"no body", "entryctl backup 1\r\nname: A\r\nsize: 0\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Text path = folder.File("backup.ekb");
        ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        Text name, content;
        EXPECT_EQ(ReadStandInBackup(path, &name, &content), c.read);
        if (c.read) {
            EXPECT_EQ(name, "A\tB");
            EXPECT_EQ(content, "hello");
        }
        EXPECT_EQ(FolderHoldsTornBackup(folder.Path()), !c.read && c.bytes.rfind("entryctl backup 1", 0) == 0);
    }
}

}  // namespace
