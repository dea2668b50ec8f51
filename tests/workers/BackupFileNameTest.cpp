#include "workers/portable/BackupFileName.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/portable/ActiveLeadBytes.h"
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
    // 0x80 and 0xFF are characters of their own in code page 936: the backslash after them is one.
    {"backslash after 0x80", "\x80\\x", "\x80_x"},
    {"device name after 0xFF and a backslash", "\xFF\\CON", "\xFF_CON"},
};

TEST(SafeFileStemTest, MakesEveryNameAFileNameInsideTheFolder) {
    ScratchFolder folder;
    for (const StemCase& c : kStemCases) {
        SCOPED_TRACE(c.name);
        const Text stem = SafeFileStem(c.entry, ActiveLeadBytes());
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

// Windows (and Wine) compare file names with the letters of the code page in any case, the
// double-byte ones too: the picker must tell such names apart, or two entries share one file.
TEST(BackupPathPickerTest, TheFileSystemTakesLettersInAnotherCaseForOneFile) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        Text upper;
        Text lower;
    } cases[] = {
        {"ASCII", "REPORT", "report"},
        {"full-width Latin", "\xA3\xC1\xA3\xDA", "\xA3\xE1\xA3\xFA"},
        {"Greek", "\xA6\xA1\xA6\xB8", "\xA6\xC1\xA6\xD8"},
        {"Cyrillic", "\xA7\xA1\xA7\xC1", "\xA7\xD1\xA7\xF1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(folder.File(c.upper + ".ekb"), c.name));
        EXPECT_NE(GetFileAttributesA(folder.File(c.lower + ".ekb").c_str()), INVALID_FILE_ATTRIBUTES)
            << "the file system tells the two apart";
        BackupPathPicker picker;
        const Text first = picker.Pick(folder.Path(), c.upper, 1);
        const Text second = picker.Pick(folder.Path(), c.lower, 2);
        EXPECT_EQ(first, folder.File(c.upper + ".ekb"));
        EXPECT_EQ(second, folder.File(c.lower + "~2.ekb"));
        EXPECT_TRUE(DeleteFileA(first.c_str()));
    }
}

}  // namespace
