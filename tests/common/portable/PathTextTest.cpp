#include "common/portable/PathText.h"

#include <gtest/gtest.h>

namespace {

// A folder is often given with a closing separator ("D:\B\", as typed or from a dialog): joined to
// a name it must give the very path the folder without one gives, or the same file has two
// spellings. A drive's root keeps its separator, and a second byte equal to '\' is no separator.
TEST(PathTextTest, JoinsAFolderAndANameWithOneSeparator) {
    struct Case {
        const char* name;
        Text folder;
        Text withoutClosing;
        Text joined;  // with "x.ekb"
    } cases[] = {
        {"plain folder", "D:\\B", "D:\\B", "D:\\B\\x.ekb"},
        {"closing separator", "D:\\B\\", "D:\\B", "D:\\B\\x.ekb"},
        {"two closing separators", "D:\\B\\\\", "D:\\B", "D:\\B\\x.ekb"},
        {"closing forward slash", "D:\\B/", "D:\\B", "D:\\B\\x.ekb"},
        {"drive root", "C:\\", "C:\\", "C:\\x.ekb"},
        {"drive root with two separators", "C:\\\\", "C:\\", "C:\\x.ekb"},
        {"server share", "\\\\server\\share\\", "\\\\server\\share", "\\\\server\\share\\x.ekb"},
        {"double-byte character ending in 0x5C", "D:\\\xC4\x5C", "D:\\\xC4\x5C", "D:\\\xC4\x5C\\x.ekb"},
        {"the same, with a closing separator", "D:\\\xC4\x5C\\", "D:\\\xC4\x5C", "D:\\\xC4\x5C\\x.ekb"},
        // In code page 936, 0x80 is a character of its own (the euro sign): the '\' after it closes.
        {"0x80 before a closing separator", "D:\\x\x80\\", "D:\\x\x80", "D:\\x\x80\\x.ekb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WithoutClosingSeparator(c.folder, LeadBytes::CodePage936()), c.withoutClosing);
        EXPECT_EQ(JoinPath(c.folder, "x.ekb", LeadBytes::CodePage936()), c.joined);
    }
}

// The system reads a run of separators as one, and '/' as '\\'; the two that open a server's
// share are the one exception.
TEST(PathTextTest, ReadsARunOfSeparatorsAsOne) {
    struct Case {
        const char* name;
        Text path;
        Text single;
    } cases[] = {
        {"doubled", "D:\\B\\\\x.ekb", "D:\\B\\x.ekb"},
        {"slashes and backslashes", "D:/B\\/x.ekb", "D:\\B\\x.ekb"},
        {"closing run", "D:\\B\\\\", "D:\\B\\"},
        {"server share", "\\\\server\\\\share\\x", "\\\\server\\share\\x"},
        {"server share by slashes", "//server/share", "\\\\server\\share"},
        {"second byte 0x5C before a separator", "D:\\\xC4\x5C\\x", "D:\\\xC4\x5C\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SeparatorsAsOne(c.path, LeadBytes::CodePage936()), c.single);
    }
}

TEST(PathTextTest, FindsWhereTheLastNameStarts) {
    struct Case {
        const char* name;
        Text path;
        size_t start;
    } cases[] = {
        {"file in a folder", "D:\\B\\list.txt", 5},
        {"no separator", "list.txt", 0},
        {"forward slash", "D:/B/list.txt", 5},
        {"second byte 0x5C is no separator", "D:\\\xC4\x5Clist.txt", 3},
        {"0x80 before a separator", "D:\\x\x80\\list.txt", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileNameStart(c.path, LeadBytes::CodePage936()), c.start);
    }
}

}  // namespace
