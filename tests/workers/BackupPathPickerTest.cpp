// Choosing the backup file of every entry of a pass, and the staging names beside them: pure
// text, no file system (what the file system makes of the names: BackupFileNameTest.cpp).

#include "workers/BackupFileName.h"

#include <gtest/gtest.h>

namespace {

TEST(BackupPathPickerTest, GivesEveryEntryOfAPassItsOwnFile) {
    BackupPathPicker picker;
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

// The previous manifest's paths stay with their names: an entry whose backup fails keeps its own
// earlier file, and no entry of another name may write over it.
TEST(BackupPathPickerTest, KeepsReservedFilesForTheirNames) {
    BackupPathPicker picker;
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
    const Text staging = StagingPath("D:\\b\\Report.ekb", "123-4");
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

}  // namespace
