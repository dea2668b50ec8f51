// The command class against the real thing: the real command runner, the real command
// interpreter and a private copy of the stand-in tool, whose journal shows every command line
// exactly as the tool received it.

#include "tooldriver/ToolCommands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/support/portable/TextSearches.h"
#include "tests/tooldriver/ToolCommandsToolFolder.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

// The command line as built, minus the program's name: the part the tool must receive as it is.
Text AfterProgram(const Text& line) {
    const Text program = "entryctl.exe";
    const int at = FindText(line, program, /*ignoreCase=*/true);
    return at < 0 ? line : line.substr(at - 1 + program.size());
}

// A file or a folder at `path`.
bool IsPresent(const Text& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
        {"double-byte character with a backslash byte inside",
         "a\x95\x5C"
         "b"},
        {"backslash after a character with a backslash byte", "\x95\x5C\\"},
        {"double-byte character with a bar byte", "\xD5\x7C&x"},
        // Before a closing quote a backslash would escape it for the tool's C runtime.
        {"one backslash at the end", "abc\\"},
        {"two backslashes at the end", "abc\\\\"},
        {"backslashes inside", "a\\b\\\\c"},
        {"leading space", " lead"},
        {"minus one as a name", "-1"},
        {"digits then letter", "12a"},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Text content = "content " + std::to_string(++i);
        ASSERT_GT(tool_.Add(c.entry, content), 0);
        ScratchFolder backups;
        const Text file = backups.File("backup (" + std::to_string(i) + ") & more.bak");

        const size_t received = tool_.Journal().size();
        ASSERT_TRUE(commands_.BackupEntry(c.entry, file));
        EXPECT_EQ(tool_.Journal().size(), received + 1);
        // The tool wrote this entry's backup at exactly this path, and nothing anywhere else.
        EXPECT_TRUE(FileExists(file));
        EXPECT_EQ(NamesIn(backups.Path()), TextArray{"backup (" + std::to_string(i) + ") & more.bak"});

        // Change the entry, then bring it back from the file.
        ASSERT_TRUE(commands_.Command43(c.entry, "changed"));
        EXPECT_EQ(commands_.QueryText(c.entry, "content"), "changed");
        EXPECT_TRUE(commands_.RestoreEntry(c.entry, file));
        EXPECT_EQ(commands_.QueryText(c.entry, "content"), content);
        EXPECT_EQ(commands_.QueryText(c.entry, "name"), c.entry + kLineSep);
    }
}

TEST_F(ToolCommandsToolTest, PathsAndTextsEndingInABackslashArriveWhole) {
    tool_.Add("e");
    struct Case {
        const char* name;
        std::function<bool()> call;
        Text label;
    } cases[] = {
        // The argument stands before the closing quote.
        {"folder path before the closing quote", [&] { return commands_.Command02("e", "C:\\dir\\"); }, "C:\\dir\\"},
        {"two backslashes", [&] { return commands_.Command02("e", "x\\\\"); }, "x\\\\"},
        // The argument stands before the next argument's quotes.
        {"old text of a replacement",
         [&] { return commands_.Command02("e", "C:\\dir\\ tail") && commands_.Command16("e", "C:\\dir\\", "D:\\"); },
         "D:\\ tail"},
        // The line's end closes the quote: nothing to double.
        {"value at the end of a line with two arguments",
         [&] { return commands_.Command31("e", "label", "D:\\x\\"); }, "D:\\x\\"},
        {"last argument of the line",
         [&] { return commands_.Command30("e", "T\\") && commands_.Command31("e", "kind", "k"); }, "D:\\x\\ T\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.call());
        EXPECT_EQ(commands_.QueryText("e", "label"), c.label + kLineSep);
    }
}

// Both were reproduced before a lone lead byte was refused: the byte took the closing quote as
// its second byte when the interpreter converted the line, and the text meant for the next
// argument ran as commands of its own.
TEST_F(ToolCommandsToolTest, ALoneLeadByteCannotSmuggleACommandPastTheQuotes) {
    tool_.Add("x");
    const size_t received = tool_.Journal().size();

    EXPECT_EQ(commands_.QueryText("x\xD5", "&echo INJECTED&"), "");

    const Text name = "&mkdir PWNED&\xD5";
    ScratchFolder backups;
    EXPECT_FALSE(commands_.BackupEntry(name, backups.File("&mkdir PWNED&_.ekb")));  // the pass's path for it
    EXPECT_FALSE(commands_.RestoreEntry(name, backups.File("&mkdir PWNED&_.ekb")));

    EXPECT_EQ(tool_.Journal().size(), received) << "the tool never started";
    EXPECT_FALSE(IsPresent(tool_.File("PWNED")));
    EXPECT_FALSE(IsPresent(backups.File("PWNED")));
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
    EXPECT_FALSE(commands_.BackupEntry("100\xD5", backups_.File("x.bak")));
    EXPECT_FALSE(commands_.RestoreEntry("a\"b", backups_.File("x.bak")));
    EXPECT_EQ(commands_.CreateEntry("two\r\nlines", 3), -1);
    EXPECT_FALSE(commands_.BackupEntry("safe", backups_.File("two\nlines.bak")));
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
