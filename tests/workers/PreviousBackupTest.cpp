#include "workers/PreviousBackup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"

namespace {

struct SettleCase {
    const char* name;
    bool previousExists;
    bool toolWrites;
    bool toolFinished;
    bool expectWritten;
    Text expectFile;   // content at the backup path; empty: no file
    Text expectAside;  // content under the set-aside name; empty: no file
};

const SettleCase kSettleCases[] = {
    {"new backup replaces the previous one", true, true, true, true, "new", ""},
    {"tool wrote nothing: previous one goes back", true, false, true, false, "previous", ""},
    {"tool wrote nothing and there was nothing before", false, false, true, false, "", ""},
    {"first backup of an entry", false, true, true, true, "new", ""},
    {"stopped while the tool may still write: both stay", true, true, false, true, "new", "previous"},
    {"stopped before the tool wrote: previous one goes back", true, false, false, false, "previous", ""},
};

TEST(PreviousBackupTest, KeepsThePreviousBackupUntilTheNewOneExists) {
    for (const SettleCase& c : kSettleCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text file = folder.File("A.ekb");
        const Text aside = file + ".previous";
        if (c.previousExists) {
            ASSERT_TRUE(WriteWholeFile(file, "previous"));
        }

        PreviousBackup previous;
        ASSERT_TRUE(previous.SetAside(file));
        EXPECT_EQ(previous.HasPrevious(), c.previousExists);
        EXPECT_FALSE(FileExists(file)) << "the tool must find the path free";
        if (c.toolWrites) {
            ASSERT_TRUE(WriteWholeFile(file, "new"));
        }

        EXPECT_EQ(previous.Settle(c.toolFinished), c.expectWritten);
        EXPECT_EQ(FileExists(file), !c.expectFile.empty());
        EXPECT_EQ(ReadWholeFile(file), c.expectFile);
        EXPECT_EQ(FileExists(aside), !c.expectAside.empty());
        EXPECT_EQ(ReadWholeFile(aside), c.expectAside);
    }
}

TEST(PreviousBackupTest, NeverOverwritesACopyLeftByAnEarlierPass) {
    ScratchFolder folder;
    const Text file = folder.File("A.ekb");
    ASSERT_TRUE(WriteWholeFile(file + ".previous", "left over"));
    ASSERT_TRUE(WriteWholeFile(file, "previous"));
    PreviousBackup previous;
    ASSERT_TRUE(previous.SetAside(file));
    EXPECT_EQ(ReadWholeFile(file + ".previous"), "left over");
    EXPECT_EQ(ReadWholeFile(file + ".previous2"), "previous");
    EXPECT_FALSE(previous.Settle(true));
    EXPECT_EQ(ReadWholeFile(file), "previous");
    EXPECT_FALSE(FileExists(file + ".previous2"));
}

TEST(PreviousBackupTest, RefusesWhenThePreviousFileCannotBeMoved) {
    ScratchFolder folder;
    const Text file = folder.File("A.ekb");
    ASSERT_TRUE(WriteWholeFile(file, "previous"));
    UniqueFileHandle holder(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    PreviousBackup previous;
    EXPECT_FALSE(previous.SetAside(file));
    holder.reset();
    EXPECT_EQ(ReadWholeFile(file), "previous");
    EXPECT_FALSE(FileExists(file + ".previous"));
}

}  // namespace
