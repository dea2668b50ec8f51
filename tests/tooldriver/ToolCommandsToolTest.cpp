// The command class against the real thing: the real command runner, the real command
// interpreter and a private copy of the stand-in tool, whose journal shows every command line
// exactly as the tool received it.

#include "tooldriver/ToolCommands.h"

#include <gtest/gtest.h>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/tooldriver/ToolCommandsToolFolder.h"
#include "toollink/vocabulary/ToolVocabulary.h"

namespace {

// The command line as built, minus the program's name: the part the tool must receive as it is.
Text AfterProgram(const Text& line) {
    const Text program = "entryctl.exe";
    const int at = FindText(line, program, /*ignoreCase=*/true);
    return at < 0 ? line : line.substr(at - 1 + program.size());
}

bool EndsWith(const Text& text, const Text& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class ToolCommandsToolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tool_.Ready()); }

    ToolCopy tool_;
    ScratchFolder backups_;
    ToolCommands commands_;  // the real runner
};

TEST_F(ToolCommandsToolTest, BackupAndRestoreOfAwkwardNamesReachTheToolExactlyAsMeant) {
    struct Case {
        const char* name;
        Text entry;
    } cases[] = {
        {"spaces", "my first entry"},
        {"interpreter operators", "A&B ^ (x) | y < z > w"},
        {"double-byte characters", "\xCC\xF5\xC4\xBF \xB1\xED"},
        // The second byte of this character is a backslash, right before the closing quote.
        {"double-byte character with a backslash byte last", "\xD5\x5C"},
        {"leading space", " lead"},
        {"minus one as a name", "-1"},
        {"digits then letter", "12a"},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Text content = "content " + std::to_string(++i);
        ASSERT_GT(tool_.Add(c.entry, content), 0);
        const Text file = backups_.File("backup (" + std::to_string(i) + ") & more.bak");

        ASSERT_TRUE(commands_.BackupEntry(c.entry, file));
        const Text backupLine = Text(kBackupEntryLeadName) + c.entry + kBackupEntryTextName + file + kPathMark;
        ASSERT_FALSE(tool_.Journal().empty());
        EXPECT_TRUE(EndsWith(tool_.Journal().back(), AfterProgram(backupLine))) << tool_.Journal().back();
        EXPECT_TRUE(FileExists(file));

        // Change the entry, then bring it back from the file.
        ASSERT_TRUE(commands_.Command43(c.entry, "changed"));
        EXPECT_EQ(commands_.QueryText(c.entry, "content"), "changed");
        EXPECT_TRUE(commands_.RestoreEntry(c.entry, file));
        EXPECT_EQ(commands_.QueryText(c.entry, "content"), content);
        EXPECT_EQ(commands_.QueryText(c.entry, "name"), c.entry + kLineSep);
    }
}

TEST_F(ToolCommandsToolTest, NumericDesignatorAddressesTheEntryByNumber) {
    tool_.Add("first", "one");
    const int32_t second = tool_.Add("second", "two");
    const Text number = std::to_string(second);
    const Text file = backups_.File("by number.bak");
    ASSERT_TRUE(commands_.BackupEntry(number, file));
    EXPECT_TRUE(EndsWith(tool_.Journal().back(),
                         AfterProgram(Text(kBackupEntryLeadNumber) + number + kBackupEntryTextNumber + file + kPathMark)));
    ASSERT_TRUE(commands_.Command43(number, "changed"));
    EXPECT_EQ(commands_.QueryText("second", "content"), "changed");
    EXPECT_TRUE(commands_.RestoreEntry(number, file));
    EXPECT_EQ(commands_.QueryText("second", "content"), "two");
    EXPECT_EQ(commands_.QueryText("first", "content"), "one");
}

TEST_F(ToolCommandsToolTest, ADamagedBackupIsNotRestored) {
    tool_.Add("keep me", "original");
    const Text file = backups_.File("keep me.bak");
    ASSERT_TRUE(commands_.BackupEntry("keep me", file));
    Text bytes = ReadWholeFile(file);
    ASSERT_FALSE(bytes.empty());
    bytes.back() ^= 0x01;  // one bit of the content
    ASSERT_TRUE(WriteWholeFile(file, bytes));
    ASSERT_TRUE(commands_.Command43("keep me", "changed"));

    EXPECT_FALSE(commands_.RestoreEntry("keep me", file));
    EXPECT_EQ(commands_.QueryText("keep me", "content"), "changed");
    EXPECT_FALSE(commands_.RestoreEntry("keep me", backups_.File("missing.bak")));
}

TEST_F(ToolCommandsToolTest, RefusedEntriesNeverStartTheTool) {
    tool_.Add("safe");
    ASSERT_TRUE(commands_.Command38("safe"));
    const size_t before = tool_.Journal().size();
    EXPECT_FALSE(commands_.BackupEntry("100%", backups_.File("x.bak")));
    EXPECT_FALSE(commands_.RestoreEntry("a\"b", backups_.File("x.bak")));
    EXPECT_EQ(commands_.CreateEntry("two\r\nlines", 3), -1);
    EXPECT_FALSE(commands_.BackupEntry("safe", backups_.File("%PATH%.bak")));
    EXPECT_EQ(tool_.Journal().size(), before);
    EXPECT_FALSE(FileExists(backups_.File("x.bak")));
}

TEST_F(ToolCommandsToolTest, MultiLineCommandsRunEveryLineEvenWhenTheFirstFails) {
    // The entry does not exist, so the tool fails every line; all of them still reach it.
    const size_t before = tool_.Journal().size();
    commands_.Command17("absent", "label", "x");
    commands_.Command18("absent");
    commands_.Command42("absent", "a", "b");
    EXPECT_EQ(tool_.Journal().size(), before + 2 + 6 + 2);
}

TEST_F(ToolCommandsToolTest, ErrorRuleAndMarkersAgainstTheRealTool) {
    const int32_t number = tool_.Add("lockable");
    EXPECT_TRUE(commands_.Command21("lockable"));            // lock: the tool is content
    EXPECT_TRUE(commands_.Command19("lockable"));            // locked: marker printed
    EXPECT_FALSE(commands_.Command21("no such entry"));      // name form reads the error
    EXPECT_TRUE(commands_.Command21("999"));                 // numeric form never looks
    EXPECT_TRUE(commands_.Command22(std::to_string(number)));  // unlock by number
    EXPECT_FALSE(commands_.Command19("lockable"));
}

TEST(ToolCommandsMissingToolTest, WithoutTheToolEveryOperationGivesItsEmptyOutputValue) {
    ScratchFolder empty;
    ClearToolLocation();
    SetToolDir(empty.Path());
    {
        ToolCommands commands;
        EntryList list(2);
        // The interpreter's complaint about the missing program is not an entry.
        EXPECT_EQ(commands.ListEntries(list), 0);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(commands.CreateEntry("new", 3), -1);
        EXPECT_FALSE(commands.RestoreEntry("x", empty.File("x.bak")));
    }
    ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());
    ClearToolLocation();
}

}  // namespace
