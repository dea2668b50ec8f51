#include "workers/StagedBackup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"
#include "workers/BackupFileName.h"

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
    } cases[] = {
        {"new backup replaces the previous one", true, "new", StagedBackup::Outcome::Replaced, "new"},
        {"first backup of an entry", false, "new", StagedBackup::Outcome::Replaced, "new"},
        {"tool wrote nothing: the previous one stays", true, nullptr, StagedBackup::Outcome::NothingWritten,
         "previous"},
        {"tool wrote an empty file: the previous one stays", true, "", StagedBackup::Outcome::NothingWritten,
         "previous"},
        {"tool wrote nothing and there was nothing before", false, nullptr, StagedBackup::Outcome::NothingWritten, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text file = folder.File("A.ekb");
        if (c.previousExists) {
            ASSERT_TRUE(WriteWholeFile(file, "previous"));
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

TEST(StagedBackupTest, ABackupFileHeldOpenElsewhereIsLeftAsItWas) {
    ScratchFolder folder;
    const Text file = folder.File("A.ekb");
    ASSERT_TRUE(WriteWholeFile(file, "previous"));
    StagedBackup backup(file);
    ASSERT_TRUE(WriteWholeFile(backup.StagingPath(), "new"));
    {
        // Another program reads the backup file and allows neither deleting nor renaming over it.
        UniqueFileHandle holder(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(backup.Commit(), StagedBackup::Outcome::NotReplaced);
    }
    EXPECT_EQ(ReadWholeFile(file), "previous");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<Text>{"A.ekb"});
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
