// The lock one copy of the program holds while it runs passes on a program folder. Another copy
// is played by another thread: a mutex belongs to the thread that took it.

#include "app/PassLock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <future>

#include "tests/support/TestPaths.h"

namespace {

// Acquire on a thread of its own, as another copy would; the thread lets go as it ends.
bool AcquiredElsewhere(const Text& folder) {
    return std::async(std::launch::async, [&] { return PassLock(folder).Acquire(); }).get();
}

TEST(PassLockTest, EverySpellingOfOneFolderGivesOneLockAndOtherFoldersOthers) {
    ScratchFolder folder;
    ScratchFolder other;
    const Text path = folder.Path();
    Text upper = path;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    Text slashes = path;
    for (char& c : slashes) {
        if (c == '\\')
            c = '/';
    }
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);

    const Text name = PassLockNameOf(path);
    struct Case {
        const char* name;
        Text spelling;
        bool same;
    };
    const Case cases[] = {
        {"letter case", upper, true},
        {"a closing separator", path + "\\", true},
        {"forward slashes", slashes, true},
        {"a detour through the parent", path + "\\..\\" + path.substr(path.rfind('\\') + 1), true},
        {"the short name", shortPath, true},
        {"another folder", other.Path(), false},
        {"a folder inside it", path + "\\sub", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.name) + ": " + c.spelling);
        EXPECT_EQ(PassLockNameOf(c.spelling) == name, c.same);
    }
    EXPECT_EQ(PassLockNameOf("C:\\"), PassLockNameOf("c:/"));
}

TEST(PassLockTest, HeldByOneCopyTheLockKeepsOthersOnTheSameFolderOut) {
    ScratchFolder folder;
    ScratchFolder other;
    PassLock lock(folder.Path());
    ASSERT_TRUE(lock.Acquire());
    EXPECT_TRUE(lock.Held());
    EXPECT_TRUE(lock.Acquire()) << "held already";

    Text upper = folder.Path();
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_FALSE(AcquiredElsewhere(folder.Path()));
    EXPECT_FALSE(AcquiredElsewhere(upper + "\\"));
    EXPECT_TRUE(AcquiredElsewhere(other.Path())) << "another program folder has a lock of its own";

    lock.Release();
    EXPECT_FALSE(lock.Held());
    EXPECT_TRUE(AcquiredElsewhere(folder.Path()));
}

TEST(PassLockTest, ALockLeftByACopyThatEndedCanBeTaken) {
    ScratchFolder folder;
    // Another copy's thread takes the lock and ends without letting go; its handle stays open here.
    auto left = std::async(std::launch::async, [&] {
        auto lock = std::make_unique<PassLock>(folder.Path());
        EXPECT_TRUE(lock->Acquire());
        return lock;
    }).get();
    ASSERT_TRUE(left->Held());
    PassLock lock(folder.Path());
    EXPECT_TRUE(lock.Acquire());
}

}  // namespace
