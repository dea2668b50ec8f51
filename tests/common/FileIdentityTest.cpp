#include "common/FileIdentity.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(FileIdentityTest, IsTheSameByEveryRouteToAFileAndOnlyThere) {
    ScratchFolder folder;
    const Text file = folder.File("a_b.ekb");
    ASSERT_TRUE(WriteWholeFile(file, "x"));
    ASSERT_TRUE(WriteWholeFile(folder.File("other.ekb"), "x"));
    const Text secondName = folder.File("second name.ekb");
    ASSERT_TRUE(CreateHardLinkA(secondName.c_str(), file.c_str(), nullptr));
    const std::optional<FileId> identity = FileIdentityOf(file);
    ASSERT_TRUE(identity);

    struct Case {
        const char* name;
        Text path;
        bool same;
    } cases[] = {
        {"other letter case", folder.File("A_B.EKB"), true},
        {"closing separator of the folder", folder.Path() + "\\\\a_b.ekb", true},
        {"another drive letter", SecondDriveRoute(file), true},
        {"a second name of the file", secondName, true},
        {"another file", folder.File("other.ekb"), false},
        {"the folder", folder.Path(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.path.empty()) << "no such route here";
        const std::optional<FileId> found = FileIdentityOf(c.path);
        ASSERT_TRUE(found);
        EXPECT_EQ(*found == *identity, c.same);
    }
    EXPECT_FALSE(FileIdentityOf(folder.File("missing.ekb")));

    // A program that holds the file open without any sharing does not hide it.
    UniqueFileHandle holder(CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(FileIdentityOf(file), identity);
}

}  // namespace
