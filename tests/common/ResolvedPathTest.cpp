#include "common/ResolvedPath.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/TestPaths.h"

namespace {

// Every spelling of one folder resolves to one text, which the backup paths are built from.
TEST(ResolvedPathTest, GivesAFolderOneSpelling) {
    ScratchFolder parent;
    const Text folder = parent.Path() + "\\a long folder name";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    char shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(folder.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(Text(shortName), folder) << "the system gives this folder a short name";
    Text slashed = folder;
    for (char& c : slashed) {
        if (c == '\\')
            c = '/';
    }
    struct Case {
        const char* name;
        Text spelling;
        Text canonical;
    } cases[] = {
        {"as it is", folder, folder},
        {"closing separator", folder + "\\", folder},
        {"two closing separators", folder + "\\\\", folder},
        {"short name", shortName, folder},
        {"short name with a closing separator", Text(shortName) + "\\", folder},
        {"a step down and back", folder + "\\..\\a long folder name", folder},
        {"a dot step", parent.Path() + "\\.\\a long folder name\\.", folder},
        {"doubled separator inside", parent.Path() + "\\\\a long folder name", folder},
        {"forward slashes", slashed + "/", folder},
        {"a drive's root keeps its separator", "C:\\", "C:\\"},
        {"a drive's root from above it", "C:\\users\\..\\..", "C:\\"},
        {"a folder that does not exist", parent.Path() + "\\missing\\", parent.Path() + "\\missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CanonicalFolder(c.spelling), c.canonical);
    }
}

}  // namespace
