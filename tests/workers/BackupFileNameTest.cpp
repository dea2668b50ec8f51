#include "workers/BackupFileName.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/TestPaths.h"

namespace {

struct StemCase {
    const char* name;
    Text entry;
    Text stem;
};

const StemCase kStemCases[] = {
    {"plain name with spaces and shell characters", "Entry & ^ ( ) 1", "Entry & ^ ( ) 1"},
    {"every character Windows forbids", "a<b>c:d\"e/f\\g|h?i*j", "a_b_c_d_e_f_g_h_i_j"},
    {"control bytes", Text("a\x01" "b\tc\x7f", 6), "a_b_c_"},
    {"climbing out of the folder", "..\\..\\evil", ".._.._evil"},
    {"drive-qualified path", "C:\\Windows\\x", "C__Windows_x"},
    {"trailing dots and spaces", "name. .", "name___"},
    {"only a dot", ".", "_"},
    {"empty", "", "_"},
    {"device name", "CON", "_CON"},
    {"device name in lower case with extension", "con.txt", "_con.txt"},
    {"device name followed by spaces before the dot", "aux  .log", "_aux  .log"},
    {"numbered devices", "LPT9", "_LPT9"},
    {"numbered device with two digits is an ordinary name", "COM10", "COM10"},
    {"device name as a prefix is an ordinary name", "CONSOLE", "CONSOLE"},
    {"device name made harmless by its trailing space", "NUL ", "NUL_"},
    {"double-byte characters kept", "\xB1\xED\xB8\xF1", "\xB1\xED\xB8\xF1"},
    {"second byte 0x5C is part of the character", "\xC4\x5C" "x", "\xC4\x5C" "x"},
    {"second byte 0x7C is part of the character", "a\xD5\x7C", "a\xD5\x7C"},
    {"lead byte at the end", "ab\xC4", "ab_"},
    {"lead byte before a quote", "\xC4\"z", "__z"},
};

TEST(SafeFileStemTest, MakesEveryNameAFileNameInsideTheFolder) {
    ScratchFolder folder;
    for (const StemCase& c : kStemCases) {
        SCOPED_TRACE(c.name);
        const Text stem = SafeFileStem(c.entry);
        EXPECT_EQ(stem, c.stem);
        // The real file system agrees: the file lands in the folder under exactly that name.
        const Text path = folder.File(stem + ".ekb");
        ASSERT_TRUE(WriteWholeFile(path, c.name));
        std::vector<Text> files = FilesIn(folder.Path());
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(files[0], stem + ".ekb");
        EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
}

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
        {".ekb.1-2.partial", true},           // nothing before the extension: still a staging name
        {"ekb.1-2.partial", false},
        {"Report.ekb.1-2.partial.ekb", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(IsStagingFileName(c.fileName), c.staging);
    }
}

}  // namespace
