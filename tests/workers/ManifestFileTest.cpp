#include "workers/ManifestFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <thread>

#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(ManifestFileTest, ReplacesWholeWithExactBytesAndLeavesNothingBehind) {
    ScratchFolder folder;
    const Text path = ManifestPath(folder.Path());
    ASSERT_EQ(path.rfind(folder.Path() + "\\", 0), 0u) << "the manifest lives directly in the program's folder";

    const Text first = ManifestLine("B", "C:\\x\\B.ekb") + ManifestLine("A", "C:\\x\\A.ekb");
    ASSERT_EQ(ReplaceManifest(path, first), ReplaceResult::Replaced);
    EXPECT_EQ(ReadWholeFile(path), first);
    EXPECT_EQ(ReadManifest(path), first);

    // A shorter manifest leaves no tail of the longer one.
    ASSERT_EQ(ReplaceManifest(path, "Z\tz\r\n"), ReplaceResult::Replaced);
    EXPECT_EQ(ReadWholeFile(path), "Z\tz\r\n");

    // No entries: the file exists and is empty.
    ASSERT_EQ(ReplaceManifest(path, ""), ReplaceResult::Replaced);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadWholeFile(path), "");
    EXPECT_EQ(FilesIn(folder.Path()).size(), 1u) << "no temporary file may stay beside the manifest";
}

TEST(ManifestFileTest, RemovesTheTemporaryFileAKilledWriterLeftAndNothingElse) {
    ScratchFolder folder;
    const Text path = ManifestPath(folder.Path());
    char ownPid[16];
    std::snprintf(ownPid, sizeof ownPid, "%lx", GetCurrentProcessId());
    struct Case {
        const char* name;
        bool removed;
    } cases[] = {
        {"~7ffffff1-0.tmp", true},         // another process's, killed before its rename
        {"~a3c-1f.tmp", true},
        {"~zz-1.tmp", false},              // not the writer's shape
        {"~a3c.tmp", false},
        {"~a3c-.tmp", false},
        {"notes~a3c-1.tmp", false},
        {"~a3c-1.tmp.txt", false},
        {"EntryKeeper.ini", false},
    };
    for (const Case& c : cases)
        ASSERT_TRUE(WriteWholeFile(folder.File(c.name), "x"));
    const Text own = Text("~") + ownPid + "-fff0.tmp";  // a writer of this process may be using it
    ASSERT_TRUE(WriteWholeFile(folder.File(own), "x"));

    ASSERT_EQ(ReplaceManifest(path, "A\ta\r\n"), ReplaceResult::Replaced);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExists(folder.File(c.name)), !c.removed);
    }
    EXPECT_TRUE(FileExists(folder.File(own)));
}

TEST(ManifestFileTest, LineEndsEveryLineIncludingTheLast) {
    EXPECT_EQ(ManifestLine("Entry A", "D:\\b\\Entry A.ekb"), "Entry A\tD:\\b\\Entry A.ekb\r\n");
}

TEST(ManifestFileTest, KeepsThePreviousManifestWhenItCannotBeReplaced) {
    ScratchFolder folder;
    const Text path = ManifestPath(folder.Path());
    ASSERT_TRUE(WriteWholeFile(path, "old\tmanifest\r\n"));
    {
        // Somebody holds the manifest open and allows no deletion or renaming over it.
        UniqueFileHandle holder(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(ReplaceManifest(path, "new\tmanifest\r\n"), ReplaceResult::Failed);
    }
    EXPECT_EQ(ReadWholeFile(path), "old\tmanifest\r\n");
    EXPECT_EQ(FilesIn(folder.Path()).size(), 1u);

    // A folder that does not exist cannot receive one either.
    EXPECT_EQ(ReplaceManifest(folder.File("missing\\m.txt"), "x"), ReplaceResult::Failed);
}

TEST(ManifestFileTest, ReadsWhileAnotherHandleHasItOpenAndGivesEmptyWhenMissing) {
    ScratchFolder folder;
    const Text path = ManifestPath(folder.Path());
    EXPECT_EQ(ReadManifest(path), "");
    ASSERT_TRUE(WriteWholeFile(path, "A\ta\r\n"));
    UniqueFileHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(ReadManifest(path), "A\ta\r\n");
}

// Missing means no list of backups; present but unreadable is something else, and must not look
// like an empty list.
TEST(ManifestFileTest, TellsAnUnreadableFileFromAMissingOne) {
    ScratchFolder folder;
    const Text path = ManifestPath(folder.Path());
    ASSERT_TRUE(WriteWholeFile(path, "A\ta\r\n"));
    {
        UniqueFileHandle holder(
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(ReadManifest(path), std::nullopt);
    }
    EXPECT_EQ(ReadManifest(path), "A\ta\r\n");
    EXPECT_EQ(ReadManifest(folder.File("missing\\m.txt")), "") << "a missing folder is a missing list";
}

TEST(ManifestFileTest, WaitsForAReaderToLetGoBeforeReplacing) {
    ScratchFolder folder;
    const Text path = ManifestPath(folder.Path());
    ASSERT_TRUE(WriteWholeFile(path, "A\ta\r\n"));
    UniqueFileHandle reader(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    std::thread letGo([&] {
        Sleep(100);
        reader.reset();
    });
    EXPECT_EQ(ReplaceManifest(path, "B\tb\r\n"), ReplaceResult::Replaced);
    letGo.join();
    EXPECT_EQ(ReadWholeFile(path), "B\tb\r\n");
    EXPECT_EQ(FilesIn(folder.Path()).size(), 1u);
}

}  // namespace
