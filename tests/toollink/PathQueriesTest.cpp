#include "toollink/PathQueries.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/portable/SharedTexts.h"
#include "tests/support/TestPaths.h"

namespace {

bool EndsWithOneSeparator(const Text& path) {
    return path.size() >= 2 && path.back() == '\\' && path[path.size() - 2] != '\\';
}

TEST(PathQueriesTest, SpecialFolderZeroIsTheDesktopAndEveryPathEndsWithOneSeparator) {
    const Text desktop = SpecialFolder(3);
    ASSERT_FALSE(desktop.empty());
    EXPECT_TRUE(EndsWithOneSeparator(desktop)) << desktop;
    EXPECT_EQ(SpecialFolder(0), desktop);
    EXPECT_EQ(SpecialFolder(), desktop);

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(SpecialFolder(9), Text(windows) + kPathSep);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(SpecialFolder(10), Text(system) + kPathSep);
    // The temporary folder comes with its separator already: no second one is added.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    ASSERT_EQ(Text(temp).back(), '\\');
    EXPECT_EQ(SpecialFolder(11), Text(temp));

    for (int kind = 1; kind <= 12; ++kind) {
        SCOPED_TRACE(kind);
        const Text folder = SpecialFolder(kind);
        if (!folder.empty()) {
            EXPECT_TRUE(EndsWithOneSeparator(folder)) << folder;
        }
    }
    for (int kind : {-1, 13, 100, INT32_MIN}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(SpecialFolder(kind), "");
    }
}

TEST(PathQueriesTest, FolderOfKeepsEverythingUpToTheLastSeparator) {
    struct FolderCase {
        const char* name;
        Text path;
        Text folder;
    };
    const FolderCase cases[] = {
        {"file in a folder", "C:\\Tool\\bin\\entryctl.exe", "C:\\Tool\\bin\\"},
        {"folder with its separator", "C:\\Tool\\", "C:\\Tool\\"},
        {"no separator", "entryctl.exe", ""},
        {"empty", "", ""},
        {"root", "C:\\", "C:\\"},
        // 0x95 0x5C is one character whose second byte looks like a separator.
        {"double-byte character ending in 0x5C", "C:\\T\\\x95\x5c" "x.exe", "C:\\T\\"},
        {"only such a character", "\x95\x5c" "x.exe", ""},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FolderOf(c.path), c.folder);
    }
}

TEST(PathQueriesTest, DirectoryAndExistenceChecks) {
    ScratchFolder scratch;
    const Text file = scratch.File("entryctl.exe");
    ASSERT_TRUE(WriteWholeFile(file, "x"));
    struct CheckCase {
        const char* name;
        Text path;
        bool directory;
        bool fileOrFolder;
        bool exists;
    };
    const CheckCase cases[] = {
        {"empty", "", false, false, false},
        {"folder", scratch.Path(), true, true, true},
        {"folder with separator", scratch.Path() + "\\", true, false, true},
        {"file", file, false, true, true},
        {"missing", scratch.File("missing.exe"), false, false, false},
        {"star matches files but is no name", scratch.File("*"), false, false, false},
        {"question mark", scratch.File("entryctl.ex?"), false, false, false},
        {"quoted name", scratch.File("\"entryctl.exe\""), false, false, false},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsDirectory(c.path), c.directory);
        EXPECT_EQ(FileOrFolderExists(c.path), c.fileOrFolder);
        EXPECT_EQ(PathExists(c.path), c.exists);
    }
}

}  // namespace
