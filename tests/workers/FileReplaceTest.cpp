#include "workers/FileReplace.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "common/portable/StopSignal.h"
#include "tests/support/TestPaths.h"

namespace {

// What the system answers to a replace comes through the seam: a virus scanner or the indexer
// holds a file for moments that reach seconds, so "access denied" and "sharing violation" are
// tried again for about five seconds (eleven attempts); any other answer ends the replace at once.
TEST(FileReplaceTest, TriesBusyAnswersAgainForSecondsAndNothingElse) {
    struct Case {
        const char* name;
        int failures;
        DWORD error;
        ReplaceResult result;
    } cases[] = {
        {"sharing violation, as long as the retries go", 10, ERROR_SHARING_VIOLATION, ReplaceResult::Replaced},
        {"access denied, twice", 2, ERROR_ACCESS_DENIED, ReplaceResult::Replaced},
        {"sharing violation, beyond the retries", 11, ERROR_SHARING_VIOLATION, ReplaceResult::Failed},
        {"any other answer, once", 1, ERROR_DISK_FULL, ReplaceResult::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text from = folder.File("new.tmp");
        const Text to = folder.File("A.ekb");
        ASSERT_TRUE(WriteWholeFile(from, "new"));
        ASSERT_TRUE(WriteWholeFile(to, "old"));
        InjectReplaceFailures(c.failures, c.error);
        EXPECT_EQ(ReplaceFileInOneStep(from, to), c.result);
        InjectReplaceFailures(0, 0);

        const bool replaced = c.result == ReplaceResult::Replaced;
        EXPECT_EQ(ReadWholeFile(to), replaced ? "new" : "old");
        EXPECT_EQ(FileExists(from), !replaced);
    }
}

// A pass that is stopped does not wait out the retries.
TEST(FileReplaceTest, AStopEndsTheRetries) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("new.tmp"), "new"));
    auto stop = std::make_shared<StopSignal>();
    stop->Request();
    ScopedThreadStopSignal stopOnThisThread(stop);
    InjectReplaceFailures(1, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ReplaceFileInOneStep(folder.File("new.tmp"), folder.File("A.ekb")), ReplaceResult::Failed);
    InjectReplaceFailures(0, 0);
    EXPECT_FALSE(FileExists(folder.File("A.ekb")));
}

// Windows refuses to replace a read-only file, Wine replaces it: either way it is left alone, and
// the answer says why.
TEST(FileReplaceTest, LeavesAReadOnlyFileAlone) {
    ScratchFolder folder;
    const Text to = folder.File("A.ekb");
    ASSERT_TRUE(WriteWholeFile(folder.File("new.tmp"), "new"));
    ASSERT_TRUE(WriteWholeFile(to, "old"));
    ASSERT_TRUE(SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ReplaceFileInOneStep(folder.File("new.tmp"), to), ReplaceResult::TargetReadOnly);
    EXPECT_EQ(ReadWholeFile(to), "old");
    EXPECT_EQ(ReadWholeFile(folder.File("new.tmp")), "new");
}

}  // namespace
