// Stop, and two passes at once: the passes on real threads against the real stand-in tool.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <future>
#include <random>
#include <thread>

#include "common/portable/TextOps.h"
#include "tests/support/StandInBackupFile.h"
#include "tests/support/TestPaths.h"
#include "tests/support/ToolForPasses.h"
#include "tests/workers/FakePassHost.h"
#include "tests/workers/PassLogLines.h"
#include "workers/BackupWorker.h"
#include "workers/ManifestFile.h"
#include "workers/RestoreWorker.h"
#include "workers/portable/PassTexts.h"

namespace {

using namespace std::chrono_literals;

// Starts `worker` on a thread of its own; the future is ready, with how the pass ended, when the
// thread has ended.
template <typename Worker>
std::future<PassResult> StartPass(Worker worker, std::shared_ptr<ToolCommands> commands,
                                  std::shared_ptr<FakePassHost> host) {
    return std::async(std::launch::async, worker, std::move(commands), std::move(host));
}

bool WaitForLogLine(FakePassHost& host, const Text& line, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        for (const Text& logged : host.Log()) {
            if (logged == line)
                return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

class PassStopTest : public ::testing::Test {
protected:
    Text BackupFile(const Text& stem) const { return backups_.File(stem + kBackupFileExt); }

    ToolForPasses tool_;
    ScratchFolder program_;
    ScratchFolder backups_;
};

TEST_F(PassStopTest, AStoppedBackupLeavesTheHangingToolAndDoesNothingMore) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    ASSERT_TRUE(WriteWholeFile(BackupFile("A"), "previous A"));
    ASSERT_TRUE(WriteWholeFile(ManifestPath(program_.Path()), "previous\tmanifest\r\n"));
    ASSERT_TRUE(tool_.HangOnBackup());
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    std::future<PassResult> pass = StartPass(BackupWorker, tool_.Commands(), host);
    ASSERT_TRUE(WaitForLogLine(*host, EntryLine("A", kBackupStartText, 1, 2), 20s));
    std::this_thread::sleep_for(300ms);  // the tool has started and hangs

    host->RequestStop();
    // The pass gives up on the hanging tool instead of waiting for it.
    ASSERT_EQ(pass.wait_for(20s), std::future_status::ready);

    EXPECT_EQ(pass.get(), PassResult::NotDone);
    EXPECT_TRUE(host->StopNoticed());
    EXPECT_EQ(host->CallsAfterStopNoticed(), 0);
    EXPECT_EQ(host->Log().size(), 2u) << "nothing logged after the entry that was running";
    EXPECT_TRUE(host->Buttons().empty()) << "the Stop handler sets the buttons, not the pass";
    EXPECT_EQ(ReadWholeFile(ManifestPath(program_.Path())), "previous\tmanifest\r\n");
    // The tool may have written its new file before it hung: the pass cannot know that it ended,
    // so the previous backup stays in its place.
    EXPECT_EQ(ReadWholeFile(BackupFile("A")), "previous A");
    tool_.EndProcesses();
}

// A tool that writes its backup file in place, stopped half-way: the half file must never stand
// under the backup file's name, and the next pass clears it away.
TEST_F(PassStopTest, AStopWhileTheToolWritesLeavesThePreviousBackupUnderItsName) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    ASSERT_TRUE(WriteWholeFile(BackupFile("A"), "previous A"));
    ASSERT_TRUE(WriteWholeFile(BackupFile("B"), "previous B"));
    ASSERT_TRUE(tool_.SetFaults("backup-torn\r\n"));
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    std::future<PassResult> pass = StartPass(BackupWorker, tool_.Commands(), host);
    // The tool has written half a file somewhere in the folder and hangs.
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!FolderHoldsTornBackup(backups_.Path()) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(FolderHoldsTornBackup(backups_.Path()));

    host->RequestStop();
    ASSERT_EQ(pass.wait_for(20s), std::future_status::ready);
    EXPECT_EQ(host->CallsAfterStopNoticed(), 0);
    EXPECT_EQ(ReadWholeFile(BackupFile("A")), "previous A");
    EXPECT_EQ(ReadWholeFile(BackupFile("B")), "previous B");
    EXPECT_EQ(FilesIn(backups_.Path()).size(), 3u) << "the two backups and the half-written new one";

    tool_.EndProcesses();
    ASSERT_TRUE(tool_.ClearFaults());
    auto next = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    StartPass(BackupWorker, tool_.Commands(), next).wait();
    EXPECT_EQ(next->Log().back(), BackupDoneLine(2));
    EXPECT_TRUE(tool_.BackupHolds(BackupFile("A"), "A"));
    EXPECT_TRUE(tool_.BackupHolds(BackupFile("B"), "B"));
    EXPECT_EQ(FilesIn(backups_.Path()).size(), 2u) << "the half-written file is gone";
}

TEST_F(PassStopTest, AStoppedRestoreLeavesItsButtonAndLogsNothingMore) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    {
        auto backup = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        StartPass(BackupWorker, tool_.Commands(), backup).wait();
    }
    ASSERT_TRUE(tool_.HangOnRestore());
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    std::future<PassResult> pass = StartPass(RestoreWorker, tool_.Commands(), host);
    ASSERT_TRUE(WaitForLogLine(*host, EntryLine("A", kRestoreExistsText, 1, 2), 20s));
    std::this_thread::sleep_for(300ms);

    host->RequestStop();
    ASSERT_EQ(pass.wait_for(20s), std::future_status::ready);

    EXPECT_EQ(pass.get(), PassResult::NotDone);
    EXPECT_TRUE(host->StopNoticed());
    EXPECT_EQ(host->CallsAfterStopNoticed(), 0);
    EXPECT_EQ(host->Log().size(), 2u);
    EXPECT_EQ(host->Buttons(), (std::vector<FakePassHost::ButtonChange>{{PassButton::Restore, false}}));
    tool_.EndProcesses();
}

// Fifty stops at random moments, in five groups of ten so that each group is a test of its own.
class RandomStopTest : public PassStopTest, public ::testing::WithParamInterface<int> {};

TEST_P(RandomStopTest, NeverLosesAPreviousBackup) {
    const std::vector<Text> names = {"A", "B", "C"};
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    std::mt19937 random(20261210 + GetParam());
    // A whole pass logs 8 lines; Stop comes a random moment after a random one of them, so it
    // lands in listings, backups, pauses and the manifest step alike.
    std::uniform_int_distribution<int> afterLine(1, 8);
    std::uniform_int_distribution<int> delayMs(0, 250);
    for (int round = 1; round <= 10; ++round) {
        SCOPED_TRACE("round " + IntToText(round));
        for (const Text& name : names)
            ASSERT_TRUE(WriteWholeFile(BackupFile(name), "previous " + name));
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        host->realPauses = (round % 2) == 0;
        const int stopAfter = afterLine(random);
        std::atomic<int> lines{0};
        host->afterLog = [&](FakePassHost&, const Text&) { ++lines; };

        std::future<PassResult> pass = StartPass(BackupWorker, tool_.Commands(), host);
        while (lines < stopAfter && pass.wait_for(2ms) != std::future_status::ready) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        host->RequestStop();
        ASSERT_EQ(pass.wait_for(30s), std::future_status::ready);
        EXPECT_EQ(host->CallsAfterStopNoticed(), 0);

        for (const Text& name : names) {
            SCOPED_TRACE(name);
            // Either the previous backup is in place, or the complete new one is.
            const Text content = ReadWholeFile(BackupFile(name));
            EXPECT_TRUE(content == "previous " + name || tool_.BackupHolds(BackupFile(name), name))
                << "backup file holds: " << content;
        }
    }

    // A pass after the tools that Stop left behind have ended leaves the backup files alone in the folder.
    ASSERT_TRUE(tool_.WaitForToolsToEnd(30000));
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    StartPass(BackupWorker, tool_.Commands(), host).wait();
    EXPECT_EQ(host->Log().back(), BackupDoneLine(3));
    EXPECT_EQ(FilesIn(backups_.Path()).size(), names.size()) << ::testing::PrintToString(FilesIn(backups_.Path()));
}

INSTANTIATE_TEST_SUITE_P(FiftyStops, RandomStopTest, ::testing::Range(0, 5));

TEST_F(PassStopTest, ABackupAndARestoreRunAtOnceWithoutDisturbingEachOther) {
    ASSERT_TRUE(tool_.Seed({{"A", "a"}, {"B", "b"}, {"C", "c"}, {"D", "d"}}));
    // The restore works from a manifest of its own, made earlier.
    ScratchFolder restoreProgram;
    ScratchFolder restoreBackups;
    {
        auto earlier = std::make_shared<FakePassHost>(restoreProgram.Path(), restoreBackups.Path());
        StartPass(BackupWorker, tool_.Commands(), earlier).wait();
    }
    auto backupHost = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    auto restoreHost = std::make_shared<FakePassHost>(restoreProgram.Path(), restoreBackups.Path());
    backupHost->realPauses = restoreHost->realPauses = true;
    std::future<PassResult> backup = StartPass(BackupWorker, tool_.Commands(), backupHost);
    std::future<PassResult> restore = StartPass(RestoreWorker, tool_.Commands(), restoreHost);
    ASSERT_EQ(backup.wait_for(60s), std::future_status::ready);
    ASSERT_EQ(restore.wait_for(60s), std::future_status::ready);

    // Each pass saw the tool's four entries in its own list: every entry was found where it was
    // looked for, none was created, and the backup went through all four.
    const std::vector<Text> backupLog = backupHost->Log();
    ASSERT_FALSE(backupLog.empty());
    EXPECT_EQ(backupLog.back(), BackupDoneLine(4));
    EXPECT_EQ(backupLog.size(), 10u);
    const std::vector<Text> restoreLog = restoreHost->Log();
    ASSERT_FALSE(restoreLog.empty());
    EXPECT_EQ(restoreLog.back(), RestoreSummaryLine(4, 0));
    for (const Text& line : restoreLog)
        EXPECT_EQ(line.find(kRestoreCreateText), Text::npos) << line;
    EXPECT_EQ(restoreHost->Pauses(), (std::vector<int>{100, 50, 100, 50, 50, 100, 50, 50, 50, 100}));
    EXPECT_EQ(tool_.ListedNames(), (std::vector<Text>{"A", "B", "C", "D"}));
    for (const char* name : {"A", "B", "C", "D"})
        EXPECT_TRUE(tool_.BackupHolds(BackupFile(name), name)) << name;
}

}  // namespace
