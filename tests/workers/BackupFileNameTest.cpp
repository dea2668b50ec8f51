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

}  // namespace
