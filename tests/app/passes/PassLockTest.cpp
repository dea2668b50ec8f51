// The lock one copy of the program holds while it runs passes on a program folder: a file there,
// held open without sharing. Another copy is played by another lock object on the same folder;
// what Windows answers where Wine answers otherwise comes from a stand-in opener.

#include "app/passes/PassLock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/support/TestPaths.h"

namespace {

TEST(PassLockTest, HeldTheFileKeepsOtherCopiesOutByEverySpellingAndGoesWithTheLock) {
    ScratchFolder folder;
    ScratchFolder other;
    const Text path = folder.Path();
    const Text file = PassLockPath(path);
    PassLock lock(path);
    ASSERT_EQ(lock.Acquire(), PassLockResult::Held);
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(lock.Acquire(), PassLockResult::Held) << "held already";
    EXPECT_TRUE(FileExists(file));

    Text upper = path;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    Text slashes = path;
    for (char& c : slashes) {
        if (c == '\\')
            c = '/';
    }
    char shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath), 0u);
    struct Case {
        const char* name;
        Text spelling;
    };
    const Case cases[] = {
        {"letter case and a closing separator", upper + "\\"},
        {"forward slashes", slashes},
        {"a detour through the parent", path + "\\..\\" + path.substr(path.rfind('\\') + 1)},
        {"the short name", shortPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.name) + ": " + c.spelling);
        EXPECT_EQ(PassLock(c.spelling).Acquire(), PassLockResult::HeldElsewhere);
    }
    EXPECT_EQ(PassLock(other.Path()).Acquire(), PassLockResult::Held) << "another program folder has a lock of its own";
    // Nothing can open the file meanwhile, whatever sharing it offers.
    UniqueFileHandle reader(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(reader);

    lock.Release();
    EXPECT_FALSE(lock.Held());
    EXPECT_FALSE(FileExists(file)) << "the file goes with the lock";
    EXPECT_EQ(PassLock(path).Acquire(), PassLockResult::Held);
    EXPECT_TRUE(FilesIn(path).empty());
}

// Should the system ever leave the file behind (it deletes it when the last handle closes, a
// crashed copy's included), nobody holds it, and it is taken.
TEST(PassLockTest, ALockFileNobodyHoldsIsTaken) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(PassLockPath(folder.Path()), "left behind"));
    PassLock lock(folder.Path());
    EXPECT_EQ(lock.Acquire(), PassLockResult::Held);
    lock.Release();
    EXPECT_FALSE(FileExists(PassLockPath(folder.Path())));
}

// Opens the lock file with the answers of `lockAnswers` in turn (the last one for every later try;
// 0 opens it for real) and every other file, the probe of the folder, with `probeAnswer`.
struct ScriptedOpener {
    Text lockPath;
    std::vector<DWORD> lockAnswers;
    DWORD probeAnswer = 0;
    int lockTries = 0;
    int probes = 0;

    UniqueFileHandle Open(const Text& path, DWORD& error) {
        DWORD answer = probeAnswer;
        if (path == lockPath) {
            answer = lockAnswers[std::min<size_t>(lockTries, lockAnswers.size() - 1)];
            ++lockTries;
        } else {
            ++probes;
        }
        if (answer == 0)
            return OpenLockFile(path, error);
        error = answer;
        return UniqueFileHandle();
    }
};

// What each answer of the system means. Windows answers "access denied" for a file that waits to
// be deleted, Wine a sharing violation; neither can be made here at will, nor a folder that takes
// no file (the tests run as root, who may write anywhere).
TEST(PassLockTest, TheSystemsAnswerTellsAnotherCopyFromAFolderThatTakesNoFile) {
    struct Case {
        const char* name;
        std::vector<DWORD> lockAnswers;
        bool lockFileThere;
        DWORD probeAnswer;
        PassLockResult expected;
        bool triedAgain;
    };
    const Case cases[] = {
        {"a sharing violation: another copy holds it", {ERROR_SHARING_VIOLATION}, true, 0,
         PassLockResult::HeldElsewhere, false},
        {"access denied on a lock file that stays", {ERROR_ACCESS_DENIED}, true, 0, PassLockResult::HeldElsewhere,
         true},
        {"access denied until the file waiting to be deleted is gone",
         {ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 0}, false, 0, PassLockResult::Held, true},
        {"access denied, and the folder takes no file either", {ERROR_ACCESS_DENIED}, false, ERROR_ACCESS_DENIED,
         PassLockResult::FolderNotWritable, true},
        {"a write-protected medium", {ERROR_WRITE_PROTECT}, false, ERROR_WRITE_PROTECT,
         PassLockResult::FolderNotWritable, false},
        {"access denied to this one name in a folder that takes files", {ERROR_ACCESS_DENIED}, false, 0,
         PassLockResult::HeldElsewhere, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        if (c.lockFileThere) {
            ASSERT_TRUE(WriteWholeFile(PassLockPath(folder.Path()), ""));
        }
        ScriptedOpener opener{PassLockPath(folder.Path()), c.lockAnswers, c.probeAnswer};
        PassLock lock(folder.Path(), [&](const Text& path, DWORD& error) { return opener.Open(path, error); });
        EXPECT_EQ(lock.Acquire(), c.expected);
        EXPECT_EQ(lock.Held(), c.expected == PassLockResult::Held);
        EXPECT_EQ(opener.lockTries > 1, c.triedAgain) << opener.lockTries << " tries";
        lock.Release();
        DeleteFileA(PassLockPath(folder.Path()).c_str());
        EXPECT_TRUE(FilesIn(folder.Path()).empty()) << "the probe leaves no file";
    }
}

}  // namespace
