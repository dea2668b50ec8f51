// The settings file's texts: the folder as stored, and which option a stored text selects.

#include "app/SettingsText.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsTextTest, TheFolderIsStoredUpToItsFirstLineBreak) {
    struct Case {
        const char* name;
        Text folder;
        Text stored;
    } cases[] = {
        {"plain", "C:\\Backups", "C:\\Backups"},
        {"empty stays empty", "", ""},
        {"spaces, quotes and brackets stay", " \"C:\\[x] = y\" ", " \"C:\\[x] = y\" "},
        {"double-byte folder", "D:\\\xB1\xB8\xB7\xDD", "D:\\\xB1\xB8\xB7\xDD"},
        {"cut at a line feed", "C:\\a\n[Options]", "C:\\a"},
        {"cut at a carriage return", "C:\\a\rOption=1", "C:\\a"},
        {"cut at the first of several", "C:\\a\r\nb\nc", "C:\\a"},
        {"a line break first leaves nothing", "\r\nC:\\a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FolderTextForSettings(c.folder), c.stored);
    }
}

TEST(SettingsTextTest, OnlyTheExactDigitsSelectAnOption) {
    struct Case {
        Text stored;
        int option;
    } cases[] = {
        {"1", 1}, {"2", 2}, {"3", 3}, {"4", 0}, {"0", 0}, {"", 0}, {" 1", 0}, {"1 ", 0}, {"01", 0}, {"\xA3\xB1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(OptionFromSettingsText(c.stored), c.option);
    }
}

}  // namespace
