#include "common/portable/AbsolutePath.h"

#include <gtest/gtest.h>

namespace {

// A folder the backup pass may write into must not depend on the current drive or directory:
// with those, an empty or mistyped folder sends the backups somewhere the user never chose.
TEST(AbsolutePathTest, OnlyADriveRootOrAServerShareAnchorsAPath) {
    struct Case {
        const char* name;
        Text path;
        bool absolute;
    } cases[] = {
        {"drive and folder", "C:\\Backups", true},
        {"drive root", "C:\\", true},
        {"small drive letter and forward slash", "d:/backups/today", true},
        {"Chinese folder under a drive", "D:\\\xB1\xB8\xB7\xDD", true},
        {"server share", "\\\\server\\share", true},
        {"server share and folder", "\\\\server\\share\\Backups", true},
        {"server share with forward slashes", "//server/share", true},
        {"empty", "", false},
        {"name only", "Backups", false},
        {"relative folder", "backups\\today", false},
        {"dot folder", ".\\Backups", false},
        {"root of the current drive", "\\Backups", false},
        {"current directory of a drive", "C:Backups", false},
        {"drive alone", "C:", false},
        {"no drive letter before the colon", "1:\\Backups", false},
        {"leading space", " C:\\Backups", false},
        {"server without share", "\\\\server", false},
        {"server and separator without share", "\\\\server\\", false},
        {"two separators alone", "\\\\", false},
        {"empty server name", "\\\\\\share", false},
        {"device namespace", "\\\\.\\C:\\Backups", false},
        {"raw namespace", "\\\\?\\C:\\Backups", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsAbsoluteWindowsPath(c.path, LeadBytes::CodePage936()), c.absolute);
        EXPECT_EQ(IsAbsoluteWindowsPath(c.path, LeadBytes::CodePage1252()), c.absolute);
    }
}

// In code page 936 the second byte of a character may be 0x5C, the backslash: such a character
// inside a server name must not end the name.
TEST(AbsolutePathTest, ASecondByteThatIsABackslashDoesNotSplitAServerName) {
    // "\\" + one character whose second byte is '\' + "share": a server name and nothing after it
    // in code page 936; in a one-byte code page the same bytes are a server and a share.
    const Text path = "\\\\\x95\\share";
    EXPECT_FALSE(IsAbsoluteWindowsPath(path, LeadBytes::CodePage936()));
    EXPECT_TRUE(IsAbsoluteWindowsPath(path, LeadBytes::CodePage1252()));
    EXPECT_TRUE(IsAbsoluteWindowsPath(path + "\\share", LeadBytes::CodePage936()));
}

}  // namespace
