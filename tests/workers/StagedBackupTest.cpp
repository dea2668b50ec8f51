#include "workers/StagedBackup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"
#include "workers/portable/BackupFileName.h"

namespace {

bool Contains(const std::vector<Text>& names, const Text& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(StagedBackupTest, OnlyACompleteNewFileTakesTheBackupFilesPlace) {
    struct Case {
        const char* name;
        bool previousExists;
        const char* toolWrites;  // null: the tool writes no file
        StagedBackup::Outcome outcome;
        Text expectFile;  // content under the backup file's name; empty: no file
        bool readOnly = false;  // the previous backup file is read-only
    } cases[] = {
        {"new backup replaces the previous one", true, "new", StagedBackup::Outcome::Replaced, "new"},
        {"first backup of an entry", false, "new", StagedBackup::Outcome::Replaced, "new"},
        {"tool wrote nothing: the previous one stays", true, nullptr, StagedBackup::Outcome::NothingWritten,
         "previous"},
        {"tool wrote an empty file: the previous one stays", true, "", StagedBackup::Outcome::NothingWritten,
         "previous"},
        {"tool wrote nothing and there was nothing before", false, nullptr, StagedBackup::Outcome::NothingWritten, ""},
        {"a read-only previous backup stays", true, "new", StagedBackup::Outcome::ReadOnly, "previous", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text file = folder.File("A.ekb");
        if (c.previousExists) {
            ASSERT_TRUE(WriteWholeFile(file, "previous"));
        }
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        StagedBackup backup(file);
        EXPECT_EQ(backup.File(), file);
        if (c.toolWrites) {
            ASSERT_TRUE(WriteWholeFile(backup.StagingPath(), c.toolWrites));
            // While the tool writes, the previous backup stands under its own name.
            EXPECT_EQ(FileExists(file), c.previousExists);
        }

        EXPECT_EQ(backup.Commit(), c.outcome);
        EXPECT_EQ(ReadWholeFile(file), c.expectFile);
        EXPECT_EQ(FileExists(file), !c.expectFile.empty());
        EXPECT_EQ(FilesIn(folder.Path()).size(), c.expectFile.empty() ? 0u : 1u) << "no staging file stays";
    }
}

TEST(StagedBackupTest, StagesBesideTheFileUnderANameNoOtherWriterHad) {
    ScratchFolder folder;
    const Text file = folder.File("A.ekb");
    StagedBackup first(file);
    StagedBackup second(file);
    EXPECT_NE(first.StagingPath(), second.StagingPath()) << "a stopped tool may still write to the first";
    for (const StagedBackup* backup : {&first, &second}) {
        const Text& staging = backup->StagingPath();
        EXPECT_EQ(staging.rfind(folder.Path() + "\\", 0), 0u) << staging;
        EXPECT_EQ(staging.find('\\', folder.Path().size() + 1), Text::npos) << "directly in the folder";
        EXPECT_TRUE(IsStagingFileName(staging.substr(folder.Path().size() + 1))) << staging;
    }
}

// Another program's handle keeps the new backup out, and the previous one stays whole. The new
// backup is flushed to the disk before it replaces the old one, through a handle of the pass's own
// that admits no other writer, so a staging file that something (a program the tool left running)
// still writes never takes the backup's place unfinished.
TEST(StagedBackupTest, AFileHeldOpenElsewhereLeavesThePreviousBackupAsItWas) {
    struct Case {
        const char* name;
        bool holdsStaging;  // else the backup file
        DWORD access;
        DWORD sharing;
        StagedBackup::Outcome outcome;
    } cases[] = {
        {"a reader of the backup file that allows neither deleting nor renaming over it", false, GENERIC_READ,
         FILE_SHARE_READ, StagedBackup::Outcome::NotReplaced},
        {"a writer that still holds the staging file", true, GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, StagedBackup::Outcome::NotSaved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text file = folder.File("A.ekb");
        ASSERT_TRUE(WriteWholeFile(file, "previous"));
        StagedBackup backup(file);
        ASSERT_TRUE(WriteWholeFile(backup.StagingPath(), "new"));
        {
            const Text held = c.holdsStaging ? backup.StagingPath() : file;
            UniqueFileHandle holder(
                CreateFileA(held.c_str(), c.access, c.sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(holder);
            EXPECT_EQ(backup.Commit(), c.outcome);
        }
        EXPECT_EQ(ReadWholeFile(file), "previous");
        EXPECT_EQ(FilesIn(folder.Path()), std::vector<Text>{"A.ekb"}) << "no staging file stays once let go";
    }
}

TEST(StagedBackupTest, RemovesOnlyTheStagingFilesAnInterruptedPassLeft) {
    ScratchFolder folder;
    const std::vector<Text> leftovers = {"A.ekb.12-1.partial", "Gone.EKB.7-300.PARTIAL", "~.ekb.12-2.partial"};
    const std::vector<Text> others = {"A.ekb", "A~2.ekb", "notes.partial", "A.ekb.partial", "A.txt.1-2.partial"};
    for (const Text& name : leftovers)
        ASSERT_TRUE(WriteWholeFile(folder.File(name), "half"));
    for (const Text& name : others)
        ASSERT_TRUE(WriteWholeFile(folder.File(name), "keep"));
    ASSERT_TRUE(CreateDirectoryA(folder.File("B.ekb.1-1.partial").c_str(), nullptr));

    RemoveLeftoverStagingFiles(folder.Path());

    const std::vector<Text> files = FilesIn(folder.Path());
    for (const Text& name : leftovers)
        EXPECT_FALSE(Contains(files, name)) << name;
    for (const Text& name : others)
        EXPECT_EQ(ReadWholeFile(folder.File(name)), "keep") << name;
    EXPECT_EQ(files.size(), others.size());
    EXPECT_NE(GetFileAttributesA(folder.File("B.ekb.1-1.partial").c_str()), INVALID_FILE_ATTRIBUTES)
        << "a folder is never removed";
    RemoveDirectoryA(folder.File("B.ekb.1-1.partial").c_str());

    // A folder that does not exist is no error.
    RemoveLeftoverStagingFiles(folder.File("missing"));
}

}  // namespace
