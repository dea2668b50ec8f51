// Choosing the backup file of every entry of a pass, and the staging names beside them: pure
// text, no file system (what the file system makes of the names: BackupFileNameTest.cpp).

#include "workers/portable/BackupFileName.h"

#include <gtest/gtest.h>

#include "common/portable/LeadBytes.h"

namespace {

// Characters are read by the code page's own table: in code page 936 the bytes 0x80 and 0xFF are
// characters of their own, so a backslash after them is a backslash (found by the backup names'
// fuzz target).
TEST(SafeFileStemTest, ReadsCharactersByTheCodePagesTable) {
    struct Case {
        const char* name;
        Text entry;
        Text stem936;
        Text stem1252;
    } cases[] = {
        {"backslash after 0x80", "\x80\\x", "\x80_x", "\x80_x"},
        {"climbing out after 0xFF", "\xFF\\..\\evil", "\xFF_.._evil", "\xFF_.._evil"},
        {"a device name after 0x80 and a backslash", "\x80\\CON", "\x80_CON", "\x80_CON"},
        {"0xFF alone is kept", "a\xFF", "a\xFF", "a\xFF"},
        {"a lead byte before 0xFF is alone", "\xF5\xFF", "_\xFF", "\xF5\xFF"},
        {"a pair with a 0x5C second byte", "\xC4\x5C" "x", "\xC4\x5C" "x", "\xC4_x"},
        {"a lead byte at the end", "ab\xC4", "ab_", "ab\xC4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SafeFileStem(c.entry, LeadBytes::CodePage936()), c.stem936);
        EXPECT_EQ(SafeFileStem(c.entry, LeadBytes::CodePage1252()), c.stem1252);
    }
}

// Windows compares file names letter case aside for every letter it knows, not only ASCII ones:
// code page 936's full-width Latin, Greek and Cyrillic letters and Roman numerals, and the accented
// letters of code page 1252. Two names of one pass that differ only so get two files.
TEST(BackupPathPickerTest, LettersOfTheCodePageInAnotherCaseAreTheSameFile) {
    struct Case {
        const char* name;
        Text upper;
        Text lower;
        bool doubleByte;
    } cases[] = {
        {"full-width Latin", "\xA3\xC1\xA3\xDA", "\xA3\xE1\xA3\xFA", true},
        {"Greek", "\xA6\xA1\xA6\xB8", "\xA6\xC1\xA6\xD8", true},
        {"Cyrillic", "\xA7\xA1\xA7\xC1", "\xA7\xD1\xA7\xF1", true},
        {"Roman numerals", "\xA2\xF1\xA2\xFA", "\xA2\xA1\xA2\xAA", true},
        {"accented Latin", "\xC0\xDE\x8A\x9F", "\xE0\xFE\x9A\xFF", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BackupPathPicker picker(c.doubleByte ? LeadBytes::CodePage936() : LeadBytes::CodePage1252());
        EXPECT_EQ(picker.Pick("D:\\b", c.upper, 1), "D:\\b\\" + c.upper + ".ekb");
        EXPECT_EQ(picker.Pick("D:\\b", c.lower, 2), "D:\\b\\" + c.lower + "~2.ekb");
    }
    // Characters without a case stay apart: 0xF7 (a division sign in 1252) is not 0xD7.
    BackupPathPicker picker(LeadBytes::CodePage1252());
    EXPECT_EQ(picker.Pick("D:\\b", "\xD7", 1), "D:\\b\\\xD7.ekb");
    EXPECT_EQ(picker.Pick("D:\\b", "\xF7", 2), "D:\\b\\\xF7.ekb");
}

TEST(BackupPathPickerTest, GivesEveryEntryOfAPassItsOwnFile) {
    BackupPathPicker picker(LeadBytes::CodePage936());
    int entry = 0;
    EXPECT_EQ(picker.Pick("D:\\b", "Report", ++entry), "D:\\b\\Report.ekb");
    // Windows file names ignore letter case; the tool's names do not.
    EXPECT_EQ(picker.Pick("D:\\b", "REPORT", ++entry), "D:\\b\\REPORT~2.ekb");
    EXPECT_EQ(picker.Pick("d:\\B", "report", ++entry), "d:\\B\\report~3.ekb");
    // Two entries of the very same name.
    EXPECT_EQ(picker.Pick("D:\\b", "Report", ++entry), "D:\\b\\Report~4.ekb");
    // Two names that only differ in forbidden characters.
    EXPECT_EQ(picker.Pick("D:\\b", "x?y", ++entry), "D:\\b\\x_y.ekb");
    EXPECT_EQ(picker.Pick("D:\\b", "x*y", ++entry), "D:\\b\\x_y~2.ekb");
    // A name that happens to look like a chosen duplicate moves on.
    EXPECT_EQ(picker.Pick("D:\\b", "x_y~2", ++entry), "D:\\b\\x_y~2~2.ekb");
    // Double-byte characters whose second bytes are letters of different case are different names.
    EXPECT_EQ(picker.Pick("D:\\b", "\xC4\x61", ++entry), "D:\\b\\\xC4\x61.ekb");
    EXPECT_EQ(picker.Pick("D:\\b", "\xC4\x41", ++entry), "D:\\b\\\xC4\x41.ekb");
    // The same name in another folder is another file.
    EXPECT_EQ(picker.Pick("D:\\c", "Report", ++entry), "D:\\c\\Report.ekb");
}

// A folder given with a closing separator, as typed or changed to during a pass, is the same
// folder: "a?b" and "A*B" (one file stem in two letter cases) still get two files.
TEST(BackupPathPickerTest, AClosingSeparatorLeavesTheFolderTheSame) {
    BackupPathPicker picker(LeadBytes::CodePage936());
    EXPECT_EQ(picker.Pick("D:\\B", "a?b", 1), "D:\\B\\a_b.ekb");
    EXPECT_EQ(picker.Pick("D:\\B\\", "A*B", 2), "D:\\B\\A_B~2.ekb");
    EXPECT_FALSE(picker.Claim("D:\\B\\A_B.ekb", "A*B", 2));
    EXPECT_EQ(picker.Pick("C:\\", "a?b", 3), "C:\\a_b.ekb") << "a drive's root keeps its one separator";
    // A path an earlier list recorded with a doubled separator or a slash is the same file too.
    picker.Reserve("kept", "D:\\B\\\\kept.ekb");
    picker.Reserve("other", "D:/B/other.ekb");
    EXPECT_EQ(picker.Pick("D:\\B", "KEPT", 4), "D:\\B\\KEPT~2.ekb");
    EXPECT_EQ(picker.Pick("D:\\B", "OTHER", 5), "D:\\B\\OTHER~2.ekb");
}

// Paths the text cannot tell apart (a share and its mapped drive, another drive letter, a link)
// are one file when the system gives them one identity: a pick that leads to another entry's
// file moves on, and a claim of it fails, whichever spelling comes first.
TEST(BackupPathPickerTest, TellsOneFileUnderTwoSpellingsByItsIdentity) {
    const FileId keptByQuestion{0x1234, 70};
    const FileId newFile{0x1234, 71};
    BackupPathPicker picker(LeadBytes::CodePage936());
    picker.Reserve("a?b", "\\\\server\\share\\a_b.ekb", keptByQuestion);

    // D:\B is that share: the first pick is free as text, but its file is a?b's.
    const Text first = picker.Pick("D:\\B", "A*B", 1);
    EXPECT_EQ(first, "D:\\B\\A_B.ekb");
    EXPECT_FALSE(picker.Claim(first, "A*B", 1, keptByQuestion));
    EXPECT_EQ(picker.Pick("D:\\B", "A*B", 1), "D:\\B\\A_B~2.ekb");
    EXPECT_TRUE(picker.Claim("D:\\B\\A_B~2.ekb", "A*B", 1, std::nullopt)) << "not on disk yet";
    // a?b reaches its own file by either spelling, and no other entry of its name may have it too.
    EXPECT_TRUE(picker.Claim("D:\\B\\a_b.ekb", "a?b", 2, keptByQuestion));
    EXPECT_FALSE(picker.Claim("E:\\a_b.ekb", "a?b", 3, keptByQuestion));

    // A*B's new backup now stands at A_B~2.ekb: another spelling of that file is A*B's too.
    EXPECT_TRUE(picker.Claim("D:\\B\\A_B~2.ekb", "A*B", 1, newFile));
    EXPECT_FALSE(picker.Claim("\\\\server\\share\\A_B~2.ekb", "a?b", 2, newFile));
    // Once a?b's file is replaced, its identity may come back for a file made later.
    picker.Forget(keptByQuestion);
    EXPECT_TRUE(picker.Claim("D:\\B\\c.ekb", "c", 4, keptByQuestion));
}

// The previous manifest's paths stay with their names: an entry whose backup fails keeps its own
// earlier file, and no entry of another name may write over it.
TEST(BackupPathPickerTest, KeepsReservedFilesForTheirNames) {
    BackupPathPicker picker(LeadBytes::CodePage936());
    picker.Reserve("report", "D:\\b\\report.ekb");
    picker.Reserve("Plan", "D:\\old\\Plan~2.ekb");
    // The first reservation of a path holds: a second name cannot take it over.
    picker.Reserve("REPORT", "D:\\B\\REPORT.EKB");

    // REPORT comes first in this pass, but report.ekb is report's.
    EXPECT_EQ(picker.Pick("D:\\b", "REPORT", 1), "D:\\b\\REPORT~2.ekb");
    EXPECT_FALSE(picker.Claim("D:\\b\\report.ekb", "REPORT", 1));
    // report gets its own file back, as its new pick or as the one it keeps.
    EXPECT_EQ(picker.Pick("D:\\b", "report", 2), "D:\\b\\report.ekb");
    EXPECT_TRUE(picker.Claim("D:\\b\\report.ekb", "report", 2));
    // A second entry of the same name cannot have it too.
    EXPECT_FALSE(picker.Claim("D:\\b\\report.ekb", "report", 3));
    EXPECT_EQ(picker.Pick("D:\\b", "report", 3), "D:\\b\\report~3.ekb");
    // Plan's new backup goes to the new folder; its kept earlier file is still its own.
    EXPECT_EQ(picker.Pick("D:\\b", "Plan", 4), "D:\\b\\Plan.ekb");
    EXPECT_TRUE(picker.Claim("D:\\old\\plan~2.ekb", "Plan", 4));
    // A path nobody reserved or picked is free to claim, once.
    EXPECT_TRUE(picker.Claim("D:\\b\\loose.ekb", "loose", 5));
    EXPECT_FALSE(picker.Claim("D:\\b\\LOOSE.ekb", "loose", 6));
}

TEST(StagingPathTest, NeverNamesABackupFileAndIsRecognisedAsItsOwn) {
    const Text staging = StagingPath("D:\\b\\Report.ekb", "123-4", LeadBytes::CodePage936());
    EXPECT_EQ(staging, "D:\\b\\Report.ekb.123-4.partial");
    EXPECT_NE(staging.substr(staging.size() - 4), ".ekb");

    struct Case {
        const char* fileName;
        bool staging;
    } cases[] = {
        {"Report.ekb.123-4.partial", true},
        {"\xB1\xED.EKB.9-12.PARTIAL", true},
        {"x.ekb.ekb.1-1.partial", true},
        {"Report.ekb", false},
        {"Report~2.ekb", false},
        {"Report.ekb.partial", false},        // no token
        {"Report.ekb.12a-4.partial", false},  // not a token
        {"Report.txt.12-4.partial", false},   // not beside a backup file
        {"notes.partial", false},
        {".ekb.1-2.partial", true},  // nothing before the extension: still a staging name
        {"ekb.1-2.partial", false},
        {"Report.ekb.1-2.partial.ekb", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(IsStagingFileName(c.fileName), c.staging);
    }
}

// A long entry name whose backup path fits must leave room for its staging file too, or the tool
// could never write its backup.
TEST(StagingPathTest, StaysWithinThePathLimitBesideTheBackupFile) {
    const LeadBytes cp936 = LeadBytes::CodePage936();
    const Text folder = "D:\\b";
    // The name's first character has a second byte that looks like a backslash.
    const Text lead = "\xC4\x5C";
    for (size_t length : {Text(folder + "\\" + lead + ".ekb").size(), kMaxPathBytes - 30, kMaxPathBytes - 12,
                          kMaxPathBytes}) {
        SCOPED_TRACE(length);
        const Text file = folder + "\\" + lead + Text(length - folder.size() - 7, 'L') + ".ekb";
        ASSERT_EQ(file.size(), length);
        const Text staging = StagingPath(file, "4294967295-4294967295", cp936);
        EXPECT_LE(staging.size(), kMaxPathBytes);
        ASSERT_EQ(staging.rfind(folder + "\\", 0), 0u) << staging;
        const Text fileName = staging.substr(folder.size() + 1);
        for (size_t pos = 0; pos < fileName.size(); pos += cp936.CharLength(fileName, pos))
            EXPECT_NE(fileName[pos], '\\') << "the staging file must stand in the backup folder: " << staging;
        EXPECT_TRUE(IsStagingFileName(fileName)) << fileName;
        EXPECT_NE(staging, file);
    }
}

}  // namespace
